// The catalogue read from the fixture database: which zones, in what order, with which
// texts and rules; the zones that cannot be read; a missing database; and the system zone
// found by its id, its aliases, or the bytes of a copied /etc/localtime.

#include "platform/tzdb/catalogue.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/platform.h"
#include "tests/tzdb/tzdb_test_support.h"
#include "tests/zone_rules.h"

namespace tessaron::tzdb::catalogue_test {
namespace {

namespace fs = std::filesystem;
using test::fixtureZoneinfo;

TransitionRule rule(int month, int dayOfWeek, int day, int hour, int minute = 0) {
  return tessaron::test::weekdayRule(month, dayOfWeek, day, hour, minute);
}

const ZoneRecord* find(const ZoneCatalogueSource& catalogue, const std::string& id) {
  for (const ZoneRecord& key : catalogue.zones) {
    if (key.Std == id) return &key;
  }
  return nullptr;
}

std::vector<std::string> openedIds(const ZoneCatalogueSource& catalogue) {
  std::vector<std::string> ids;
  for (const ZoneRecord& key : catalogue.zones) {
    if (!key.Std.empty()) ids.push_back(key.Std);
  }
  return ids;
}

TEST(CatalogueTest, ListsTheTablesZonesAndUtcFromWestToEast) {
  struct Case {
    int year;
    std::vector<std::string> ids;
  };
  const Case cases[] = {
      // Casablanca's +01 alternates with Ramadan's +00, the lower of the two standing as its
      // standard offset whichever the file marks as daylight, so it is listed at UTC in every
      // year, as Dublin is.
      {2026,
       {"America/New_York", "America/Santiago", "America/Nuuk", "Africa/Casablanca",
        "Antarctica/Troll", "Europe/Dublin", "UTC", "Africa/Cairo", "Asia/Jerusalem", "Asia/Almaty",
        "Asia/Kolkata", "Asia/Tokyo", "Australia/Sydney", "Australia/Lord_Howe",
        "Pacific/Chatham"}},
      {2025,
       {"America/New_York", "America/Santiago", "America/Nuuk", "Africa/Casablanca",
        "Antarctica/Troll", "Europe/Dublin", "UTC", "Africa/Cairo", "Asia/Jerusalem", "Asia/Almaty",
        "Asia/Kolkata", "Asia/Tokyo", "Australia/Sydney", "Australia/Lord_Howe",
        "Pacific/Chatham"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year);
    const ZoneCatalogueSource catalogue = readCatalogue(fixtureZoneinfo(), c.year, "", "");
    EXPECT_TRUE(catalogue.found);
    EXPECT_EQ(catalogue.location, fixtureZoneinfo());
    EXPECT_EQ(openedIds(catalogue), c.ids);
  }
}

TEST(CatalogueTest, ZonesThatCannotBeReadStayEmptyAtTheEnd) {
  // Broken/Truncated, Broken/Garbage and Broken/Missing.
  const ZoneCatalogueSource catalogue = readCatalogue(fixtureZoneinfo(), 2026, "", "");
  ASSERT_EQ(catalogue.zones.size(), 18u);
  for (std::size_t i = 0; i < catalogue.zones.size(); ++i) {
    const ZoneRecord& key = catalogue.zones[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(!key.Std.empty(), i < 15);
    if (!key.Std.empty()) continue;
    EXPECT_EQ(static_cast<const ZoneRules&>(key), ZoneRules{});
    EXPECT_EQ(key.Display, "");
    EXPECT_EQ(key.Std, "");
    EXPECT_EQ(key.Dlt, "");
    EXPECT_EQ(key.MapID, "");
  }
}

TEST(CatalogueTest, EachEntryCarriesItsTextsAndTheYearsRules) {
  struct Case {
    const char* id;
    int year;
    const char* display;
    const char* dlt;
    const char* mapId;
    std::int32_t bias;
    std::int32_t daylightBias;
    TransitionRule daylightDate;
    TransitionRule standardDate;
  };
  const TransitionRule none{};
  const Case cases[] = {
      {"America/New_York", 2026, "(UTC-05:00) America/New York", "EDT", "US +404251-0740023", 300,
       -60, rule(3, 0, 2, 2), rule(11, 0, 1, 2)},
      {"America/New_York", 2040, "(UTC-05:00) America/New York", "EDT", "US +404251-0740023", 300,
       -60, rule(3, 0, 2, 2), rule(11, 0, 1, 2)},
      {"Australia/Sydney", 2026, "(UTC+10:00) Australia/Sydney", "AEDT", "AU -3352+15113", -600,
       -60, rule(10, 0, 1, 2), rule(4, 0, 1, 3)},
      {"Australia/Lord_Howe", 2026, "(UTC+10:30) Australia/Lord Howe", "+11", "AU -3133+15905",
       -630, -30, rule(10, 0, 1, 2), rule(4, 0, 1, 2)},
      {"Antarctica/Troll", 2026, "(UTC) Antarctica/Troll", "+02", "AQ -720041+0023206", 0, -120,
       rule(3, 0, 5, 1), rule(10, 0, 5, 3)},
      {"Pacific/Chatham", 2026, "(UTC+12:45) Pacific/Chatham", "+1345", "NZ -4357-17633", -765, -60,
       rule(9, 0, 5, 2, 45), rule(4, 0, 1, 3, 45)},
      {"Europe/Dublin", 2026, "(UTC) Europe/Dublin", "IST", "IE +5320-00615", 0, -60,
       rule(3, 0, 5, 1), rule(10, 0, 5, 2)},
      {"America/Santiago", 2026, "(UTC-04:00) America/Santiago", "-03", "CL -3327-07040", 240, -60,
       rule(9, 0, 1, 0), rule(4, 0, 1, 0)},
      {"Asia/Jerusalem", 2026, "(UTC+02:00) Asia/Jerusalem", "IDT", "IL +314650+0351326", -120, -60,
       rule(3, 5, 5, 2), rule(10, 0, 5, 2)},
      {"Africa/Casablanca", 2025, "(UTC) Africa/Casablanca", "+01", "MA +3339-00735", 0, -60,
       rule(4, 0, 1, 2), rule(2, 0, 5, 3)},
      {"Asia/Kolkata", 2026, "(UTC+05:30) Asia/Kolkata", "", "IN +2232+08822", -330, 0, none, none},
      {"UTC", 2026, "(UTC) UTC", "", "", 0, 0, none, none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.id) + " " + std::to_string(c.year));
    const ZoneCatalogueSource catalogue = readCatalogue(fixtureZoneinfo(), c.year, "", "");
    const ZoneRecord* key = find(catalogue, c.id);
    ASSERT_NE(key, nullptr);
    EXPECT_FALSE(key->Std.empty());
    EXPECT_EQ(key->Display, c.display);
    EXPECT_EQ(key->Dlt, c.dlt);
    EXPECT_EQ(key->MapID, c.mapId);
    ZoneRecord record;
    static_cast<ZoneRules&>(record) = *key;
    EXPECT_EQ(record.Bias, c.bias);
    EXPECT_EQ(record.StandardBias, 0);
    EXPECT_EQ(record.DaylightBias, c.daylightBias);
    EXPECT_EQ(record.DaylightDate, c.daylightDate);
    EXPECT_EQ(record.StandardDate, c.standardDate);
  }
}

TEST(CatalogueTest, WithoutAZoneTableThereIsNoCatalogue) {
  const std::string nowhere = fixtureZoneinfo() + "/Nowhere";
  const ZoneCatalogueSource catalogue = readCatalogue(nowhere, 2026, "America/New_York", "");
  EXPECT_FALSE(catalogue.found);
  EXPECT_EQ(catalogue.location, nowhere);
  EXPECT_TRUE(catalogue.zones.empty());
  EXPECT_EQ(catalogue.systemStandardName, "");
}

// A scratch folder for copies of /etc/localtime, removed afterwards.
class SystemZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tzdb_test_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    scratch_ = pattern;
  }
  void TearDown() override { fs::remove_all(scratch_); }

  std::string copyOf(const std::string& zone, const std::string& as) {
    const fs::path to = scratch_ / as;
    fs::copy_file(fixtureZoneinfo() + "/" + zone, to);
    return to.string();
  }
  std::string linkTo(const std::string& zone, const std::string& as) {
    const fs::path at = scratch_ / as;
    fs::create_symlink(fixtureZoneinfo() + "/" + zone, at);
    return at.string();
  }
  std::string systemZone(const std::string& id, const std::string& localtime) {
    return readCatalogue(fixtureZoneinfo(), 2026, id, localtime).systemStandardName;
  }
  struct Case {
    const char* name;
    std::string id;         // as TZ or the desktop gives it
    std::string localtime;  // the system's zone file
    const char* expected;
  };
  void expectSystemZones(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      EXPECT_EQ(systemZone(c.id, c.localtime), c.expected);
    }
  }

  fs::path scratch_;
};

TEST_F(SystemZoneTest, NamesTheCatalogueEntryOfTheIdOrItsAlias) {
  struct Case {
    const char* id;
    const char* expected;
  };
  const Case cases[] = {
      {"America/New_York", "America/New_York"},
      {"US/Eastern", "America/New_York"},  // a link in tzdata.zi
      {"Asia/Calcutta", "Asia/Kolkata"},
      {"Eire", "Europe/Dublin"},
      {":Asia/Tokyo", "Asia/Tokyo"},  // TZ's file form
      {"UTC", "UTC"},
      {"Etc/UTC", "UTC"},
      {"Etc/Universal", "UTC"},
      {"Zulu", "UTC"},
      {"GMT", "UTC"},
      {"Test/ToMissing", ""},  // an alias of a zone that cannot be read
      {"Mars/Olympus_Mons", ""},
      {"", ""},
      {"../../../etc/passwd", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(systemZone(c.id, ""), c.expected);
  }
  EXPECT_EQ(systemZone(fixtureZoneinfo() + "/Australia/Sydney", ""), "Australia/Sydney");
}

TEST_F(SystemZoneTest, WithoutAKnownIdACopiedLocaltimeIsMatchedByItsBytes) {
  const std::string sydney = copyOf("Australia/Sydney", "sydney");
  const std::string chatham = copyOf("Pacific/Chatham", "chatham");
  const std::string utc = copyOf("Etc/UTC", "utc");
  const std::string garbage = copyOf("Broken/Garbage", "garbage");
  // The same size as New York's file with one byte changed: sizes alone must not decide.
  const std::string altered = copyOf("America/New_York", "altered");
  {
    std::fstream f(altered, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(200);
    f.put('\x7f');
  }
  const std::string linked = linkTo("Asia/Kolkata", "linked");
  expectSystemZones({
      {"no id, a copy", "", sydney, "Australia/Sydney"},
      // The C library takes an unknown TZ as UTC, whatever the system's file holds.
      {"an unknown id, a copy", "Mars/Olympus_Mons", chatham, ""},
      {"a copy of UTC", "", utc, "UTC"},
      {"a known id wins over the file", "Asia/Tokyo", sydney, "Asia/Tokyo"},
      {"a link names its zone", "", linked, "Asia/Kolkata"},
      {"a copy of no zone", "", garbage, ""},
      // Not by its bytes (see below), but it keeps New York's offsets and changes.
      {"a copy changed in one byte", "", altered, "America/New_York"},
      {"TZ naming a file by its path", ":" + chatham, "", "Pacific/Chatham"},
      {"no file", "", (scratch_ / "absent").string(), ""},
  });
  const auto zones = readCatalogue(fixtureZoneinfo(), 2026, "", "").zones;
  EXPECT_EQ(zoneWithSameContent(altered, zones, fixtureZoneinfo()), "");
  EXPECT_EQ(zoneWithSameContent(sydney, zones, fixtureZoneinfo()), "Australia/Sydney");
}

// A system zone the list does not name, as TZ=EST5EDT or TZ=Etc/GMT-9 give it: the first
// entry with the same offsets and changes this year, names and flags aside.
TEST_F(SystemZoneTest, AnotherNameWithTheSameOffsetsAndChangesThisYear) {
  const std::string est5edt = copyOf("EST5EDT", "est5edt");
  expectSystemZones({
      {"a zone file outside the table", "EST5EDT", "", "America/New_York"},
      {"a fixed offset outside the table", "Etc/GMT-9", "", "Asia/Tokyo"},
      {"a copy of a zone outside the table", "", est5edt, "America/New_York"},
      {"a POSIX rule", "EST5EDT,M3.2.0,M11.1.0", "", "America/New_York"},
      {"a POSIX offset", "JST-9", "", "Asia/Tokyo"},
      {"a POSIX offset of half an hour", "<+0530>-5:30", "", "Asia/Kolkata"},
      {"a POSIX rule with the flags the other way round", "GMT0IST,M3.5.0/1,M10.5.0", "",
       "Europe/Dublin"},
      {"UTC by its offset", "UTC0", "", "UTC"},
      {"a POSIX rule no zone follows this year", "CST6CDT", "", ""},
      {"an offset no zone keeps", "XXX3", "", ""},
      {"a POSIX id wins over the system's file", "JST-9", est5edt, "Asia/Tokyo"},
  });
}

// The zone the C library reads for the clock's local time: links are followed hop by hop,
// relative ones from their own folder, and anything but a zone-sized ordinary file is not
// read.
TEST_F(SystemZoneTest, TheZoneTheCLibraryReadsLinksRelativeOrAbsoluteAndNoPipes) {
  const fs::path db = scratch_ / "db";
  fs::copy(fixtureZoneinfo(), db, fs::copy_options::recursive);
  fs::create_symlink("America/New_York", db / "posixrules");  // as Debian ships it
  fs::create_directories(db / "Link");
  fs::create_symlink("../posixrules", db / "Link/Chain");
  fs::create_directories(scratch_ / "etc");
  fs::create_symlink("../db/Asia/Tokyo", scratch_ / "etc/localtime");
  fs::create_symlink((db / "Australia/Sydney").string(), scratch_ / "absolute");
  const std::string fifo = (scratch_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, scratch_ / "to_fifo");
  // A zone file with a valid head, grown to 100 MB (sparse, so the test writes nothing).
  const std::string huge = (scratch_ / "huge").string();
  fs::copy_file(db / "America/New_York", huge);
  fs::resize_file(huge, 100 << 20);
  const std::string localtime = (scratch_ / "etc/localtime").string();
  struct Case {
    const char* name;
    std::string id;
    const char* expected;
  };
  const Case cases[] = {
      {"no TZ: the system's relative link", "", "Asia/Tokyo"},
      {"TZ naming a relative link", "posixrules", "America/New_York"},
      {"TZ naming a chain of relative links", ":Link/Chain", "America/New_York"},
      {"TZ naming an absolute link by its path", ":" + (scratch_ / "absolute").string(),
       "Australia/Sydney"},
      {"TZ naming the system's link by its path", ":" + localtime, "Asia/Tokyo"},
      {"an empty TZ (':') is UTC, not the system's file", ":", ""},
      {"an unknown TZ is UTC, not the system's file", "Nowhere/Foo", ""},
      {"TZ naming a pipe", ":" + fifo, ""},
      {"TZ naming a link to a pipe", ":" + (scratch_ / "to_fifo").string(), ""},
      {"TZ naming a folder", ":" + (db / "Asia").string(), ""},
      {"TZ naming a device", ":/dev/null", ""},
      {"TZ naming a zone file of 100 MB", ":" + huge, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(readCatalogue(db.string(), 2026, c.id, localtime).systemStandardName, c.expected);
  }

  struct TzCase {
    std::string tz;
    bool refused;
  };
  const TzCase tzCases[] = {
      {":" + fifo, true},    {fifo, true},           {":" + (scratch_ / "to_fifo").string(), true},
      {"Asia", true},  // a folder of the database
      {":/dev/tty", true},   {"Asia/Tokyo", false},  {":" + localtime, false},
      {"posixrules", false}, {"Nowhere/Foo", false}, {"EST5EDT,M3.2.0,M11.1.0", false},
      {"", false},           {":", false},           {":" + huge, true},
  };
  for (const TzCase& c : tzCases) {
    SCOPED_TRACE(c.tz);
    EXPECT_EQ(tzNamesUnsafeFile(c.tz, db.string()), c.refused);
  }
  // Nor is such a file read as a zone when it is the system's.
  fs::remove(scratch_ / "etc/localtime");
  fs::create_symlink(huge, scratch_ / "etc/localtime");
  EXPECT_EQ(readCatalogue(db.string(), 2026, "", localtime).systemStandardName, "");
  FileSource file(huge);
  EXPECT_FALSE(file.isOpen());
  EXPECT_FALSE(readYearTimeline(file, 2026));
}

TEST_F(SystemZoneTest, WithoutTzdataZiOnlyCatalogueIdsAreKnown) {
  fs::create_directories(scratch_ / "db/America");
  fs::copy_file(fixtureZoneinfo() + "/zone.tab", scratch_ / "db/zone.tab");
  fs::copy_file(fixtureZoneinfo() + "/America/New_York", scratch_ / "db/America/New_York");
  const std::string db = (scratch_ / "db").string();
  EXPECT_EQ(readCatalogue(db, 2026, "America/New_York", "").systemStandardName, "America/New_York");
  EXPECT_EQ(readCatalogue(db, 2026, "US/Eastern", "").systemStandardName, "");
  EXPECT_EQ(readCatalogue(db, 2026, "Etc/UTC", "").systemStandardName, "UTC");
}

// Start-up only asks whether there is a catalogue; the answer must be the one reading it
// would give, without blocking on a zone table that is a pipe.
TEST_F(SystemZoneTest, LookingForTheCatalogueAgreesWithReadingIt) {
  const fs::path folderAsTable = scratch_ / "folder";
  fs::create_directories(folderAsTable / "zone.tab");
  const fs::path pipeAsTable = scratch_ / "pipe";
  fs::create_directories(pipeAsTable);
  ASSERT_EQ(::mkfifo((pipeAsTable / "zone.tab").c_str(), 0600), 0);
  const fs::path linkedTable = scratch_ / "linked";
  fs::create_directories(linkedTable);
  fs::create_symlink(fixtureZoneinfo() + "/zone.tab", linkedTable / "zone.tab");
  struct Case {
    const char* name;
    std::string folder;
    bool found;
  };
  const Case cases[] = {
      {"the database", fixtureZoneinfo(), true},
      {"no folder", fixtureZoneinfo() + "/Nowhere", false},
      {"a folder named zone.tab", folderAsTable.string(), false},
      {"a pipe named zone.tab", pipeAsTable.string(), false},
      {"a link to the table", linkedTable.string(), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ZoneCatalogueSource looked = findCatalogue(c.folder);
    EXPECT_EQ(looked.found, c.found);
    EXPECT_EQ(looked.location, c.folder);
    EXPECT_TRUE(looked.zones.empty());
    EXPECT_EQ(readCatalogue(c.folder, 2026, "", "").found, c.found);
  }
}

TEST(ZoneTabTest, KeepsWellFormedLinesWithSafeIdsOnce) {
  const std::string text =
      "# comment\n"
      "\n"
      "US\t+404251-0740023\tAmerica/New_York\tEastern (most areas)\n"
      "JP\t+353916+1394441\tAsia/Tokyo\n"
      "us\t+4042-07400\tLower/Case\n"
      "USA\t+4042-07400\tThree/Letters\n"
      "US\t+4042-0740\tShort/Longitude\n"
      "US\t4042+07400\tNo/Sign\n"
      "US\t+4042-07400\t../../etc/passwd\n"
      "US\t+4042-07400\t/etc/passwd\n"
      "US\t+4042-07400\tDouble//Slash\n"
      "US\t+4042-07400\tWith Space\n"
      "US\t+4042-07400\tFive/Fields\tcomment\textra\n"
      "US\t+4042-07400\n"
      "US +4042-07400 Spaces/Not_Tabs\n"
      "FR\t+4852+00220\tEurope/Paris\r\n"
      "FR\t+4852+00220\tEurope/Paris\tagain\n"
      "NU\t-1901-16955\tPacific/Niue";
  const std::vector<ZoneTabEntry> entries = parseZoneTab(text);
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].countryCode, "US");
  EXPECT_EQ(entries[0].coordinates, "+404251-0740023");
  EXPECT_EQ(entries[0].id, "America/New_York");
  EXPECT_EQ(entries[0].comments, "Eastern (most areas)");
  EXPECT_EQ(entries[1].id, "Asia/Tokyo");
  EXPECT_EQ(entries[1].comments, "");
  EXPECT_EQ(entries[2].id, "Europe/Paris");
  EXPECT_EQ(entries[3].id, "Pacific/Niue");
}

TEST(ZoneTabTest, ZoneIdsStayInsideTheDatabase) {
  struct Case {
    std::string id;
    bool safe;
  };
  const Case cases[] = {
      {"America/New_York", true},
      {"Etc/GMT+5", true},
      {"America/Port-au-Prince", true},
      {"EST5EDT", true},
      {"a.b", true},
      {"", false},
      {"/etc/passwd", false},
      {"a/", false},
      {"a//b", false},
      {".", false},
      {"..", false},
      {"a/../b", false},
      {"a/./b", false},
      {"a b", false},
      {"a\\b", false},
      {"caf\xc3\xa9", false},
      {std::string("a\0b", 3), false},
      {std::string(kMaxZoneIdLength, 'a'), true},
      {std::string(kMaxZoneIdLength + 1, 'a'), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(isSafeZoneId(c.id), c.safe);
  }
}

TEST(ZoneTabTest, LinksComeFromLLinesOnly) {
  const auto links = parseLinks(
      "# version x\n"
      "R US 2007 ma - Mar Su>=8 2 1 D\n"
      "Z America/New_York -4:56:2 - LMT 1883 N 18 17u\n"
      "L America/New_York US/Eastern\n"
      "L Asia/Kolkata Asia/Calcutta\r\n"
      "L only_two\n"
      "L a b c\n"
      "L ../x y\n"
      "Lx a b\n");
  const std::map<std::string, std::string, std::less<>> expected = {
      {"US/Eastern", "America/New_York"}, {"Asia/Calcutta", "Asia/Kolkata"}};
  EXPECT_EQ(links, expected);
}

TEST(ZoneTabTest, DisplayNamesShowTheStandardOffset) {
  struct Case {
    int bias;
    const char* id;
    const char* display;
  };
  const Case cases[] = {
      {300, "America/New_York", "(UTC-05:00) America/New York"},
      {720, "Etc/GMT+12", "(UTC-12:00) Etc/GMT+12"},
      {570, "Pacific/Marquesas", "(UTC-09:30) Pacific/Marquesas"},
      {0, "UTC", "(UTC) UTC"},
      {0, "Europe/London", "(UTC) Europe/London"},
      {-330, "Asia/Kolkata", "(UTC+05:30) Asia/Kolkata"},
      {-765, "Pacific/Chatham", "(UTC+12:45) Pacific/Chatham"},
      {-840, "Pacific/Kiritimati", "(UTC+14:00) Pacific/Kiritimati"},
      {-180, "Africa/Dar_es_Salaam", "(UTC+03:00) Africa/Dar es Salaam"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(displayName(c.bias, c.id), c.display);
  }
}

}  // namespace
}  // namespace tessaron::tzdb::catalogue_test
