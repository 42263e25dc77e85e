// The offset a zone's entry names, and until when: read from the fixture zone files, where
// a standard offset moves with daylight saving kept on both sides, across New Year, and for
// good within a year. A running clock renames the entry at `until`, so a late or missing
// `until` leaves the old offset on screen until a restart.

#include "platform/tzdb/listed_offset.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/tzdb/tzdb_test_support.h"

namespace tessaron::tzdb::listed_offset_test {
namespace {

using test::fixtureZoneinfo;
using test::utc;

constexpr int kHour = 3600;

TEST(ListedOffset, NamesTheStandardOffsetInForceUntilItsNextChange) {
  struct Case {
    const char* name;
    const char* zone;
    UtcTime at;
    int offset;     // seconds east of UTC
    UtcTime until;  // the next instant the entry may name another offset
    int after;      // the offset named from `until`
  };
  const Case cases[] = {
      {"Central standard time, named through the daylight time after it", "Test/Moved_East",
       utc(2026, 1, 15), -6 * kHour, utc(2026, 11, 1, 7), -5 * kHour},
      {"Central daylight time, the last before the move east", "Test/Moved_East", utc(2026, 7, 1),
       -6 * kHour, utc(2026, 11, 1, 7), -5 * kHour},
      {"its last second", "Test/Moved_East", utc(2026, 11, 1, 6, 59, 59), -6 * kHour,
       utc(2026, 11, 1, 7), -5 * kHour},
      {"Vancouver's daylight time that stays: its standard time until the change",
       "America/Vancouver", utc(2026, 2, 1), -8 * kHour, utc(2026, 3, 8, 10), -7 * kHour},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FileSource file(fixtureZoneinfo() + "/" + c.zone);
    const auto listed = listedOffsetAt(file, c.at);
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->offset.count(), c.offset);
    EXPECT_EQ(listed->until, c.until);
    const auto next = listedOffsetAt(file, c.until);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->offset.count(), c.after);
  }
}

}  // namespace
}  // namespace tessaron::tzdb::listed_offset_test
