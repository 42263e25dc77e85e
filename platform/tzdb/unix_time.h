#pragma once
// Unix seconds (what zone files count in) next to the core's date serial seconds (from
// 1899-12-30), and offsets from UTC: three kinds of seconds, three types.
// Example: 2026-03-08 07:00:00 UTC is UnixTime{1772953200}, UtcTime{3982114800}; with
// UtcOffset{-14400} (EDT) its wall time is ZoneTime{3982100400}, 03:00:00.

#include <compare>
#include <cstdint>

#include "timezones/conversion.h"

namespace tessaron::tzdb {

// Seconds since 1970-01-01 00:00 UTC.
struct UnixTime {
  std::int64_t seconds = 0;
  auto operator<=>(const UnixTime&) const = default;
};

constexpr int kMinYear = 1;  // years this reader works in
constexpr int kMaxYear = 9999;

inline UnixTime unixFromSerial(UtcTime t) { return {t.seconds - kUnixEpochSerial}; }
inline UtcTime serialFromUnix(UnixTime t) { return {t.seconds + kUnixEpochSerial}; }

// To the nearest minute, half a minute up: only local mean time has seconds in its offset.
inline std::int32_t minutesOf(UtcOffset offset) {
  const std::int32_t shifted = offset.count() + 30;
  return shifted / 60 - (shifted % 60 != 0 && shifted < 0 ? 1 : 0);
}

// The wall time at `offset` of an instant, and back.
inline ZoneTime wallTime(UnixTime t, UtcOffset offset) {
  return {t.seconds + kUnixEpochSerial + offset.count()};
}
inline UnixTime instantOfWall(ZoneTime wall, UtcOffset offset) {
  return {wall.seconds - kUnixEpochSerial - offset.count()};
}

// How many seconds lie from `from` to `to`.
inline std::int64_t secondsBetween(UnixTime from, UnixTime to) { return to.seconds - from.seconds; }

// Midnight UTC of a date (out-of-range days roll over).
inline UnixTime unixMidnight(int year, int month, int day) {
  return unixFromSerial(UtcTime{dateSerialSeconds(year, month, day)});
}

inline bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace tessaron::tzdb
