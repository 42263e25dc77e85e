#include "timezones/conversion.h"

#include <algorithm>

namespace tessaron {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 to 1899-12-30.
constexpr std::int64_t kEpochShift = -kUnixEpochSerial / kSecondsPerDay;

// Days since 1970-01-01 of a proleptic Gregorian date (after Howard Hinnant).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::int64_t ruleTime(const TransitionRule& rule) {
  return rule.Hour * 3600 + rule.Minute * 60 + rule.Second;
}

}  // namespace

std::int64_t dateSerialSeconds(int year, int month, int day, int hour, int minute, int second) {
  // Months roll into years, then days into months, as a date serial does.
  const std::int64_t m0 = static_cast<std::int64_t>(month) - 1;
  const std::int64_t y = year + floorDiv(m0, 12);
  const unsigned m = static_cast<unsigned>(m0 - floorDiv(m0, 12) * 12 + 1);
  const std::int64_t days = daysFromCivil(y, m, 1) + (day - 1) - kEpochShift;
  return days * kSecondsPerDay + static_cast<std::int64_t>(hour) * 3600 +
         static_cast<std::int64_t>(minute) * 60 + second;
}

CivilTime toCivil(std::int64_t seconds) {
  const std::int64_t days = floorDiv(seconds, kSecondsPerDay);
  const std::int64_t rest = seconds - days * kSecondsPerDay;
  CivilTime c{};
  civilFromDays(days + kEpochShift, c.year, c.month, c.day);
  c.hour = static_cast<int>(rest / 3600);
  c.minute = static_cast<int>(rest / 60 % 60);
  c.second = static_cast<int>(rest % 60);
  return c;
}

int weekday(std::int64_t seconds) {
  // 1899-12-30 was a Saturday.
  const std::int64_t days = floorDiv(seconds, kSecondsPerDay);
  return static_cast<int>(((days + 6) % 7 + 7) % 7);
}

int monthDays(int Y, int M) {
  return static_cast<int>((dateSerialSeconds(Y, M + 1, 1) - dateSerialSeconds(Y, M, 1)) /
                          kSecondsPerDay);
}

ZoneTime NthWeekdayOfMonth(int Y, int M, int W, int N) {
  std::int16_t count = 0;
  ZoneTime found{0};
  for (int d = 1; d <= 31; ++d) {
    const std::int64_t date = dateSerialSeconds(Y, M, d);
    if (toCivil(date).month > M) break;
    if (weekday(date) == W) {
      ++count;
      found = ZoneTime{date};
      if (count == N) break;
    }
  }
  return found;
}

ZoneTime TransitionDay(const TransitionRule& rule, int Y) {
  if (rule.Year != 0) return ZoneTime{dateSerialSeconds(Y, rule.Month, rule.Day)};
  return NthWeekdayOfMonth(Y, rule.Month, rule.DayOfWeek, rule.Day);
}

std::optional<DaylightChanges> daylightChanges(const ZoneRules& zone, int Y) {
  if (zone.StandardDate.Month == 0 || zone.DaylightDate.Month == 0) return std::nullopt;
  return DaylightChanges{
      ZoneTime{TransitionDay(zone.DaylightDate, Y).seconds + ruleTime(zone.DaylightDate)},
      ZoneTime{TransitionDay(zone.StandardDate, Y).seconds + ruleTime(zone.StandardDate)}};
}

bool IsDaylightTime(ZoneTime t, const ZoneRules& zone) {
  const auto changes = daylightChanges(zone, toCivil(t.seconds).year);
  if (!changes) return false;
  const std::int64_t D = changes->start.seconds;
  const std::int64_t S = changes->end.seconds;
  if (D < S) return D < t.seconds && t.seconds < S;
  return t.seconds > D || t.seconds < S;
}

WallTimeLookup lookUpWallTime(ZoneTime t, const ZoneRules& zone) {
  // The wall time by each offset the zone keeps; an offset that gives an instant the rules
  // show as this very wall time is one pass of it.
  const std::int64_t standard = offsetOfBias(zone.Bias).count();
  const std::int64_t daylight = offsetOfBias(zone.Bias + zone.DaylightBias).count();
  const std::int64_t high = std::max(standard, daylight), low = std::min(standard, daylight);
  const UtcTime early{t.seconds - high}, late{t.seconds - low};
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
  const std::int64_t standard = wallTimeAt(t, offsetOfBias(zone.Bias)).seconds;
  bool daylight = false;
  if (const auto changes = daylightChanges(zone, toCivil(standard).year)) {
    const std::int64_t D = changes->start.seconds;
    // The standard start is given in daylight wall time; in standard time it is
    // DaylightBias minutes later (earlier for the usual negative bias).
    const std::int64_t S = changes->end.seconds - offsetOfBias(zone.DaylightBias).count();
    daylight = D < S ? (D <= standard && standard < S) : (standard >= D || standard < S);
  }
  return ZoneTime{daylight ? standard + offsetOfBias(zone.DaylightBias).count() : standard};
}

}  // namespace tessaron
