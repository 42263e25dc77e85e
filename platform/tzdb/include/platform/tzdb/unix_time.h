#pragma once
// The reader's calendar: the years it works in, its instants' midnights, and offsets in
// whole minutes. Instants are the core's (std::chrono::sys_seconds, which zone files count
// in too) and wall times local_seconds.
// Example: 2026-03-08 07:00:00 UTC is utcMidnight(2026, 3, 8) + 7h; with UtcOffset{-14400}
// (EDT) its wall time is 03:00:00.

#include <chrono>
#include <cstdint>

#include "timezones/conversion.h"

namespace tessaron::tzdb {

constexpr int kMinYear = 1;  // years this reader works in
constexpr int kMaxYear = 9999;

// To the nearest minute, half a minute up: only local mean time has seconds in its offset.
inline std::int32_t minutesOf(UtcOffset offset) {
  const std::int32_t shifted = offset.count() + 30;
  return shifted / 60 - (shifted % 60 != 0 && shifted < 0 ? 1 : 0);
}

// How many seconds lie from `from` to `to`.
inline std::int64_t secondsBetween(UtcTime from, UtcTime to) { return (to - from).count(); }

// Midnight UTC of a date (out-of-range days roll over).
inline UtcTime utcMidnight(int year, int month, int day) { return utcDate(year, month, day); }

inline bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace tessaron::tzdb
