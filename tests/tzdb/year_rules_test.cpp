// A year's changes as one pair of yearly rules: the hemispheres, negative daylight saving,
// rule hours outside the day, and the years no pair describes (the approximations, each
// the candidate right for the longest part of the year).

#include "platform/tzdb/year_rules.h"

#include <gtest/gtest.h>

#include "tests/tzdb/tzdb_test_support.h"
#include "tests/zone_rules.h"

namespace tessaron::tzdb::year_rules_test {
namespace {

using test::utc;

struct Change {
  UtcTime at;
  std::int32_t offset;  // seconds east of UTC
  bool isDaylight;
  const char* name;
};

YearTimeline timeline(int year, Change initial, const std::vector<Change>& changes) {
  YearTimeline t;
  t.year = year;
  t.begin = utc(year, 1, 1);
  t.end = utc(year + 1, 1, 1);
  t.initial = {UtcOffset{initial.offset}, initial.isDaylight, initial.name};
  for (const Change& c : changes) {
    t.changes.push_back({c.at, {UtcOffset{c.offset}, c.isDaylight, c.name}});
  }
  return t;
}

// {Month, DayOfWeek, Day, Hour, Minute, Second} of a weekday-form rule.
TransitionRule rule(int month, int dayOfWeek, int day, int hour, int minute = 0, int second = 0) {
  return tessaron::test::weekdayRule(month, dayOfWeek, day, hour, minute, second);
}

const TransitionRule kNone{};

struct Case {
  const char* name;
  YearTimeline year;
  std::int32_t bias;
  std::int32_t daylightBias;
  TransitionRule daylightDate;
  TransitionRule standardDate;
  const char* dlt;
  bool exact;
  std::int64_t wrongSeconds;
};

void check(const Case& c) {
  SCOPED_TRACE(c.name);
  const YearRules r = rulesForYear(c.year);
  EXPECT_EQ(r.record.Bias, c.bias);
  EXPECT_EQ(r.record.StandardBias, 0);
  EXPECT_EQ(r.record.DaylightBias, c.daylightBias);
  EXPECT_EQ(r.record.DaylightDate, c.daylightDate);
  EXPECT_EQ(r.record.StandardDate, c.standardDate);
  EXPECT_EQ(r.record.Dlt, c.dlt);
  EXPECT_EQ(r.exact, c.exact);
  EXPECT_EQ(r.wrongSeconds, c.wrongSeconds);
}

TEST(YearRulesTest, OnePairOfChangesBecomesTheYearsRules) {
  const Case cases[] = {
      {"northern: New York",
       timeline(2026, {{}, -18000, false, "EST"},
                {{utc(2026, 3, 8, 7), -14400, true, "EDT"},
                 {utc(2026, 11, 1, 6), -18000, false, "EST"}}),
       300, -60, rule(3, 0, 2, 2), rule(11, 0, 1, 2), "EDT", true, 0},
      {"southern: Sydney, daylight across the new year",
       timeline(2026, {{}, 39600, true, "AEDT"},
                {{utc(2026, 4, 4, 16), 36000, false, "AEST"},
                 {utc(2026, 10, 3, 16), 39600, true, "AEDT"}}),
       -600, -60, rule(10, 0, 1, 2), rule(4, 0, 1, 3), "AEDT", true, 0},
      {"negative saving: Dublin's summer IST is the daylight time",
       timeline(
           2026, {{}, 0, true, "GMT"},
           {{utc(2026, 3, 29, 1), 3600, false, "IST"}, {utc(2026, 10, 25, 1), 0, true, "GMT"}}),
       0, -60, rule(3, 0, 5, 1), rule(10, 0, 5, 2), "IST", true, 0},
      {"negative saving across the new year: Casablanca's Ramadan at +00",
       timeline(2025, {{}, 3600, false, "+01"},
                {{utc(2025, 2, 23, 2), 0, true, "+00"}, {utc(2025, 4, 6, 2), 3600, false, "+01"}}),
       0, -60, rule(4, 0, 1, 2), rule(2, 0, 5, 3), "+01", true, 0},
      {"half an hour: Lord Howe",
       timeline(2026, {{}, 39600, true, "+11"},
                {{utc(2026, 4, 4, 15), 37800, false, "+1030"},
                 {utc(2026, 10, 3, 15, 30), 39600, true, "+11"}}),
       -630, -30, rule(10, 0, 1, 2), rule(4, 0, 1, 2), "+11", true, 0},
      {"two hours: Troll",
       timeline(
           2026, {{}, 0, false, "+00"},
           {{utc(2026, 3, 29, 1), 7200, true, "+02"}, {utc(2026, 10, 25, 1), 0, false, "+00"}}),
       0, -120, rule(3, 0, 5, 1), rule(10, 0, 5, 3), "+02", true, 0},
      {"45-minute offsets: Chatham",
       timeline(2026, {{}, 49500, true, "+1345"},
                {{utc(2026, 4, 4, 14), 45900, false, "+1245"},
                 {utc(2026, 9, 26, 14), 49500, true, "+1345"}}),
       -765, -60, rule(9, 0, 5, 2, 45), rule(4, 0, 1, 3, 45), "+1345", true, 0},
      // 24:00 of Saturday 5 September is 00:00 of Sunday the 6th, the first Sunday.
      {"rule hour 24: Santiago",
       timeline(
           2026, {{}, -10800, true, "-03"},
           {{utc(2026, 4, 5, 3), -14400, false, "-04"}, {utc(2026, 9, 6, 4), -10800, true, "-03"}}),
       240, -60, rule(9, 0, 1, 0), rule(4, 0, 1, 0), "-03", true, 0},
      // 26:00 of Thursday 26 March is 02:00 of Friday the 27th, the last Friday.
      {"rule hour 26: Jerusalem",
       timeline(2026, {{}, 7200, false, "IST"},
                {{utc(2026, 3, 27, 0), 10800, true, "IDT"},
                 {utc(2026, 10, 24, 23), 7200, false, "IST"}}),
       -120, -60, rule(3, 5, 5, 2), rule(10, 0, 5, 2), "IDT", true, 0},
      // -1:00 of Sunday 29 March is 23:00 of Saturday the 28th, the last Saturday.
      {"rule hour -1: Nuuk",
       timeline(2026, {{}, -7200, false, "-02"},
                {{utc(2026, 3, 29, 1), -3600, true, "-01"},
                 {utc(2026, 10, 25, 1), -7200, false, "-02"}}),
       120, -60, rule(3, 6, 5, 23), rule(10, 0, 5, 0), "-01", true, 0},
      // 24:00 of Thursday 29 October is 00:00 of Friday the 30th, the last Friday.
      {"rule hour 24 at the end: Cairo",
       timeline(2026, {{}, 7200, false, "EET"},
                {{utc(2026, 4, 23, 22), 10800, true, "EEST"},
                 {utc(2026, 10, 29, 21), 7200, false, "EET"}}),
       -120, -60, rule(4, 5, 5, 0), rule(10, 5, 5, 0), "EEST", true, 0},
      // 28 March 2027 is the fourth Sunday and the last: Day 5.
      {"the last weekday of the month is Day 5",
       timeline(
           2027, {{}, 0, false, "GMT"},
           {{utc(2027, 3, 28, 1), 3600, true, "BST"}, {utc(2027, 10, 31, 1), 0, false, "GMT"}}),
       0, -60, rule(3, 0, 5, 1), rule(10, 0, 5, 2), "BST", true, 0},
      {"a change of abbreviation alone is no change: Ciudad Juarez 2022",
       timeline(2022, {{}, -25200, false, "MST"},
                {{utc(2022, 3, 13, 9), -21600, true, "MDT"},
                 {utc(2022, 10, 30, 8), -21600, false, "CST"},
                 {utc(2022, 11, 30, 6), -25200, false, "MST"}}),
       420, -60, rule(3, 0, 2, 2), rule(11, 3, 5, 0), "MDT", true, 0},
      {"seconds in the change time",
       timeline(2026, {{}, -18000, false, "EST"},
                {{utc(2026, 3, 8, 7, 0, 30), -14400, true, "EDT"},
                 {utc(2026, 11, 1, 6, 0, 15), -18000, false, "EST"}}),
       300, -60, rule(3, 0, 2, 2, 0, 30), rule(11, 0, 1, 2, 0, 15), "EDT", true, 0},
  };
  for (const Case& c : cases) check(c);
}

TEST(YearRulesTest, AYearWithoutChangesHasNoDaylightTime) {
  const Case cases[] = {
      {"standard all year: Tokyo", timeline(2026, {{}, 32400, false, "JST"}, {}), -540, 0, kNone,
       kNone, "", true, 0},
      {"west of UTC with half hours: Marquesas", timeline(2026, {{}, -34200, false, "-0930"}, {}),
       570, 0, kNone, kNone, "", true, 0},
      {"daylight all year counts as the zone's time", timeline(2026, {{}, -14400, true, "EDT"}, {}),
       240, 0, kNone, kNone, "", true, 0},
  };
  for (const Case& c : cases) check(c);
}

TEST(YearRulesTest, YearsNoPairDescribesGetTheLongestRightCandidate) {
  const Case cases[] = {
      // +06 until 29 Feb 18:00 UTC, +05 after: the later offset holds longer.
      {"one change early in the year: Almaty 2024",
       timeline(2024, {{}, 21600, false, "+06"}, {{utc(2024, 2, 29, 18), 18000, false, "+05"}}),
       -300, 0, kNone, kNone, "", false, secondsBetween(utc(2024, 1, 1), utc(2024, 2, 29, 18))},
      // +04 until 26 Dec 22:00 UTC: the offset of the year's end would be wrong for 51 weeks.
      {"one change late in the year: Volgograd 2020",
       timeline(2020, {{}, 14400, false, "+04"}, {{utc(2020, 12, 26, 22), 10800, false, "+03"}}),
       -240, 0, kNone, kNone, "", false, secondsBetween(utc(2020, 12, 26, 22), utc(2021, 1, 1))},
      {"daylight time that stays for good",
       timeline(2026, {{}, -28800, false, "PST"}, {{utc(2026, 3, 8, 10), -25200, true, "PDT"}}),
       420, 0, kNone, kNone, "", false, secondsBetween(utc(2026, 1, 1), utc(2026, 3, 8, 10))},
      // Ramadan at +00 twice; taking the first as the year's standard period is wrong
      // only from 30 December on.
      {"three changes: Casablanca 2029",
       timeline(2029, {{}, 3600, false, "+01"},
                {{utc(2029, 1, 14, 2), 0, true, "+00"},
                 {utc(2029, 2, 18, 2), 3600, false, "+01"},
                 {utc(2029, 12, 30, 2), 0, true, "+00"}}),
       0, -60, rule(2, 0, 3, 2), rule(1, 0, 2, 3), "+01", false,
       secondsBetween(utc(2029, 12, 30, 2), utc(2030, 1, 1))},
      // Daylight time broken off for Ramadan: the longer of the two periods is kept.
      {"two daylight periods: Gaza 2040",
       timeline(2040, {{}, 7200, false, "EET"},
                {{utc(2040, 3, 24), 10800, true, "EEST"},
                 {utc(2040, 8, 31, 23), 7200, false, "EET"},
                 {utc(2040, 10, 20), 10800, true, "EEST"},
                 {utc(2040, 10, 26, 23), 7200, false, "EET"}}),
       -120, -60, rule(3, 6, 4, 2), rule(9, 6, 1, 2), "EEST", false,
       secondsBetween(utc(2040, 10, 20), utc(2040, 10, 26, 23))},
      // An offset change and a daylight period in one year: the pair wins over any fixed offset.
      {"daylight time and a new standard offset: Metlakatla 2019",
       timeline(2019, {{}, -28800, false, "PST"},
                {{utc(2019, 1, 20, 10), -32400, false, "AKST"},
                 {utc(2019, 3, 10, 11), -28800, true, "AKDT"},
                 {utc(2019, 11, 3, 10), -32400, false, "AKST"}}),
       540, -60, rule(3, 0, 2, 2), rule(11, 0, 1, 2), "AKDT", false,
       secondsBetween(utc(2019, 1, 1), utc(2019, 1, 20, 10))},
      // Both changes sit on the year's first day in UTC but fall on 31 December locally:
      // the core would look for them in the wrong year.
      {"a change whose wall date lies in the year before",
       timeline(2026, {{}, -18000, false, "EST"},
                {{utc(2026, 1, 1, 1), -14400, true, "EDT"},
                 {utc(2026, 11, 1, 6), -18000, false, "EST"}}),
       300, -60, rule(12, 3, 5, 20), rule(11, 0, 1, 2), "EDT", false, 0},
      // Lisbon's local mean time, -0:36:45, rounds to the nearest minute.
      {"offsets of whole seconds: local mean time", timeline(1880, {{}, -2205, false, "LMT"}, {}),
       37, 0, kNone, kNone, "", false, 0},
  };
  for (const Case& c : cases) check(c);
}

TEST(YearRulesTest, ManyChangesInOneYearStillGiveRules) {
  std::vector<Change> changes;
  for (int i = 1; i <= 60; ++i) {
    changes.push_back({utc(2026, 1, 1) + std::chrono::seconds(i * 86400 * 5), i % 2 == 1 ? 3600 : 0,
                       i % 2 == 1, "X"});
  }
  const YearRules r = rulesForYear(timeline(2026, {{}, 0, false, "Y"}, changes));
  EXPECT_FALSE(r.exact);
  EXPECT_EQ(r.record.DaylightDate.Month, 0);
  EXPECT_EQ(r.record.StandardDate.Month, 0);
  EXPECT_TRUE(r.record.Bias == 0 || r.record.Bias == -60);
}

}  // namespace
}  // namespace tessaron::tzdb::year_rules_test
