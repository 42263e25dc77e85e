// The wall-time lookup against Qt's own reading of the same tz database: for a skipped
// hour, a repeated hour and an ordinary time in three zones (north, south and on UTC in
// winter), the kind and the instants the rules give are the ones QTimeZone's offsets give.
// Qt's side asks only "which offset holds at this instant", for each offset the zone has
// around that day, so it shares no arithmetic with the rules. It follows the host's tzdata.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <set>

#include "platform/tzdb/zone_year.h"
#include "tests/civil_time.h"
#include "timezones/conversion.h"

namespace tessaron::wall_time_lookup_test {
namespace {

constexpr const char* kZoneinfo = "/usr/share/zoneinfo";

std::int64_t unixOf(UtcTime t) { return t.time_since_epoch().count(); }

// Qt's answer for the wall time whose digits, read as UTC, are `wallAsUtc` Unix seconds.
WallTimeLookup qtLookup(const QTimeZone& zone, std::int64_t wallAsUtc) {
  auto offsetAt = [&](std::int64_t unix) {
    return zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(unix, Qt::UTC));
  };
  // Every offset the zone has from half a day before to half a day after.
  const std::set<int> offsets = {offsetAt(wallAsUtc - 43200), offsetAt(wallAsUtc + 43200)};
  std::set<std::int64_t> passes;
  for (int offset : offsets) {
    const std::int64_t at = wallAsUtc - offset;
    if (offsetAt(at) == offset) passes.insert(at);
  }
  const auto serial = [](std::int64_t unix) { return UtcTime{std::chrono::seconds(unix)}; };
  if (passes.size() == 2) {
    return {WallTimeLookup::Kind::Repeated, serial(*passes.begin()), serial(*passes.rbegin())};
  }
  if (passes.size() == 1) {
    return {WallTimeLookup::Kind::Unique, serial(*passes.begin()), serial(*passes.begin())};
  }
  // Before the gap the lower offset held: the later instant.
  return {WallTimeLookup::Kind::Skipped, serial(wallAsUtc - *offsets.begin()),
          serial(wallAsUtc - *offsets.rbegin())};
}

TEST(WallTimeLookup, SkippedRepeatedAndOrdinaryTimesAgreeWithQt) {
  using Kind = WallTimeLookup::Kind;
  struct Case {
    const char* name;
    const char* zone;
    CivilTime wall;
    Kind kind;
  };
  const Case cases[] = {
      {"New York, spring forward", "America/New_York", {2026, 3, 8, 2, 30, 0}, Kind::Skipped},
      {"New York, fall back", "America/New_York", {2026, 11, 1, 1, 30, 0}, Kind::Repeated},
      {"New York, summer noon", "America/New_York", {2026, 7, 1, 12, 0, 0}, Kind::Unique},
      {"Sydney, October forward", "Australia/Sydney", {2026, 10, 4, 2, 30, 0}, Kind::Skipped},
      {"Sydney, April back", "Australia/Sydney", {2026, 4, 5, 2, 30, 0}, Kind::Repeated},
      {"Sydney, winter noon", "Australia/Sydney", {2026, 7, 1, 12, 0, 0}, Kind::Unique},
      {"London, March forward", "Europe/London", {2026, 3, 29, 1, 30, 0}, Kind::Skipped},
      {"London, October back", "Europe/London", {2026, 10, 25, 1, 30, 0}, Kind::Repeated},
      {"London, winter noon", "Europe/London", {2026, 1, 15, 12, 0, 0}, Kind::Unique},
      {"London, the first second of summer time",
       "Europe/London",
       {2026, 3, 29, 2, 0, 0},
       Kind::Unique},
      {"London, the last second of the repeated hour",
       "Europe/London",
       {2026, 10, 25, 1, 59, 59},
       Kind::Repeated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ZoneYear year = tzdb::readZoneYear(kZoneinfo, c.zone, c.wall.year);
    ASSERT_TRUE(year.found);
    ASSERT_TRUE(year.exact) << "the year's two rules hold it whole";
    const ZoneTime wall = makeTime<ZoneTime>(c.wall);
    const WallTimeLookup ours = lookUpWallTime(wall, year.TZI);
    const WallTimeLookup qt = qtLookup(QTimeZone(c.zone), unixOf(makeTime<UtcTime>(c.wall)));
    EXPECT_EQ(qt.kind, c.kind) << "the case itself";
    EXPECT_EQ(ours.kind, qt.kind);
    EXPECT_EQ(unixOf(ours.pre), unixOf(qt.pre));
    EXPECT_EQ(unixOf(ours.post), unixOf(qt.post));
  }
}

}  // namespace
}  // namespace tessaron::wall_time_lookup_test
