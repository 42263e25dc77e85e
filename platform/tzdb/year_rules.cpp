#include "platform/tzdb/year_rules.h"

#include <algorithm>
#include <string>
#include <vector>

#include "timezones/conversion.h"

namespace tessaron::tzdb {

namespace {

// Beyond this many offsets in one year only the no-daylight candidates are weighed; real
// zones have at most a handful.
constexpr std::size_t kMaxPeriodsForPairs = 32;

struct Period {
  UtcTime start;
  UtcTime end;  // exclusive
  UtcOffset offset;
  std::string name;
};

struct Candidate {
  std::int64_t right = -1;  // seconds of the year at the file's offset
  UtcOffset standard;
  UtcOffset daylight;  // above `standard`; unused without pair
  bool hasDaylight = false;
  UtcTime daylightStart;
  UtcTime daylightEnd;
  std::string daylightName;
};

// The periods of one offset each, neighbours merged when only the name or flag changes.
std::vector<Period> periodsOf(const YearTimeline& t) {
  std::vector<Period> periods{{t.begin, t.end, t.initial.utcOffset, t.initial.abbreviation}};
  for (const OffsetChange& c : t.changes) {
    if (c.to.utcOffset == periods.back().offset) continue;
    periods.back().end = c.at;
    periods.push_back({c.at, t.end, c.to.utcOffset, c.to.abbreviation});
  }
  return periods;
}

// Seconds in [from, to) that the periods spend at `offset`.
std::int64_t timeAt(const std::vector<Period>& periods, UtcTime from, UtcTime to,
                    UtcOffset offset) {
  std::int64_t total = 0;
  for (const Period& p : periods) {
    if (p.offset != offset) continue;
    const UtcTime a = std::max(from, p.start);
    const UtcTime b = std::min(to, p.end);
    if (a < b) total += secondsBetween(a, b);
  }
  return total;
}

// The weekday-form rule for the wall date and time of `at` at `offset`.
TransitionRule weekdayRule(UtcTime at, UtcOffset offset, int& wallYear) {
  using namespace std::chrono;
  const ZoneTime wall = wallTimeAt(at, offset);
  const local_days date = floor<days>(wall);
  const year_month_day ymd{date};
  const hh_mm_ss<seconds> time{wall - date};
  const int year = static_cast<int>(ymd.year());
  const int month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  const int day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  wallYear = year;
  TransitionRule r;
  r.Month = static_cast<std::uint16_t>(month);
  r.DayOfWeek = static_cast<std::uint16_t>(weekday{date}.c_encoding());
  r.Day = static_cast<std::uint16_t>(day + 7 > monthDays(year, month) ? 5 : (day - 1) / 7 + 1);
  r.Hour = static_cast<std::uint16_t>(time.hours().count());
  r.Minute = static_cast<std::uint16_t>(time.minutes().count());
  r.Second = static_cast<std::uint16_t>(time.seconds().count());
  return r;
}

void consider(Candidate c, Candidate& best) {
  if (c.right > best.right) best = std::move(c);
}

}  // namespace

YearRules rulesForYear(const YearTimeline& timeline) {
  const std::vector<Period> periods = periodsOf(timeline);
  const std::int64_t yearLength = secondsBetween(timeline.begin, timeline.end);

  Candidate best;
  // Pairs first, so that a pair as good as a fixed offset keeps the year's daylight time.
  if (periods.size() <= kMaxPeriodsForPairs) {
    for (std::size_t i = 1; i < periods.size(); ++i) {
      for (std::size_t j = i + 1; j < periods.size(); ++j) {
        const Period& inside = periods[i];
        // Outside the pair: the offset before it or the one after it.
        for (const Period* outside : {&periods[i - 1], &periods[j]}) {
          if (outside->offset == inside.offset) continue;
          Candidate c;
          c.right = timeAt(periods, inside.start, periods[j].start, inside.offset) +
                    timeAt(periods, timeline.begin, inside.start, outside->offset) +
                    timeAt(periods, periods[j].start, timeline.end, outside->offset);
          c.hasDaylight = true;
          const bool insideIsDaylight = inside.offset > outside->offset;
          c.standard = insideIsDaylight ? outside->offset : inside.offset;
          c.daylight = insideIsDaylight ? inside.offset : outside->offset;
          c.daylightStart = insideIsDaylight ? inside.start : periods[j].start;
          c.daylightEnd = insideIsDaylight ? periods[j].start : inside.start;
          c.daylightName = insideIsDaylight ? inside.name : outside->name;
          consider(std::move(c), best);
        }
      }
    }
  }
  // No daylight time, at the offset that holds longest; at a tie the later one.
  for (auto p = periods.rbegin(); p != periods.rend(); ++p) {
    Candidate c;
    c.right = timeAt(periods, timeline.begin, timeline.end, p->offset);
    c.standard = p->offset;
    consider(std::move(c), best);
  }

  YearRules out;
  ZoneRecord& r = out.record;
  const std::int32_t standardMinutes = minutesOf(best.standard);
  r.Bias = -standardMinutes;
  bool wallsInYear = true;
  if (best.hasDaylight) {
    r.DaylightBias = standardMinutes - minutesOf(best.daylight);
    int startYear = 0;
    int endYear = 0;
    r.DaylightDate = weekdayRule(best.daylightStart, best.standard, startYear);
    r.StandardDate = weekdayRule(best.daylightEnd, best.daylight, endYear);
    r.Dlt = best.daylightName;
    wallsInYear = startYear == timeline.year && endYear == timeline.year;
  }
  out.wrongSeconds = yearLength - best.right;
  const bool wholeMinutes =
      best.standard.count() % 60 == 0 && (!best.hasDaylight || best.daylight.count() % 60 == 0);
  out.exact = out.wrongSeconds == 0 && wallsInYear && wholeMinutes;
  return out;
}

}  // namespace tessaron::tzdb
