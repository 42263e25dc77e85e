// Zone files read for one year: the local time at the year's start and each change, from
// the stored table and from the footer rule; and the files the reader must refuse.

#include "platform/tzdb/tzif.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/tzdb/tzdb_test_support.h"

namespace tessaron::tzdb::tzif_test {
namespace {

using test::buildTzif;
using test::TzifFile;
using test::utc;

struct Expected {
  UtcTime at;           // unused for the initial state
  std::int32_t offset;  // seconds east of UTC
  bool isDaylight;
  const char* abbreviation;
};

void expectTimeline(const std::optional<YearTimeline>& timeline, const Expected& initial,
                    const std::vector<Expected>& changes) {
  ASSERT_TRUE(timeline.has_value());
  EXPECT_EQ(timeline->initial,
            (LocalTimeType{UtcOffset{initial.offset}, initial.isDaylight, initial.abbreviation}));
  ASSERT_EQ(timeline->changes.size(), changes.size());
  for (std::size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE("change " + std::to_string(i));
    EXPECT_EQ(timeline->changes[i].at, changes[i].at);
    EXPECT_EQ(timeline->changes[i].to,
              (LocalTimeType{UtcOffset{changes[i].offset}, changes[i].isDaylight,
                             changes[i].abbreviation}));
  }
}

std::vector<std::uint8_t> fixtureBytes(const std::string& id) {
  std::ifstream in(test::fixtureZoneinfo() + "/" + id, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<YearTimeline> readBytes(const std::vector<std::uint8_t>& bytes, int year) {
  MemorySource source(bytes);
  return readYearTimeline(source, year);
}

TEST(TzifTest, ReadsFixtureZonesFromTheirTablesAndFooters) {
  struct Case {
    const char* name;
    const char* zone;
    int year;
    Expected initial;
    std::vector<Expected> changes;
  };
  const Case cases[] = {
      {"northern, stored changes",
       "America/New_York",
       2026,
       {{}, -18000, false, "EST"},
       {{utc(2026, 3, 8, 7), -14400, true, "EDT"}, {utc(2026, 11, 1, 6), -18000, false, "EST"}}},
      {"northern, after the table ends in 2037",
       "America/New_York",
       2040,
       {{}, -18000, false, "EST"},
       {{utc(2040, 3, 11, 7), -14400, true, "EDT"}, {utc(2040, 11, 4, 6), -18000, false, "EST"}}},
      {"southern",
       "Australia/Sydney",
       2026,
       {{}, 39600, true, "AEDT"},
       {{utc(2026, 4, 4, 16), 36000, false, "AEST"}, {utc(2026, 10, 3, 16), 39600, true, "AEDT"}}},
      {"footer rule at 24:00",
       "America/Santiago",
       2026,
       {{}, -10800, true, "-03"},
       {{utc(2026, 4, 5, 3), -14400, false, "-04"}, {utc(2026, 9, 6, 4), -10800, true, "-03"}}},
      {"negative saving keeps the file's flags",
       "Europe/Dublin",
       2026,
       {{}, 0, true, "GMT"},
       {{utc(2026, 3, 29, 1), 3600, false, "IST"}, {utc(2026, 10, 25, 1), 0, true, "GMT"}}},
      {"three stored changes",
       "Africa/Casablanca",
       2029,
       {{}, 3600, false, "+01"},
       {{utc(2029, 1, 14, 2), 0, true, "+00"},
        {utc(2029, 2, 18, 2), 3600, false, "+01"},
        {utc(2029, 12, 30, 2), 0, true, "+00"}}},
      {"footer without daylight after the table",
       "Africa/Casablanca",
       2031,
       {{}, 3600, false, "+01"},
       {}},
      {"one change of offset",
       "Asia/Almaty",
       2024,
       {{}, 21600, false, "+06"},
       {{utc(2024, 2, 29, 18), 18000, false, "+05"}}},
      {"before the first stored change", "Asia/Almaty", 2023, {{}, 21600, false, "+06"}, {}},
      {"no daylight time", "Asia/Tokyo", 2026, {{}, 32400, false, "JST"}, {}},
      // Nothing stored: the footer's last Saturday of October 2026 is the month's last day.
      {"footer only, last weekday on the month's last day",
       "Test/Footer_Only",
       2026,
       {{}, 3600, false, "CET"},
       {{utc(2026, 3, 29, 1), 7200, true, "CEST"}, {utc(2026, 10, 31, 1), 3600, false, "CET"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FileSource file(test::fixtureZoneinfo() + "/" + c.zone);
    ASSERT_TRUE(file.isOpen());
    const auto timeline = readYearTimeline(file, c.year);
    expectTimeline(timeline, c.initial, c.changes);
    ASSERT_TRUE(timeline.has_value());
    EXPECT_EQ(timeline->begin, utc(c.year, 1, 1));
    EXPECT_EQ(timeline->end, utc(c.year + 1, 1, 1));
  }
}

TEST(TzifTest, ReadsWhatZicNeverWrites) {
  const std::string estEdt("EST\0EDT\0", 8);
  const std::vector<test::TzifType> estEdtTypes = {{-18000, 0, 0}, {-14400, 1, 4}};
  struct Case {
    const char* name;
    TzifFile file;
    int year;
    Expected initial;
    std::vector<Expected> changes;
  };
  const Case cases[] = {
      {"version 1, a stored year",
       {'\0', {utc(2026, 3, 8, 7), utc(2026, 11, 1, 6)}, {1, 0}, estEdtTypes, estEdt},
       2026,
       {{}, -18000, false, "EST"},
       {{utc(2026, 3, 8, 7), -14400, true, "EDT"}, {utc(2026, 11, 1, 6), -18000, false, "EST"}}},
      {"version 1, past the table the last type holds",
       {'\0', {utc(2026, 3, 8, 7)}, {1}, estEdtTypes, estEdt},
       2027,
       {{}, -14400, true, "EDT"},
       {}},
      {"version 1, before the table the first type holds",
       {'\0', {utc(2026, 3, 8, 7)}, {1}, estEdtTypes, estEdt},
       2025,
       {{}, -18000, false, "EST"},
       {}},
      {"the version 1 block is skipped, not read",
       {'2',
        {},
        {},
        {{-18000, 0, 0}},
        std::string("EST\0", 4),
        "\nEST5\n",
        {{3600, 0, 0}},
        std::string("OLD\0", 4)},
       2026,
       {{}, -18000, false, "EST"},
       {}},
      {"the table ends within the year and the footer goes on",
       {'2', {utc(2026, 3, 8, 7)}, {1}, estEdtTypes, estEdt, "\nEST5EDT,M3.2.0,M11.1.0\n"},
       2026,
       {{}, -18000, false, "EST"},
       {{utc(2026, 3, 8, 7), -14400, true, "EDT"}, {utc(2026, 11, 1, 6), -18000, false, "EST"}}},
      {"no stored changes: the footer rules every year",
       {'3', {}, {}, {{-18000, 0, 0}}, std::string("EST\0", 4), "\nEST5EDT,M3.2.0,M11.1.0\n"},
       2030,
       {{}, -18000, false, "EST"},
       {{utc(2030, 3, 10, 7), -14400, true, "EDT"}, {utc(2030, 11, 3, 6), -18000, false, "EST"}}},
      {"an empty footer leaves the last stored type",
       {'2', {utc(2026, 3, 8, 7)}, {1}, estEdtTypes, estEdt, "\n\n"},
       2030,
       {{}, -14400, true, "EDT"},
       {}},
      {"daylight all year by a rule that ends where it starts",
       {'4', {}, {}, {{-14400, 1, 0}}, std::string("EDT\0", 4), "\nEST5EDT4,0/0,J365/25\n"},
       2026,
       {{}, -14400, true, "EDT"},
       {}},
      {"a change of abbreviation alone is kept",
       {'2',
        {utc(2026, 6, 1)},
        {1},
        {{-21600, 1, 0}, {-21600, 0, 4}},
        std::string("MDT\0CST\0", 8),
        "\nCST6\n"},
       2026,
       {{}, -21600, true, "MDT"},
       {{utc(2026, 6, 1), -21600, false, "CST"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expectTimeline(readBytes(buildTzif(c.file), c.year), c.initial, c.changes);
  }
}

TEST(TzifTest, RefusesDamagedFiles) {
  const TzifFile sound{'2',
                       {utc(2026, 3, 8, 7), utc(2026, 11, 1, 6)},
                       {1, 0},
                       {{-18000, 0, 0}, {-14400, 1, 4}},
                       std::string("EST\0EDT\0", 8),
                       "\nEST5EDT,M3.2.0,M11.1.0\n"};
  ASSERT_TRUE(readBytes(buildTzif(sound), 2026).has_value());
  // The second header follows the 44-byte first header and its one type and one name.
  constexpr std::size_t kSecond = 44 + 6 + 1;
  const auto patched = [&](std::size_t at, std::uint32_t value) {
    std::vector<std::uint8_t> bytes = buildTzif(sound);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    return bytes;
  };
  const auto poked = [&](std::size_t at, std::uint8_t value) {
    std::vector<std::uint8_t> bytes = buildTzif(sound);
    bytes[at] = value;
    return bytes;
  };
  const auto changed = [&](auto edit) {
    TzifFile f = sound;
    edit(f);
    return buildTzif(f);
  };
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"not TZif", poked(0, 'X')},
      {"unknown version", poked(4, '1')},
      {"second header missing its magic", poked(kSecond, 'X')},
      {"second header of version 1", poked(kSecond + 4, 0)},
      {"too many changes", patched(kSecond + 32, kMaxTransitions + 1)},
      {"no types", patched(kSecond + 36, 0)},
      {"too many types", patched(kSecond + 36, kMaxTypes + 1)},
      {"no names", patched(kSecond + 40, 0)},
      {"too many name bytes", patched(kSecond + 40, kMaxNameBytes + 1)},
      {"too many leap seconds", patched(kSecond + 28, kMaxLeapSeconds + 1)},
      {"indicator count unlike the type count", patched(kSecond + 24, 1)},
      {"first header's counts beyond the limits", patched(32, 0xFFFFFFFFu)},
      {"changes out of order", changed([](TzifFile& f) { std::swap(f.times[0], f.times[1]); })},
      {"two changes at one instant", changed([](TzifFile& f) { f.times[1] = f.times[0]; })},
      {"type index past the types", changed([](TzifFile& f) { f.indexes[1] = 2; })},
      {"name index past the names", changed([](TzifFile& f) { f.types[1].nameAt = 8; })},
      {"name without its end", changed([](TzifFile& f) {
         f.names = "ESTEDT";
         f.types[1].nameAt = 3;
       })},
      {"daylight flag neither 0 nor 1", changed([](TzifFile& f) { f.types[1].isDst = 2; })},
      {"offset beyond 26 hours", changed([](TzifFile& f) { f.types[1].offset = 26 * 3600 + 1; })},
      {"no footer", changed([](TzifFile& f) { f.footer = ""; })},
      {"footer without its closing newline", changed([](TzifFile& f) { f.footer = "\nEST5EDT"; })},
      {"footer without its opening newline", changed([](TzifFile& f) { f.footer = "EST5\n"; })},
      {"footer that is no TZ string",
       changed([](TzifFile& f) { f.footer = "\nEST5EDT,M13.1.0,M11.1.0\n"; })},
      {"footer longer than any rule",
       changed([](TzifFile& f) { f.footer = "\nEST5" + std::string(300, 'X') + "\n"; })},
      {"version 1 cut inside its names",
       [] {
         auto b = buildTzif({'\0', {}, {}, {{0, 0, 0}}, std::string("UTC\0", 4)});
         b.pop_back();
         return b;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(readBytes(c.bytes, 2026).has_value());
  }
}

// Files that are whole and sound but for their number of changes: the limit alone decides.
TEST(TzifTest, RefusesOneChangeOverTheLimit) {
  for (const std::uint32_t count : {kMaxTransitions, kMaxTransitions + 1}) {
    SCOPED_TRACE(count);
    TzifFile f{'2', {}, {}, {{0, 0, 0}, {3600, 1, 4}}, std::string("AAA\0BBB\0", 8), "\nAAA0\n"};
    for (std::uint32_t i = 0; i < count; ++i) {
      f.times.push_back(utc(1900, 1, 1) + std::chrono::days(i));
      f.indexes.push_back(static_cast<std::uint8_t>(i % 2));
    }
    EXPECT_EQ(readBytes(buildTzif(f), 2026).has_value(), count <= kMaxTransitions);
  }
}

TEST(TzifTest, RefusesEveryFileCutShort) {
  for (const char* zone : {"America/New_York", "America/Santiago", "Africa/Casablanca"}) {
    SCOPED_TRACE(zone);
    const std::vector<std::uint8_t> whole = fixtureBytes(zone);
    ASSERT_GT(whole.size(), 100u);
    ASSERT_TRUE(readBytes(whole, 2026).has_value());
    for (std::size_t size = 0; size < whole.size(); ++size) {
      const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
      EXPECT_FALSE(readBytes(cut, 2026).has_value()) << "cut to " << size << " bytes";
    }
  }
}

TEST(TzifTest, ReadsOnlyYearsOneTo9999) {
  const std::vector<std::uint8_t> bytes = fixtureBytes("America/New_York");
  struct Case {
    int year;
    bool read;
  };
  for (const Case& c : {Case{0, false}, Case{1, true}, Case{9999, true}, Case{10000, false}}) {
    SCOPED_TRACE(c.year);
    EXPECT_EQ(readBytes(bytes, c.year).has_value(), c.read);
  }
}

TEST(TzifTest, MissingFilesAndFoldersGiveNothing) {
  for (const char* path : {"Nowhere/At_All", "America"}) {
    SCOPED_TRACE(path);
    FileSource file(test::fixtureZoneinfo() + "/" + path);
    EXPECT_FALSE(readYearTimeline(file, 2026).has_value());
  }
}

}  // namespace
}  // namespace tessaron::tzdb::tzif_test
