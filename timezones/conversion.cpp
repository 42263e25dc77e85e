#include "timezones/conversion.h"

#include <algorithm>

namespace tessaron {

namespace {

std::chrono::seconds ruleTime(const TransitionRule& rule) {
  return std::chrono::seconds(rule.Hour * 3600 + rule.Minute * 60 + rule.Second);
}

}  // namespace

int monthDays(int Y, int M) {
  return static_cast<int>((rolledDays(Y, M + 1, 1) - rolledDays(Y, M, 1)).count());
}

ZoneTime NthWeekdayOfMonth(int Y, int M, int W, int N) {
  using namespace std::chrono;
  std::int16_t count = 0;
  ZoneTime found = kDayZero;
  for (int d = 1; d <= 31; ++d) {
    const local_days date = localDate(Y, M, d);
    if (static_cast<int>(static_cast<unsigned>(year_month_day{date}.month())) > M) break;
    if (static_cast<int>(weekday{date}.c_encoding()) == W) {
      ++count;
      found = ZoneTime{date};
      if (count == N) break;
    }
  }
  return found;
}

ZoneTime TransitionDay(const TransitionRule& rule, int Y) {
  if (rule.Year != 0) return ZoneTime{localDate(Y, rule.Month, rule.Day)};
  return NthWeekdayOfMonth(Y, rule.Month, rule.DayOfWeek, rule.Day);
}

std::optional<DaylightChanges> daylightChanges(const ZoneRules& zone, int Y) {
  if (zone.StandardDate.Month == 0 || zone.DaylightDate.Month == 0) return std::nullopt;
  return DaylightChanges{TransitionDay(zone.DaylightDate, Y) + ruleTime(zone.DaylightDate),
                         TransitionDay(zone.StandardDate, Y) + ruleTime(zone.StandardDate)};
}

bool IsDaylightTime(ZoneTime t, const ZoneRules& zone) {
  const auto changes = daylightChanges(zone, yearOf(t));
  if (!changes) return false;
  const ZoneTime D = changes->start;
  const ZoneTime S = changes->end;
  if (D < S) return D < t && t < S;
  return t > D || t < S;
}

WallTimeLookup lookUpWallTime(ZoneTime t, const ZoneRules& zone) {
  // The wall time by each offset the zone keeps; an offset that gives an instant the rules
  // show as this very wall time is one pass of it.
  const UtcOffset standard = offsetOfBias(zone.Bias);
  const UtcOffset daylight = offsetOfBias(zone.Bias + zone.DaylightBias);
  const UtcOffset high = std::max(standard, daylight), low = std::min(standard, daylight);
  const UtcTime early = instantOfWall(t, high), late = instantOfWall(t, low);
  const bool earlyShows = UtcToZone(early, zone) == t;
  const bool lateShows = UtcToZone(late, zone) == t;
  if (earlyShows && lateShows && high != low) {
    return {WallTimeLookup::Kind::Repeated, early, late};
  }
  if (earlyShows) return {WallTimeLookup::Kind::Unique, early, early};
  if (lateShows) return {WallTimeLookup::Kind::Unique, late, late};
  // Forward over it: before the gap the lower offset held, after it the higher one.
  return {WallTimeLookup::Kind::Skipped, late, early};
}

ZoneTime UtcToZone(UtcTime t, const ZoneRules& zone) {
  const ZoneTime standard = wallTimeAt(t, offsetOfBias(zone.Bias));
  bool daylight = false;
  if (const auto changes = daylightChanges(zone, yearOf(standard))) {
    const ZoneTime D = changes->start;
    // The standard start is given in daylight wall time; in standard time it is
    // DaylightBias minutes later (earlier for the usual negative bias).
    const ZoneTime S = changes->end - offsetOfBias(zone.DaylightBias);
    daylight = D < S ? (D <= standard && standard < S) : (standard >= D || standard < S);
  }
  return daylight ? standard + offsetOfBias(zone.DaylightBias) : standard;
}

}  // namespace tessaron
