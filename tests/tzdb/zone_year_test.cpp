// A zone's year read on demand: the yearly rules where they hold the whole local year, the
// file's own offsets where they cannot; and the core's conversion by the instant through
// them, checked against the zone files read directly.

#include "platform/tzdb/zone_year.h"

#include <gtest/gtest.h>

#include "tests/tzdb/tzdb_test_support.h"
#include "timezones/zone_times.h"

namespace tessaron::tzdb::zone_year_test {
namespace {

using namespace std::chrono_literals;

using test::utc;

ZoneYear fixtureYear(const std::string& id, int year) {
  return readZoneYear(test::fixtureZoneinfo(), id, year);
}

UtcTime at(int y, int mo, int d, int h, int mi = 0, int s = 0) { return utc(y, mo, d, h, mi, s); }

TEST(ZoneYearTest, RulesWhereTheyHoldTheYearAndTheFilesOffsetsWhereNot) {
  struct Case {
    const char* name;
    const char* zone;
    int year;
    bool exact;
    std::int32_t initial;                   // seconds east at two days before the year
    std::vector<ZoneYear::Change> changes;  // within the year and its margins
  };
  const Case cases[] = {
      {"one daylight period", "America/New_York", 2026, true, -18000, {}},
      {"southern, across New Year", "Australia/Sydney", 2026, true, 39600, {}},
      {"footer only", "Test/Footer_Only", 2026, true, 3600, {}},
      {"no daylight time, 14 hours ahead", "Pacific/Kiritimati", 2026, true, 50400, {}},
      {"UTC", "UTC", 2026, true, 0, {}},
      {"a permanent change within the year",
       "America/Vancouver",
       2026,
       false,
       -28800,
       {{at(2026, 3, 8, 10), -25200s}}},
      {"daylight time into the next year",
       "America/Havana",
       2026,
       false,
       -18000,
       {{at(2026, 3, 8, 5), -14400s}}},
      {"daylight time from the year before",
       "America/Havana",
       2027,
       false,
       -14400,
       {{at(2027, 11, 7, 5), -18000s}}},
      {"two daylight periods",
       "Asia/Gaza",
       2040,
       false,
       7200,
       {{at(2040, 3, 24, 0), 10800s},
        {at(2040, 8, 31, 23), 7200s},
        {at(2040, 10, 20, 0), 10800s},
        {at(2040, 10, 26, 23), 7200s}}},
      {"Ramadan twice, the second across New Year",
       "Africa/Casablanca",
       2029,
       false,
       3600,
       {{at(2029, 1, 14, 2), 0s}, {at(2029, 2, 18, 2), 3600s}, {at(2029, 12, 30, 2), 0s}}},
      {"one change of offset", "Asia/Almaty", 2024, false, 21600, {{at(2024, 2, 29, 18), 18000s}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ZoneYear y = fixtureYear(c.zone, c.year);
    ASSERT_TRUE(y.found);
    EXPECT_EQ(y.exact, c.exact);
    EXPECT_EQ(y.from, at(c.year - 1, 12, 30, 0));
    EXPECT_EQ(y.to, at(c.year + 1, 1, 3, 0));
    if (c.exact) continue;
    EXPECT_EQ(y.initialOffset.count(), c.initial);
    ASSERT_EQ(y.changes.size(), c.changes.size());
    for (std::size_t i = 0; i < c.changes.size(); ++i) {
      EXPECT_EQ(y.changes[i].at, c.changes[i].at) << i;
      EXPECT_EQ(y.changes[i].offset, c.changes[i].offset) << i;
    }
  }
}

TEST(ZoneYearTest, UnknownAndUnsafeZonesAreNotFound) {
  for (const char* id : {"Nowhere/At_All", "../zoneinfo/Asia/Tokyo", "", "Broken/Garbage",
                         "Broken/Truncated", "America"}) {
    SCOPED_TRACE(id);
    EXPECT_FALSE(fixtureYear(id, 2026).found);
  }
  EXPECT_FALSE(fixtureYear("Asia/Tokyo", 1).found);
  EXPECT_FALSE(fixtureYear("Asia/Tokyo", 9999).found);
}

// Rules that are right except for a day at the edge of the year are not taken as exact.
TEST(ZoneYearTest, RulesMustMatchTheFileEverywhereInTheMargins) {
  ZoneYear offsets = fixtureYear("America/New_York", 2026);
  ZoneRecord rules;
  static_cast<ZoneRules&>(rules) = offsets.TZI;
  EXPECT_TRUE(rulesMatch(rules, offsets));
  ZoneYear edited = offsets;
  edited.changes.insert(edited.changes.begin(),
                        {{at(2025, 12, 31, 12), -14400s}, {at(2026, 1, 1, 0), -18000s}});
  EXPECT_FALSE(rulesMatch(rules, edited));
  // A week late in November is seen at the file's change; a week early in March, and an hour
  // early in November (01:00 daylight time, 05:00 UTC), only at the rules' own.
  for (const auto& edit : {+[](ZoneRecord& r) { r.StandardDate.Day = 2; },
                           +[](ZoneRecord& r) { r.DaylightDate.Day = 1; },
                           +[](ZoneRecord& r) { r.StandardDate.Hour = 1; }}) {
    ZoneRecord wrong = rules;
    edit(wrong);
    EXPECT_FALSE(rulesMatch(wrong, offsets));
  }
}

// The core's conversion by the instant against each fixture file read directly: every
// three hours of 2024 to 2041 and the seconds around each change.
TEST(ZoneYearTest, ConversionByTheInstantAgreesWithTheFilesEverywhere) {
  ZoneTimes times;
  for (const char* zone :
       {"America/New_York", "Australia/Sydney", "Australia/Lord_Howe", "Antarctica/Troll",
        "Pacific/Chatham", "Europe/Dublin", "America/Santiago", "Africa/Cairo", "Asia/Jerusalem",
        "America/Nuuk", "Africa/Casablanca", "Asia/Almaty", "Test/Footer_Only", "America/Vancouver",
        "America/Havana", "Asia/Gaza", "Pacific/Kiritimati", "Asia/Tokyo", "Asia/Kolkata"}) {
    SCOPED_TRACE(zone);
    ZoneRecord record;
    record.Std = zone;
    FileSource file(test::fixtureZoneinfo() + "/" + zone);
    std::size_t wrong = 0;
    for (int year = 2024; year <= 2041; ++year) {
      const auto timeline = readYearTimeline(file, year);
      ASSERT_TRUE(timeline.has_value());
      std::vector<UtcTime> samples;
      for (UtcTime t = timeline->begin; t < timeline->end; t += std::chrono::hours(3)) {
        samples.push_back(t);
      }
      for (const OffsetChange& c : timeline->changes) {
        for (int d : {-3600, -1, 0, 1, 3599}) samples.push_back(c.at + std::chrono::seconds(d));
      }
      for (const UtcTime t : samples) {
        if (t < timeline->begin || t >= timeline->end) continue;
        std::int32_t offset = timeline->initial.utcOffset.count();
        for (const OffsetChange& c : timeline->changes) {
          if (c.at <= t) offset = c.to.utcOffset.count();
        }
        const UtcTime u = t;
        if (times.toZone(u, record, fixtureYear).time_since_epoch().count() -
                    u.time_since_epoch().count() !=
                offset &&
            wrong++ < 5) {
          ADD_FAILURE() << toCivil(u).year << "-" << toCivil(u).month << "-" << toCivil(u).day
                        << " " << toCivil(u).hour << ":" << toCivil(u).minute << ":"
                        << toCivil(u).second << " UTC: file " << offset;
        }
      }
    }
    EXPECT_EQ(wrong, 0u);
  }
}

}  // namespace
}  // namespace tessaron::tzdb::zone_year_test
