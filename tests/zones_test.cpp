// Zone conversion by a record's rules, the catalogue at start-up, and the alternate
// zone's selector, label and time.

#include <gtest/gtest.h>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "tests/core_internals.h"
#include "tests/fake_platform.h"
#include "tests/zone_rules.h"
#include "timezones/alternate_zone.h"
#include "timezones/conversion.h"

namespace tessaron::zones_test {
namespace {

using test::weekdayRule;

ZoneRecord zone(int bias, int daylightBias, TransitionRule daylight, TransitionRule standard,
                const char* display = "", const char* std = "") {
  ZoneRecord z;
  z.Bias = bias;
  z.DaylightBias = daylightBias;
  z.DaylightDate = daylight;
  z.StandardDate = standard;
  z.Display = display;
  z.Std = std;
  return z;
}

// New York: second Sunday of March 02:00 EST to first Sunday of November 02:00 EDT.
const ZoneRecord kNewYork = zone(300, -60, weekdayRule(3, 0, 2, 2), weekdayRule(11, 0, 1, 2),
                                 "(UTC-05:00) America/New York", "America/New_York");
// Sydney: first Sunday of October 02:00 AEST to first Sunday of April 03:00 AEDT.
const ZoneRecord kSydney = zone(-600, -60, weekdayRule(10, 0, 1, 2), weekdayRule(4, 0, 1, 3),
                                "(UTC+10:00) Australia/Sydney", "Australia/Sydney");
// Lord Howe: half an hour of daylight saving, at 02:00 both ways.
const ZoneRecord kLordHowe = zone(-630, -30, weekdayRule(10, 0, 1, 2), weekdayRule(4, 0, 1, 2));
// Troll: two hours, last Sunday of March 01:00 UTC to last Sunday of October 01:00 UTC.
const ZoneRecord kTroll = zone(0, -120, weekdayRule(3, 0, 5, 1), weekdayRule(10, 0, 5, 3));
// Chatham: UTC+12:45, daylight +13:45, last Sunday of September 02:45 to first Sunday of April
// 03:45.
const ZoneRecord kChatham =
    zone(-765, -60, weekdayRule(9, 0, 5, 2, 45), weekdayRule(4, 0, 1, 3, 45));
const ZoneRecord kNoDaylight = zone(-60, -60, TransitionRule{}, weekdayRule(10, 0, 5, 3));

UtcTime utc(int y, int mo, int d, int h, int mi, int s) {
  return makeTime<UtcTime>({y, mo, d, h, mi, s});
}
CivilTime civil(ZoneTime t) { return toCivil(t); }

TEST(ZoneConversion, UtcToZoneAcrossTheChanges) {
  struct Case {
    const char* name;
    const ZoneRecord* zone;
    UtcTime at;
    CivilTime local;
  };
  const Case cases[] = {
      {"New York, a second before the daylight start",
       &kNewYork,
       utc(2026, 3, 8, 6, 59, 59),
       {2026, 3, 8, 1, 59, 59}},
      {"New York, the hour before the daylight start stays standard",
       &kNewYork,
       utc(2026, 3, 8, 6, 30, 0),
       {2026, 3, 8, 1, 30, 0}},
      {"New York, at the daylight start",
       &kNewYork,
       utc(2026, 3, 8, 7, 0, 0),
       {2026, 3, 8, 3, 0, 0}},
      {"New York, first pass of the repeated hour",
       &kNewYork,
       utc(2026, 11, 1, 5, 30, 0),
       {2026, 11, 1, 1, 30, 0}},
      {"New York, a second before the standard start",
       &kNewYork,
       utc(2026, 11, 1, 5, 59, 59),
       {2026, 11, 1, 1, 59, 59}},
      {"New York, at the standard start",
       &kNewYork,
       utc(2026, 11, 1, 6, 0, 0),
       {2026, 11, 1, 1, 0, 0}},
      {"New York, second pass of the repeated hour",
       &kNewYork,
       utc(2026, 11, 1, 6, 30, 0),
       {2026, 11, 1, 1, 30, 0}},
      {"Sydney, summer across the new year",
       &kSydney,
       utc(2026, 12, 31, 13, 30, 0),
       {2027, 1, 1, 0, 30, 0}},
      {"Sydney, winter", &kSydney, utc(2026, 7, 1, 0, 0, 0), {2026, 7, 1, 10, 0, 0}},
      {"Sydney, at the daylight start",
       &kSydney,
       utc(2026, 10, 3, 16, 0, 0),
       {2026, 10, 4, 3, 0, 0}},
      {"Sydney, a second before it",
       &kSydney,
       utc(2026, 10, 3, 15, 59, 59),
       {2026, 10, 4, 1, 59, 59}},
      {"Sydney, at the standard start", &kSydney, utc(2026, 4, 4, 16, 0, 0), {2026, 4, 5, 2, 0, 0}},
      {"Lord Howe, half an hour of daylight",
       &kLordHowe,
       utc(2026, 1, 15, 0, 0, 0),
       {2026, 1, 15, 11, 0, 0}},
      {"Lord Howe, at the daylight start",
       &kLordHowe,
       utc(2026, 10, 3, 15, 30, 0),
       {2026, 10, 4, 2, 30, 0}},
      {"Troll, two hours of daylight", &kTroll, utc(2026, 6, 1, 12, 0, 0), {2026, 6, 1, 14, 0, 0}},
      {"Troll, at the standard start",
       &kTroll,
       utc(2026, 10, 25, 1, 0, 0),
       {2026, 10, 25, 1, 0, 0}},
      {"Chatham, daylight in January",
       &kChatham,
       utc(2026, 1, 10, 12, 0, 0),
       {2026, 1, 11, 1, 45, 0}},
      {"Chatham, standard in July", &kChatham, utc(2026, 7, 10, 12, 0, 0), {2026, 7, 11, 0, 45, 0}},
      {"no daylight rule: always the bias, carried past midnight",
       &kNoDaylight,
       utc(2026, 7, 1, 23, 30, 0),
       {2026, 7, 2, 0, 30, 0}},
      {"a bias of 300 carried back past midnight",
       &kNewYork,
       utc(2026, 1, 1, 0, 30, 0),
       {2025, 12, 31, 19, 30, 0}},
      {"an empty record is UTC", nullptr, utc(2026, 5, 5, 5, 5, 5), {2026, 5, 5, 5, 5, 5}},
  };
  const ZoneRecord empty;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(civil(UtcToZone(c.at, c.zone ? *c.zone : empty)), c.local);
  }
}

// Two computations of the same instants: every second around New York's changes,
// UtcToZone against the offset the rules say by the UTC instant.
TEST(ZoneConversion, EverySecondAroundTheChangesAgreesWithTheRuleInstants) {
  const UtcTime start = utc(2026, 3, 8, 7, 0, 0), end = utc(2026, 11, 1, 6, 0, 0);
  for (const UtcTime centre : {start, end}) {
    for (std::int64_t d = -7200; d <= 7200; ++d) {
      const UtcTime t = centre + std::chrono::seconds(d);
      const bool daylight = t >= start && t < end;
      const std::int64_t expected = t.time_since_epoch().count() - (daylight ? 240 : 300) * 60;
      ASSERT_EQ(UtcToZone(t, kNewYork).time_since_epoch().count(), expected) << d;
    }
  }
}

TEST(ZoneConversion, DaylightDecisionForALocalTime) {
  auto local = [](int mo, int d, int h, int mi, int s) {
    return makeTime<ZoneTime>({2026, mo, d, h, mi, s});
  };
  struct Case {
    const char* name;
    const ZoneRecord* zone;
    ZoneTime t;
    bool daylight;
  };
  const Case cases[] = {
      {"exactly at the daylight start is standard", &kNewYork, local(3, 8, 2, 0, 0), false},
      {"a second later", &kNewYork, local(3, 8, 2, 0, 1), true},
      {"exactly at the standard start is standard", &kNewYork, local(11, 1, 2, 0, 0), false},
      {"a second before it", &kNewYork, local(11, 1, 1, 59, 59), true},
      {"southern summer after the October change", &kSydney, local(12, 25, 12, 0, 0), true},
      {"southern summer before the April change", &kSydney, local(2, 1, 12, 0, 0), true},
      {"southern winter", &kSydney, local(7, 1, 12, 0, 0), false},
      {"month 0: never", &kNoDaylight, local(7, 1, 12, 0, 0), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsDaylightTime(c.t, *c.zone), c.daylight);
  }
}

TEST(ZoneConversion, AWallTimeLivedOnceAndBackGivesTheLocalTime) {
  struct Case {
    const char* name;
    CivilTime local;
    CivilTime utc;
  };
  // Sydney: +10:00 standard, +11:00 from the first Sunday of October to the first of April.
  const Case cases[] = {
      {"southern winter, standard", {2026, 7, 1, 12, 0, 0}, {2026, 7, 1, 2, 0, 0}},
      {"southern summer, daylight", {2026, 1, 15, 12, 0, 0}, {2026, 1, 15, 1, 0, 0}},
      {"a second before the October change", {2026, 10, 4, 1, 59, 59}, {2026, 10, 3, 15, 59, 59}},
      {"just after it", {2026, 10, 4, 3, 0, 1}, {2026, 10, 3, 16, 0, 1}},
      {"after the April change", {2026, 4, 5, 3, 0, 0}, {2026, 4, 4, 17, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WallTimeLookup found = lookUpWallTime(makeTime<ZoneTime>(c.local), kSydney);
    EXPECT_EQ(found.kind, WallTimeLookup::Kind::Unique);
    EXPECT_EQ(found.pre, makeTime<UtcTime>(c.utc));
  }
  // Every fifth hour of the year returns; the step never lands in the skipped hour
  // (2026-10-04 02:00), which has no UTC instant of its own.
  for (int hour = 0; hour < 24 * 365; hour += 5) {
    const ZoneTime local =
        makeTime<ZoneTime>({2026, 1, 1, 0, 0, 0}) + std::chrono::seconds(hour * 3600LL);
    ASSERT_EQ(UtcToZone(lookUpWallTime(local, kSydney).pre, kSydney), local) << hour;
  }
}

// Both passes of a repeated time, and both readings of a skipped one, in a zone whose
// daylight lies in the northern summer and one whose lies in the southern.
TEST(ZoneConversion, AWallTimeSaysWhetherItIsSkippedOrRepeated) {
  using Kind = WallTimeLookup::Kind;
  struct Case {
    const char* name;
    const ZoneRecord* zone;
    CivilTime wall;
    Kind kind;
    CivilTime pre, post;  // UTC
  };
  const Case cases[] = {
      {"New York, 02:30 on the spring change",
       &kNewYork,
       {2026, 3, 8, 2, 30, 0},
       Kind::Skipped,
       {2026, 3, 8, 7, 30, 0},
       {2026, 3, 8, 6, 30, 0}},
      {"New York, 03:00 just after it",
       &kNewYork,
       {2026, 3, 8, 3, 0, 0},
       Kind::Unique,
       {2026, 3, 8, 7, 0, 0},
       {2026, 3, 8, 7, 0, 0}},
      {"New York, 01:30 on the autumn change",
       &kNewYork,
       {2026, 11, 1, 1, 30, 0},
       Kind::Repeated,
       {2026, 11, 1, 5, 30, 0},
       {2026, 11, 1, 6, 30, 0}},
      {"New York, 02:00 just after the second pass",
       &kNewYork,
       {2026, 11, 1, 2, 0, 0},
       Kind::Unique,
       {2026, 11, 1, 7, 0, 0},
       {2026, 11, 1, 7, 0, 0}},
      {"Sydney, 02:30 on the October change",
       &kSydney,
       {2026, 10, 4, 2, 30, 0},
       Kind::Skipped,
       {2026, 10, 3, 16, 30, 0},
       {2026, 10, 3, 15, 30, 0}},
      {"Sydney, 02:30 on the April change",
       &kSydney,
       {2026, 4, 5, 2, 30, 0},
       Kind::Repeated,
       {2026, 4, 4, 15, 30, 0},
       {2026, 4, 4, 16, 30, 0}},
      {"Sydney, winter noon",
       &kSydney,
       {2026, 7, 1, 12, 0, 0},
       Kind::Unique,
       {2026, 7, 1, 2, 0, 0},
       {2026, 7, 1, 2, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WallTimeLookup found = lookUpWallTime(makeTime<ZoneTime>(c.wall), *c.zone);
    EXPECT_EQ(found.kind, c.kind);
    EXPECT_EQ(found.pre, makeTime<UtcTime>(c.pre));
    EXPECT_EQ(found.post, makeTime<UtcTime>(c.post));
    // Each instant given for a time lived shows it again.
    if (c.kind != Kind::Skipped) {
      EXPECT_EQ(UtcToZone(found.pre, *c.zone), makeTime<ZoneTime>(c.wall));
      EXPECT_EQ(UtcToZone(found.post, *c.zone), makeTime<ZoneTime>(c.wall));
    }
  }
}

TEST(ZoneConversion, TransitionDays) {
  struct Case {
    const char* name;
    TransitionRule rule;
    int year;
    CivilTime day;
  };
  TransitionRule fixed = weekdayRule(12, 0, 25, 0);
  fixed.Year = 1999;
  const Case cases[] = {
      {"second Sunday of March", weekdayRule(3, 0, 2, 2), 2026, {2026, 3, 8, 0, 0, 0}},
      {"occurrence 5 in a month of four Sundays is the last",
       weekdayRule(2, 0, 5, 2),
       2026,
       {2026, 2, 22, 0, 0, 0}},
      {"occurrence 5 in a month of five Sundays",
       weekdayRule(3, 0, 5, 2),
       2026,
       {2026, 3, 29, 0, 0, 0}},
      {"last Saturday of a leap February", weekdayRule(2, 6, 5, 0), 2028, {2028, 2, 26, 0, 0, 0}},
      {"a fixed date falls on its day in any year", fixed, 2031, {2031, 12, 25, 0, 0, 0}},
      {"month 0 gives the zero date", weekdayRule(0, 0, 1, 0), 2026, {1899, 12, 30, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(toCivil(TransitionDay(c.rule, c.year)), c.day);
  }
}

// The catalogue's entry for `z`: its rules and names, or an empty record for a zone whose
// file cannot be read.
ZoneRecord key(const ZoneRecord& z, bool opened = true) {
  if (!opened) return {};
  ZoneRecord k;
  static_cast<ZoneRules&>(k) = z;
  k.Display = z.Display;
  k.Std = z.Std;
  return k;
}

struct Catalogue : ::testing::Test {
  test::FakePlatform platform;
  Tessaron core{platform};
  const ZoneRecord utcZone = zone(0, 0, {}, {}, "(UTC) UTC", "UTC");

  void load(std::vector<ZoneRecord> zones, const std::string& systemName) {
    platform.catalogue.zones = std::move(zones);
    platform.catalogue.systemStandardName = systemName;
    core.Form_Load();
  }
};

TEST_F(Catalogue, ListsEveryZoneInItsOwnOrderAndSelectsTheSystemZone) {
  load({key(kSydney), key(kNewYork), key(utcZone)}, "America/New_York");
  const std::vector<std::string> expected = {kSydney.Display, kNewYork.Display, "(UTC) UTC"};
  EXPECT_EQ(core.alternateZone().lists()[0].List, expected);
  EXPECT_EQ(core.alternateZone().lists()[1].List, expected);
  EXPECT_EQ(core.alternateZone().lists()[0].ListIndex, 1);
  EXPECT_EQ(core.alternateZone().lists()[1].ListIndex, 1);
  EXPECT_EQ(core.alternateZone().zonePair()[0], kNewYork);
  EXPECT_EQ(core.alternateZone().zonePair()[1], kNewYork);
  EXPECT_FALSE(core.alternateZone().label().Visible);
  EXPECT_FALSE(core.alternateZone().lists()[1].Visible);
  EXPECT_EQ(core.alternateZone().label().Caption, "(UTC-05:00)");
  EXPECT_EQ(platform.catalogueYear, platform.now.year);
}

TEST_F(Catalogue, WhichZoneIsSelected) {
  struct Case {
    const char* name;
    std::string systemName;
    std::vector<std::string> stds;
    int selected;
  };
  const Case cases[] = {
      {"no match takes UTC", "Mars/Olympus", {"A", "UTC", "B"}, 1},
      {"no match and no UTC takes the first", "Mars/Olympus", {"A", "B"}, 0},
      {"the later of two matches wins", "B", {"B", "A", "B"}, 2},
      {"the system name is trimmed", "  B ", {"A", "B"}, 1},
      {"a zone's name is not trimmed", "B", {"A", "B "}, 0},
      {"an empty system name is no match", "", {"A", "", "UTC"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform p;
    Tessaron t(p);
    for (const std::string& s : c.stds) {
      ZoneRecord z = kNewYork;
      z.Std = s;
      p.catalogue.zones.push_back(key(z));
    }
    p.catalogue.systemStandardName = c.systemName;
    t.Form_Load();
    EXPECT_EQ(t.alternateZone().lists()[1].ListIndex, c.selected);
  }
}

TEST_F(Catalogue, AZoneThatCannotBeReadIsListedEmpty) {
  load({key(kNewYork, false), key(kSydney)}, "");
  EXPECT_EQ(core.alternateZone().catalogue()[0], ZoneRecord{});
  EXPECT_EQ(core.alternateZone().lists()[1].List[0], "");
  EXPECT_EQ(core.alternateZone().catalogue()[1].Display, kSydney.Display);
}

// Start-up in two steps: the window shows the time before any zone file is read, and
// the catalogue read after it leaves the clock as a start-up in one step does.
TEST_F(Catalogue, TheTimeShowsBeforeTheCatalogueIsRead) {
  platform.catalogue.zones = {key(kSydney), key(kNewYork), key(utcZone)};
  platform.catalogue.systemStandardName = "America/New_York";
  platform.time = {21, 43, 17};
  core.loadWindow();
  EXPECT_EQ(platform.catalogueReads, 0);
  EXPECT_FALSE(core.alternateZone().lists()[1].Visible) << "no empty selector in the first frame";
  EXPECT_FALSE(core.alternateZone().label().Visible);
  int hour = 0;
  for (int i = 0; i < 5; ++i)
    hour = hour * 2 + (core.dotLayout().dots()[i].FillColor == core.colours().OnColor);
  EXPECT_EQ(hour, platform.time.hour) << "the hour dots show the time";
  const std::vector<Shape> firstFrame(core.dotLayout().dots().begin(),
                                      core.dotLayout().dots().end());
  ASSERT_TRUE(core.loadZoneCatalogue());

  test::FakePlatform other;
  other.catalogue = platform.catalogue;
  other.time = platform.time;
  Tessaron oneStep{other};
  oneStep.Form_Load();
  EXPECT_EQ(firstFrame, std::vector<Shape>(oneStep.dotLayout().dots().begin(),
                                           oneStep.dotLayout().dots().end()));
  EXPECT_EQ(core.alternateZone().lists()[1].List, oneStep.alternateZone().lists()[1].List);
  EXPECT_EQ(core.alternateZone().lists()[1].Visible, oneStep.alternateZone().lists()[1].Visible);
  EXPECT_EQ(core.alternateZone().zonePair()[0], oneStep.alternateZone().zonePair()[0]);
  EXPECT_EQ(core.alternateZone().label().Visible, oneStep.alternateZone().label().Visible);
  EXPECT_EQ(core.commandBar().item(Command::AltTimeZone).Checked,
            oneStep.commandBar().item(Command::AltTimeZone).Checked);
}

// The zone option asked for before start-up read the catalogue: it is read then, once.
TEST_F(Catalogue, TheZoneOptionBeforeTheCatalogueReadsItOnce) {
  platform.catalogue.zones = {key(kSydney), key(kNewYork), key(utcZone)};
  platform.catalogue.systemStandardName = "America/New_York";
  core.loadWindow();
  core.AltTimeZone_Click();
  EXPECT_EQ(platform.catalogueReads, 1);
  EXPECT_TRUE(core.alternateZone().lists()[1].Visible);
  EXPECT_EQ(core.alternateZone().lists()[1].List.size(), 3u);
  EXPECT_EQ(core.alternateZone().lists()[1].ListIndex, 1);
  EXPECT_TRUE(core.loadZoneCatalogue());
  EXPECT_EQ(platform.catalogueReads, 1) << "start-up's turn reads nothing again";
  EXPECT_TRUE(core.alternateZone().lists()[1].Visible) << "and leaves the open selector as it is";
}

TEST_F(Catalogue, ZonesAreFoundByTheirCitiesAndCountriesInTheUsersLanguage) {
  const auto place = [](const char* display, const char* id, const char* mapId) {
    ZoneRecord k = key(kNewYork);
    k.Display = display;
    k.Std = id;
    k.MapID = mapId;
    return k;
  };
  load({place("(UTC-03:00) America/Sao Paulo", "America/Sao_Paulo", "BR -2332-04637"),
        place("(UTC+01:00) Europe/Berlin", "Europe/Berlin", "DE +5230+01322"),
        place("(UTC+01:00) Europe/Busingen", "Europe/Busingen", "DE +4742+00841"),
        place("(UTC+05:30) Asia/Kolkata", "Asia/Kolkata", "IN +2232+08822"),
        place("(UTC+09:00) Asia/Tokyo", "Asia/Tokyo", "JP +353916+1394441"), key(utcZone, false)},
       "Asia/Tokyo");
  // What the desktop knows in German.
  platform.places = {
      {"America/Sao_Paulo|BR", {"Sao Paulo", "S\xC3\xA3o Paulo", "Brazil", "Brasilien"}},
      {"Europe/Berlin|DE", {"Berlin", "Germany", "Deutschland"}},
      {"Europe/Busingen|DE", {"Busingen", "B\xC3\xBCsingen", "Germany", "Deutschland"}},
      {"Asia/Kolkata|IN", {"Kolkata", "Kalkutta", "India", "Indien"}},
      {"Asia/Tokyo|JP", {"Tokyo", "Tokio", "Japan"}},
  };
  struct Case {
    const char* name;
    const char* typed;
    std::vector<int> found;
  };
  const Case cases[] = {
      {"a country in English", "India", {3}},
      {"a country in the user's language, for each of its zones", "deutschland", {1, 2}},
      {"a city in the user's language", "TOKIO", {4}},
      {"accents aside, typed or listed", "s\xC3\xA3o paulo", {0}},
      {"a place it starts before those it is inside", "in", {3, 1, 2}},
      {"the zone's own name still", "asia/tok", {4}},
      {"no place holds it", "atlantis", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(core.findZones(c.typed), c.found);
  }
  EXPECT_EQ(
      platform.callsStartingWith("placeNames"),
      (std::vector<std::string>{"placeNames America/Sao_Paulo BR", "placeNames Europe/Berlin DE",
                                "placeNames Europe/Busingen DE", "placeNames Asia/Kolkata IN",
                                "placeNames Asia/Tokyo JP"}))
      << "asked once for each zone that could be read, by its id and its country's code";
}

TEST_F(Catalogue, NoCatalogueShowsTheMessageAndEndsTheProgram) {
  platform.catalogue.found = false;
  core.Form_Load();
  EXPECT_TRUE(core.unloaded());
  EXPECT_EQ(platform.callsStartingWith("messageBox"),
            std::vector<std::string>{
                "messageBox 0 |Unable to locate Time Zones information in Registry under the "
                "key: \r\n/usr/share/zoneinfo"});
}

// A search keeps each name's search form; an entry whose name changes (the offset it lists)
// is found by its new name, not its old one.
TEST_F(Catalogue, ASearchAfterAnEntryIsRenamedFindsItsNewName) {
  ZoneRecord berlin = key(kNewYork);
  berlin.Display = "(UTC+01:00) Europe/Berlin";
  berlin.Std = "Europe/Berlin";
  load({berlin, key(utcZone)}, "UTC");
  EXPECT_EQ(core.findZones("+01:00"), std::vector<int>{0});
  EXPECT_EQ(core.findZones("+02:00"), std::vector<int>{});
  platform.catalogue.zones[0].Display = "(UTC+02:00) Europe/Berlin";
  core.systemZoneChanged();
  ASSERT_EQ(core.alternateZone().lists()[1].List[0], "(UTC+02:00) Europe/Berlin");
  EXPECT_EQ(core.findZones("+02:00"), std::vector<int>{0});
  EXPECT_EQ(core.findZones("+01:00"), std::vector<int>{});
}

// Start-up as the desktop runs it: whether there is a catalogue is asked once the time is
// on screen; the catalogue itself is read when the zone option first needs it, so a clock
// whose option is never used holds none of it.
TEST_F(Catalogue, StartUpLooksForTheCatalogueAndTheZoneOptionReadsIt) {
  platform.catalogue.zones = {key(kSydney), key(kNewYork), key(utcZone)};
  platform.catalogue.systemStandardName = "America/New_York";
  platform.time = {21, 43, 17};
  core.loadWindow();
  ASSERT_TRUE(core.checkZoneCatalogue());
  EXPECT_EQ(platform.catalogueLooks, 1);
  EXPECT_EQ(platform.catalogueReads, 0);
  EXPECT_TRUE(platform.callsStartingWith("messageBox").empty());

  // The system's zone changes before: the time is shown anew and nothing is read.
  platform.time = {22, 43, 17};
  core.systemZoneChanged();
  int hour = 0;
  for (int i = 0; i < 5; ++i)
    hour = hour * 2 + (core.dotLayout().dots()[i].FillColor == core.colours().OnColor);
  EXPECT_EQ(hour, 22);
  EXPECT_EQ(platform.catalogueReads, 0);

  core.AltTimeZone_Click();
  EXPECT_EQ(platform.catalogueReads, 1);
  EXPECT_TRUE(core.alternateZone().lists()[1].Visible);
  EXPECT_EQ(core.alternateZone().lists()[1].ListIndex, 1) << "the system's zone of then";
  EXPECT_TRUE(core.checkZoneCatalogue());
  EXPECT_EQ(platform.catalogueLooks, 1) << "once read, nothing is looked for again";
}

TEST_F(Catalogue, StartUpWithoutACatalogueShowsTheMessageAndEndsTheProgram) {
  platform.catalogue.found = false;
  core.loadWindow();
  EXPECT_FALSE(core.checkZoneCatalogue());
  EXPECT_TRUE(core.unloaded());
  EXPECT_EQ(platform.catalogueReads, 0);
  EXPECT_EQ(platform.callsStartingWith("messageBox"),
            std::vector<std::string>{
                "messageBox 0 |Unable to locate Time Zones information in Registry under the "
                "key: \r\n/usr/share/zoneinfo"});
  core.AltTimeZone_Click();
  EXPECT_EQ(platform.catalogueReads, 0) << "an ended program reads nothing";
}

struct AlternateZone : Catalogue {
  void SetUp() override { load({key(kNewYork), key(kSydney), key(utcZone)}, "America/New_York"); }
  void choose(int index) { core.selectZone(1, index); }
};

TEST_F(AlternateZone, ToggleAndChoiceInEveryReachableState) {
  struct Case {
    const char* name;
    std::vector<char> path;  // 't' toggle, 'c' choice; from start to the state
    const char* state;
    const char* afterToggle;
    const char* afterChoice;  // nullptr: no choice possible (selector hidden)
  };
  const Case cases[] = {
      {"start", {}, "clear/hidden/hidden", "set/visible/hidden", nullptr},
      {"turned on", {'t'}, "set/visible/hidden", "clear/visible/hidden", "set/hidden/visible"},
      {"chosen", {'t', 'c'}, "set/hidden/visible", "clear/hidden/hidden", nullptr},
      {"on then off",
       {'t', 't'},
       "clear/visible/hidden",
       "set/visible/hidden",
       "clear/hidden/visible"},
      {"chosen while off", {'t', 't', 'c'}, "clear/hidden/visible", "set/visible/visible", nullptr},
      {"on over a shown label",
       {'t', 't', 'c', 't'},
       "set/visible/visible",
       "clear/visible/hidden",
       "set/hidden/visible"},
  };
  for (const Case& c : cases) {
    for (bool toggle : {true, false}) {
      if (!toggle && c.afterChoice == nullptr) continue;
      SCOPED_TRACE(std::string(c.name) + (toggle ? ", toggle" : ", choice"));
      test::FakePlatform p;
      Tessaron t(p);
      p.catalogue.zones = {key(kNewYork), key(kSydney)};
      t.Form_Load();
      auto stateOf = [&t] {
        return std::string(t.commandBar().item(Command::AltTimeZone).Checked ? "set" : "clear") +
               "/" + (t.alternateZone().lists()[1].Visible ? "visible" : "hidden") + "/" +
               (t.alternateZone().label().Visible ? "visible" : "hidden");
      };
      for (char step : c.path) {
        if (step == 't') t.AltTimeZone_Click();
        if (step == 'c') t.selectZone(1, 1);
      }
      ASSERT_EQ(stateOf(), c.state);
      if (toggle) {
        t.AltTimeZone_Click();
        EXPECT_EQ(stateOf(), c.afterToggle);
        EXPECT_EQ(t.commandBar().toolbar().button(kButtonAltTimeZone).Value,
                  t.commandBar().item(Command::AltTimeZone).Checked ? 1 : 0);
      } else {
        t.selectZone(1, 1);
        EXPECT_EQ(stateOf(), c.afterChoice);
      }
    }
  }
}

TEST_F(AlternateZone, SelectorTakesTheWindowWidthOfTheMomentAndTheLabelItsPlace) {
  platform.width = 5542;
  core.AltTimeZone_Click();
  EXPECT_EQ(core.alternateZone().lists()[1].Width, Twips(5542 - 150));
  EXPECT_EQ(core.alternateZone().lists()[1].Left, Twips(50));
  EXPECT_EQ(core.alternateZone().lists()[1].Top, Twips(384 + 20));
  platform.width = 3622;  // narrowing later leaves the selector as it was
  choose(1);
  EXPECT_EQ(core.alternateZone().lists()[1].Width, Twips(5542 - 150));
  EXPECT_EQ(core.alternateZone().label().Width, Twips(5542 - 150));
  EXPECT_EQ(core.alternateZone().label().Left, Twips(50));
  EXPECT_EQ(core.alternateZone().label().Top, Twips(384 + 20));
  EXPECT_EQ(core.alternateZone().label().Caption, "(UTC+10:00)");
  EXPECT_EQ(core.alternateZone().zonePair()[0], kNewYork);  // the local zone stays
  EXPECT_EQ(core.alternateZone().zonePair()[1], kSydney);
}

TEST_F(AlternateZone, CaptionIsCutAfterTheFirstParenthesis) {
  struct Case {
    const char* display;
    const char* caption;
  };
  for (const Case& c : {Case{"(UTC) UTC", "(UTC)"}, Case{"(a) (b)", "(a)"},
                        Case{"no parenthesis", ""}, Case{")", ")"}}) {
    SCOPED_TRACE(c.display);
    // The database renames the entry under the running clock.
    platform.catalogue.zones[2].Display = c.display;
    core.systemZoneChanged();
    choose(2);
    EXPECT_EQ(core.alternateZone().label().Caption, c.caption);
    EXPECT_TRUE(core.alternateZone().label().Visible);
  }
}

TEST_F(AlternateZone, TheDotsShowTheChosenZonesTimeAtOnce) {
  platform.now = {2026, 7, 1, 8, 15, 40};  // New York local, EDT
  platform.time = {8, 15, 40};
  platform.utcOffset = -4 * 3600;
  core.Seconds_Click();
  core.AltTimeZone_Click();
  choose(1);  // Sydney: 22:15:40 AEST
  auto lit = [&](int first, int count) {
    int v = 0;
    for (int i = first; i < first + count; ++i) {
      v = v * 2 + (core.dotLayout().dots()[i].FillColor == core.colours().OnColor ? 1 : 0);
    }
    return v;
  };
  EXPECT_EQ(lit(0, 5), 22);
  EXPECT_EQ(lit(5, 6), 15);
  EXPECT_EQ(lit(11, 6), 40);
  core.AltTimeZone_Click();  // off: the local time again
  EXPECT_EQ(lit(0, 5), 8);
}

}  // namespace
}  // namespace tessaron::zones_test
