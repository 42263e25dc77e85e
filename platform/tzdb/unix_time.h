#pragma once
// Unix seconds (what zone files count in) next to the core's date serial seconds (from
// 1899-12-30). Example: 2026-03-08 07:00:00 UTC is Unix 1772953200, serial 3982114800.

#include <cstdint>

#include "timezones/conversion.h"

namespace tessaron::tzdb {

constexpr std::int64_t kUnixEpochSerial = 25569LL * 86400;  // 1970-01-01 00:00 as a serial
constexpr int kMinYear = 1;                                 // years this reader works in
constexpr int kMaxYear = 9999;

inline std::int64_t unixFromSerial(std::int64_t serial) { return serial - kUnixEpochSerial; }
inline std::int64_t serialFromUnix(std::int64_t unix) { return unix + kUnixEpochSerial; }

// Midnight UTC of a date (out-of-range days roll over) in Unix seconds.
inline std::int64_t unixMidnight(int year, int month, int day) {
  return unixFromSerial(dateSerialSeconds(year, month, day));
}

inline bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace tessaron::tzdb
