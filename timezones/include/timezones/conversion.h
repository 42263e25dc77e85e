#pragma once
// Local time in a zone <-> UTC, by the zone's two yearly rules. Instants are
// std::chrono::sys_seconds and wall times local_seconds, so that one cannot be passed for
// the other; dates are read off them as year_month_day.
//
// Example: New York (Bias 300, DaylightBias -60, second Sunday of March 02:00 to
// first Sunday of November 02:00): UtcToZone(2026-03-08 07:00:00 UTC) = 03:00:00 EDT,
// one second earlier = 01:59:59 EST.

#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/platform.h"

namespace tessaron {

// Days from 1970-01-01 to day `day` of month `month` of `year`, months rolling into years
// and days into months: (2026, 13, 1) is 2027-01-01, (2026, 3, 0) is 2026-02-28.
constexpr std::chrono::days rolledDays(int year, int month, int day) {
  using namespace std::chrono;
  const year_month ym = std::chrono::year{year} / January + months{month - 1};
  return (sys_days{ym / 1} + days{day - 1}).time_since_epoch();
}
constexpr std::chrono::local_days localDate(int year, int month, int day) {
  return std::chrono::local_days{rolledDays(year, month, day)};
}
constexpr std::chrono::sys_days utcDate(int year, int month, int day) {
  return std::chrono::sys_days{rolledDays(year, month, day)};
}
// The calendar year of an instant or of a wall time.
template <class Clock>
int yearOf(std::chrono::time_point<Clock, std::chrono::seconds> t) {
  using namespace std::chrono;
  return static_cast<int>(year_month_day{local_days{floor<days>(t).time_since_epoch()}}.year());
}
// How many days month M [1:12] of year Y has.
int monthDays(int Y, int M);

// The design's day zero, 1899-12-30: what a rule without a month falls on.
constexpr ZoneTime kDayZero{std::chrono::local_days{std::chrono::year{1899} / 12 / 30}};

// Midnight of the M-th month's N-th weekday W of year Y (0 = Sunday; N = 5, or more than
// the month holds, means the last); kDayZero for month 0.
ZoneTime NthWeekdayOfMonth(int Y, int M, int W, int N);
// Midnight of the day on which `rule` falls in year Y.
ZoneTime TransitionDay(const TransitionRule& rule, int Y);

// A year's two changes as the zone's rules write them: `start` in standard wall time,
// `end` in daylight wall time. Nothing when the zone has no daylight time.
struct DaylightChanges {
  ZoneTime start;  // D: daylight begins
  ZoneTime end;    // S: standard time begins again
};
std::optional<DaylightChanges> daylightChanges(const ZoneRules& zone, int Y);

// Whether a zone-local time lies strictly between the daylight start and the standard start.
bool IsDaylightTime(ZoneTime t, const ZoneRules& zone);

// A wall time is lived once, never (the clocks went forward over it) or twice (they went
// back over it): the instants it stands for, and which of the three it is.
//
// Example, New York in 2026: 12:00 on 1 July is {Unique, 16:00 UTC, 16:00 UTC}; 02:30 on
// 8 March is {Skipped, 07:30 UTC by EST, 06:30 UTC by EDT}; 01:30 on 1 November is
// {Repeated, 05:30 UTC (EDT, the first pass), 06:30 UTC (EST, the second)}.
struct WallTimeLookup {
  enum class Kind { Unique, Skipped, Repeated };
  Kind kind = Kind::Unique;
  // Unique: the instant, twice. Repeated: the first pass and the second. Skipped: the
  // instants by the offset before the gap and by the one after it, neither of which
  // shows this wall time.
  UtcTime pre;
  UtcTime post;

  bool operator==(const WallTimeLookup&) const = default;
};
WallTimeLookup lookUpWallTime(ZoneTime t, const ZoneRules& zone);
// Decided by the instant itself: daylight from the daylight start up to, not including,
// the standard start, both compared in the zone's standard time.
ZoneTime UtcToZone(UtcTime t, const ZoneRules& zone);

}  // namespace tessaron
