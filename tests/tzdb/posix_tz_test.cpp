// Zone-file footers: which POSIX TZ strings are read and how, and where their yearly
// changes fall, including rule times past 24:00 and before 00:00.

#include "platform/tzdb/posix_tz.h"

#include <gtest/gtest.h>

#include "tests/tzdb/tzdb_test_support.h"

namespace tessaron::tzdb::posix_tz_test {
namespace {

using namespace std::chrono_literals;

using test::utc;
using Kind = PosixDate::Kind;

TEST(PosixTzTest, ReadsNamesOffsetsAndRules) {
  struct Case {
    const char* text;
    PosixTz expected;
  };
  const PosixDate usStart{Kind::MonthWeekDay, 0, 3, 2, 0, 7200};
  const PosixDate usEnd{Kind::MonthWeekDay, 0, 11, 1, 0, 7200};
  const Case cases[] = {
      {"EST5", {"EST", -18000s, false, "", 0s, {}, {}}},
      {"<+0330>-3:30", {"+0330", 12600s, false, "", 0s, {}, {}}},
      {"<-03>3", {"-03", -10800s, false, "", 0s, {}, {}}},
      // Daylight without a rule takes the United States' rule, as the C libraries do.
      {"EST5EDT", {"EST", -18000s, true, "EDT", -14400s, usStart, usEnd}},
      {"EST5EDT,M3.2.0,M11.1.0", {"EST", -18000s, true, "EDT", -14400s, usStart, usEnd}},
      {"EST+5EDT+4:00:00,M3.2.0/2:30:15,M11.1.0/+1",
       {"EST",
        -18000s,
        true,
        "EDT",
        -14400s,
        {Kind::MonthWeekDay, 0, 3, 2, 0, 9015},
        {Kind::MonthWeekDay, 0, 11, 1, 0, 3600}}},
      // Negative daylight saving: the daylight time is the winter one, an hour behind.
      {"IST-1GMT0,M10.5.0,M3.5.0/1",
       {"IST",
        3600s,
        true,
        "GMT",
        0s,
        {Kind::MonthWeekDay, 0, 10, 5, 0, 7200},
        {Kind::MonthWeekDay, 0, 3, 5, 0, 3600}}},
      {"<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45",
       {"+1245",
        45900s,
        true,
        "+1345",
        49500s,
        {Kind::MonthWeekDay, 0, 9, 5, 0, 9900},
        {Kind::MonthWeekDay, 0, 4, 1, 0, 13500}}},
      {"<-04>4<-03>,M9.1.6/24,M4.1.6/24",
       {"-04",
        -14400s,
        true,
        "-03",
        -10800s,
        {Kind::MonthWeekDay, 0, 9, 1, 6, 86400},
        {Kind::MonthWeekDay, 0, 4, 1, 6, 86400}}},
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0",
       {"-02",
        -7200s,
        true,
        "-01",
        -3600s,
        {Kind::MonthWeekDay, 0, 3, 5, 0, -3600},
        {Kind::MonthWeekDay, 0, 10, 5, 0, 0}}},
      {"AAA0BBB,J1/-167,365/167",
       {"AAA",
        0s,
        true,
        "BBB",
        3600s,
        {Kind::Julian, 1, 0, 0, 0, -167 * 3600},
        {Kind::ZeroBased, 365, 0, 0, 0, 167 * 3600}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto tz = parsePosixTz(c.text);
    ASSERT_TRUE(tz.has_value());
    EXPECT_EQ(tz->stdName, c.expected.stdName);
    EXPECT_EQ(tz->stdOffset, c.expected.stdOffset);
    EXPECT_EQ(tz->hasDaylight, c.expected.hasDaylight);
    if (!c.expected.hasDaylight) continue;
    EXPECT_EQ(tz->dstName, c.expected.dstName);
    EXPECT_EQ(tz->dstOffset, c.expected.dstOffset);
    for (const auto& [got, want] :
         {std::pair{tz->start, c.expected.start}, std::pair{tz->end, c.expected.end}}) {
      EXPECT_EQ(got.kind, want.kind);
      EXPECT_EQ(got.day, want.day);
      EXPECT_EQ(got.month, want.month);
      EXPECT_EQ(got.week, want.week);
      EXPECT_EQ(got.weekday, want.weekday);
      EXPECT_EQ(got.time, want.time);
    }
  }
}

TEST(PosixTzTest, RejectsWhatDoesNotFollowTheGrammar) {
  const char* const cases[] = {
      "",
      "ES5",      // names have three letters at least
      "EST",      // no offset
      "EST25",    // offsets stop at 24 hours
      "EST5:60",  // minutes stop at 59
      "EST 5",
      "<+03",    // unclosed
      "<+0>-0",  // quoted names too have three characters
      "<+03!>-3",
      "ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ5",  // too long for an abbreviation
      "EST5EDT,M3.2.0",                         // one rule
      "EST5EDT,M3.2.0,M11.1.0,",
      "EST5EDT,M3.2.0,M11.1.0x",
      "EST5EDT,M13.2.0,M11.1.0",
      "EST5EDT,M0.2.0,M11.1.0",
      "EST5EDT,M3.6.0,M11.1.0",
      "EST5EDT,M3.0.0,M11.1.0",
      "EST5EDT,M3.2.7,M11.1.0",
      "EST5EDT,M3.2,M11.1.0",
      "EST5EDT,J0,J365",
      "EST5EDT,J366,J1",
      "EST5EDT,366,1",
      "EST5EDT,M3.2.0/168,M11.1.0",  // rule times stop at 167 hours
      "EST5EDT,M3.2.0/2:99,M11.1.0",
      "EST5EDT,M3.2.0/,M11.1.0",
      "EST5EDT4:00:60,M3.2.0,M11.1.0",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(parsePosixTz(text).has_value());
  }
}

TEST(PosixTzTest, PlacesEachYearsChangesAtTheirInstants) {
  struct Case {
    const char* name;
    const char* text;
    int year;
    UtcTime start;
    UtcTime end;
  };
  const Case cases[] = {
      {"New York", "EST5EDT,M3.2.0,M11.1.0", 2026, utc(2026, 3, 8, 7), utc(2026, 11, 1, 6)},
      {"Santiago, 24:00 of a Saturday", "<-04>4<-03>,M9.1.6/24,M4.1.6/24", 2026, utc(2026, 9, 6, 4),
       utc(2026, 4, 5, 3)},
      {"Jerusalem, 26:00 of a Thursday", "IST-2IDT,M3.4.4/26,M10.5.0", 2026, utc(2026, 3, 27, 0),
       utc(2026, 10, 24, 23)},
      {"Nuuk, -1:00 of a Sunday", "<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 2026, utc(2026, 3, 29, 1),
       utc(2026, 10, 25, 1)},
      {"Cairo, 24:00 of the last Thursday", "EET-2EEST,M4.5.5/0,M10.5.4/24", 2026,
       utc(2026, 4, 23, 22), utc(2026, 10, 29, 21)},
      {"Dublin, negative saving", "IST-1GMT0,M10.5.0,M3.5.0/1", 2026, utc(2026, 10, 25, 1),
       utc(2026, 3, 29, 1)},
      {"Chatham, 45 minutes", "<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45", 2026,
       utc(2026, 9, 26, 14), utc(2026, 4, 4, 14)},
      {"last week of a four-Sunday February", "AAA0BBB,M2.5.0,M11.5.0", 2026, utc(2026, 2, 22, 2),
       utc(2026, 11, 29, 1)},
      {"Julian days skip 29 February", "AAA0BBB,J60,J300", 2028, utc(2028, 3, 1, 2),
       utc(2028, 10, 27, 1)},
      {"zero-based days count 29 February", "AAA0BBB,59,299", 2028, utc(2028, 2, 29, 2),
       utc(2028, 10, 26, 1)},
      {"zero-based days in a common year", "AAA0BBB,59,299", 2027, utc(2027, 3, 1, 2),
       utc(2027, 10, 27, 1)},
      {"167 hours past the day", "AAA0BBB,M3.2.0/167,M11.1.0", 2026, utc(2026, 3, 14, 23),
       utc(2026, 11, 1, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto tz = parsePosixTz(c.text);
    ASSERT_TRUE(tz.has_value());
    const DaylightInstants d = daylightInstants(*tz, c.year);
    EXPECT_EQ(d.start, c.start);
    EXPECT_EQ(d.end, c.end);
  }
}

}  // namespace
}  // namespace tessaron::tzdb::posix_tz_test
