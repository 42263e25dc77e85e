// Exact time on the dots: the alternate zone from the clock's UTC instant by the rules of
// the year it falls in there (fixture zones compiled with zic), every dot redrawn at once
// when what they mean or how they look changes, ticks just after each second begins (each
// minute with the seconds hidden), and the words of each tick from its own instant.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/zone_year.h"
#include "tests/fake_platform.h"
#include "tests/tzdb/tzdb_test_support.h"
#include "timezones/alternate_zone.h"

namespace tessaron::exact_time_test {
namespace {

// The fixture database as the desktop: its catalogue for the start-up year, its zones'
// years on demand.
struct FixtureClock {
  test::FakePlatform platform;
  Tessaron core{platform};

  FixtureClock(const std::string& systemZone, CivilTime utcStart, int utcOffset) {
    const std::string folder = tzdb::test::fixtureZoneinfo();
    platform.catalogueAt = [folder, systemZone](UtcTime at) {
      ZoneCatalogueSource catalogue = tzdb::readCatalogue(folder, at, systemZone, "");
      // The fixture zones of irregular years, which the fixture's zone table leaves out.
      for (const char* id :
           {"America/Havana", "America/Vancouver", "Asia/Gaza", "Pacific/Kiritimati"}) {
        tzdb::ListedOffset listed;
        catalogue.zones.push_back(
            tzdb::readZoneRecord(folder, {"ZZ", "+0000+00000", id, ""}, at, &listed));
        catalogue.listedUntil = std::min(catalogue.listedUntil, listed.until);
      }
      return catalogue;
    };
    platform.zoneYears = [folder](const std::string& id, int year) {
      return tzdb::readZoneYear(folder, id, year);
    };
    setClock(utcStart, utcOffset);
    core.Form_Load();
    core.Seconds_Click();
  }
  // The system clock at a UTC instant, its local wall time `utcOffset` seconds east.
  void setClock(CivilTime utc, int utcOffset, int millisecond = 0) {
    const CivilTime local = toCivil(wallTimeAt(makeTime<UtcTime>(utc), UtcOffset(utcOffset)));
    platform.now = local;
    platform.time = {local.hour, local.minute, local.second};
    platform.utcOffset = utcOffset;
    platform.millisecond = millisecond;
  }
  void choose(const std::string& zoneId) {
    if (!core.commandBar().item(Command::AltTimeZone).Checked) core.AltTimeZone_Click();
    const auto& zones = core.alternateZone().catalogue();
    for (std::size_t i = 0; i < zones.size(); ++i) {
      if (zones[i].Std == zoneId) core.selectZone(1, static_cast<int>(i));
    }
    ASSERT_EQ(core.alternateZone().zonePair()[1].Std, zoneId);
  }
  // hh:mm:ss as the row of dots shows it.
  std::string shown() const {
    const auto bits = [&](int first, int count) {
      int v = 0;
      for (int i = first; i < first + count; ++i) {
        v = v * 2 + (core.dotLayout().dots()[i].FillColor == core.colours().OnColor ? 1 : 0);
      }
      return v;
    };
    char text[40];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", bits(0, 5), bits(5, 6), bits(11, 6));
    return text;
  }
};

constexpr int kHour = 3600;

TEST(ExactTime, TheAlternateZoneAtEachInstant) {
  struct Case {
    const char* name;
    const char* system;  // the zone the clock runs in
    int utcOffset;       // of the system clock at `utc`
    const char* zone;    // the alternate zone
    CivilTime utc;
    const char* shown;
  };
  const Case cases[] = {
      {"New York's repeated hour, first pass (EDT): Tokyo",
       "America/New_York",
       -4 * kHour,
       "Asia/Tokyo",
       {2026, 11, 1, 5, 30, 0},
       "14:30:00"},
      {"New York's repeated hour, second pass (EST): Tokyo an hour later",
       "America/New_York",
       -5 * kHour,
       "Asia/Tokyo",
       {2026, 11, 1, 6, 30, 0},
       "15:30:00"},
      {"New Year in New York, Havana in 2027's daylight time",
       "America/New_York",
       -5 * kHour,
       "America/Havana",
       {2027, 1, 1, 5, 0, 0},
       "01:00:00"},
      {"Kiritimati's last second of 2026",
       "UTC",
       0,
       "Pacific/Kiritimati",
       {2026, 12, 31, 9, 59, 59},
       "23:59:59"},
      {"Kiritimati's first second of 2027",
       "UTC",
       0,
       "Pacific/Kiritimati",
       {2026, 12, 31, 10, 0, 0},
       "00:00:00"},
      {"a permanent change: Vancouver at -7 in December 2026",
       "UTC",
       0,
       "America/Vancouver",
       {2026, 12, 1, 12, 0, 0},
       "05:00:00"},
      {"daylight time across New Year: Havana's last second of it",
       "UTC",
       0,
       "America/Havana",
       {2027, 11, 7, 4, 59, 59},
       "00:59:59"},
      {"daylight time across New Year: Havana's standard time again",
       "UTC",
       0,
       "America/Havana",
       {2027, 11, 7, 5, 0, 0},
       "00:00:00"},
      {"two daylight periods: Gaza in the break",
       "UTC",
       0,
       "Asia/Gaza",
       {2040, 9, 15, 12, 0, 0},
       "14:00:00"},
      {"two daylight periods: Gaza in the second",
       "UTC",
       0,
       "Asia/Gaza",
       {2040, 10, 22, 12, 0, 0},
       "15:00:00"},
      {"Ramadan twice: Casablanca on 31 December 2029",
       "UTC",
       0,
       "Africa/Casablanca",
       {2029, 12, 31, 12, 0, 0},
       "12:00:00"},
      {"one change of offset: Almaty at +05",
       "UTC",
       0,
       "Asia/Almaty",
       {2024, 6, 1, 0, 0, 0},
       "05:00:00"},
      {"a system zone outside the list (EST5EDT): Tokyo",
       "EST5EDT",
       -5 * kHour,
       "Asia/Tokyo",
       {2026, 12, 10, 12, 0, 0},
       "21:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixtureClock clock(c.system, c.utc, c.utcOffset);
    clock.choose(c.zone);
    clock.core.Timer1_Timer();
    EXPECT_EQ(clock.shown(), c.shown);
  }
}

TEST(ExactTime, TheListStartsOnTheZoneTheClockRunsIn) {
  struct Case {
    const char* system;
    const char* selected;
  };
  for (const Case& c : {Case{"EST5EDT", "America/New_York"}, Case{"Etc/GMT-9", "Asia/Tokyo"},
                        Case{"JST-9", "Asia/Tokyo"}, Case{"XXX3", "UTC"}}) {
    SCOPED_TRACE(c.system);
    FixtureClock clock(c.system, {2026, 12, 10, 12, 0, 0}, 0);
    EXPECT_EQ(clock.core.alternateZone().zonePair()[1].Std, c.selected);
  }
}

// Started in 2039, still running in September 2040: Gaza's 2040 break in daylight time is
// read when the clock first reaches 2040, and kept.
TEST(ExactTime, AClockWhoseYearChangesWhileItRuns) {
  FixtureClock clock("UTC", {2039, 12, 31, 21, 59, 59}, 0);
  clock.choose("Asia/Gaza");
  clock.core.Timer1_Timer();
  EXPECT_EQ(clock.shown(), "23:59:59");
  clock.setClock({2039, 12, 31, 22, 0, 0}, 0);
  clock.core.Timer1_Timer();
  EXPECT_EQ(clock.shown(), "00:00:00");
  clock.setClock({2040, 9, 15, 12, 0, 0}, 0);
  clock.core.Timer1_Timer();
  EXPECT_EQ(clock.shown(), "14:00:00");  // 2039's rules would give daylight time, 15:00
  const auto gaza2040 = std::make_pair(std::string("Asia/Gaza"), 2040);
  const auto& reads = clock.platform.zoneYearReads;
  EXPECT_EQ(std::count(reads.begin(), reads.end(), gaza2040), 1);
  clock.core.Timer1_Timer();
  EXPECT_EQ(std::count(reads.begin(), reads.end(), gaza2040), 1);
}

// At 10:00 UTC on 31 December it is already New Year in Kiritimati: its time comes by
// 2027's rules, read then, while UTC is still in 2026.
TEST(ExactTime, AnInstantTakesTheRulesOfItsYearInTheZone) {
  FixtureClock clock("UTC", {2026, 12, 31, 9, 59, 59}, 0);
  clock.choose("Pacific/Kiritimati");
  const auto kiritimati = [&](int year) {
    const auto& reads = clock.platform.zoneYearReads;
    return std::count(reads.begin(), reads.end(),
                      std::make_pair(std::string("Pacific/Kiritimati"), year));
  };
  EXPECT_EQ(kiritimati(2027), 0);
  clock.setClock({2026, 12, 31, 10, 0, 0}, 0);
  clock.core.Timer1_Timer();
  EXPECT_EQ(clock.shown(), "00:00:00");
  EXPECT_EQ(kiritimati(2027), 1);
}

// What the dots mean or how they look changes between ticks: every dot shows the time now,
// before the next tick. The clock stands at 12:34:30 UTC when shown, 12:35:31 by then.
TEST(ExactTime, EveryChangeRepaintsEveryDotAtOnce) {
  struct Case {
    const char* name;
    void (*change)(FixtureClock&);
    const char* shown;
  };
  const Case cases[] = {
      {"a zone chosen", [](FixtureClock& c) { c.choose("Asia/Kolkata"); }, "18:05:31"},
      {"the alternate zone on", [](FixtureClock& c) { c.core.AltTimeZone_Click(); }, "12:35:31"},
      {"the alternate zone off",
       [](FixtureClock& c) {
         c.choose("Asia/Tokyo");
         c.core.Timer1_Timer();
         c.setClock({2026, 12, 10, 12, 36, 31}, 0);
         c.core.AltTimeZone_Click();
       },
       "12:36:31"},
      {"Transparent", [](FixtureClock& c) { c.core.Transparent_Click(); }, "12:35:31"},
      {"the on colour", [](FixtureClock& c) { c.core.On_Click(); }, "12:35:31"},
      {"the off colour", [](FixtureClock& c) { c.core.Off_Click(); }, "12:35:31"},
      {"the arrangement, twice",
       [](FixtureClock& c) {
         c.core.Vertical_Click();
         c.core.Vertical_Click();
       },
       "12:35:31"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    FixtureClock clock("UTC", {2026, 12, 10, 12, 34, 30}, 0);
    clock.core.Timer1_Timer();
    clock.setClock({2026, 12, 10, 12, 35, 31}, 0);
    k.change(clock);
    EXPECT_EQ(clock.shown(), k.shown);
  }
}

TEST(ExactTime, EachTickComesJustAfterTheNextSecondBegins) {
  struct Case {
    const char* name;
    int second;  // of the clock when the tick runs
    int millisecond;
    int interval;  // until the next tick
    const char* shown;
  };
  const Case cases[] = {
      {"on time", 31, 2, 1000, "12:34:31"},
      {"at the second's start", 31, 0, 1002, "12:34:31"},
      {"half way", 31, 500, 502, "12:34:31"},
      {"late by almost a whole second", 31, 999, 3, "12:34:31"},
      // Woken 1 ms before the second it was armed for: the second shown stays, and the
      // next tick comes 2 ms after the new one begins.
      {"a timer that woke 1 ms early", 30, 999, 3, "12:34:30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixtureClock clock("UTC", {2026, 12, 10, 12, 34, 30}, 0);
    clock.setClock({2026, 12, 10, 12, 34, c.second}, 0, c.millisecond);
    clock.core.Timer1_Timer();
    EXPECT_EQ(clock.core.timerInterval(), c.interval);
    EXPECT_EQ(clock.shown(), c.shown);
  }
}

// The clock set back an hour (or on after a suspend): the next tick shows the new time.
TEST(ExactTime, AJumpOfTheClockIsFollowedAtTheNextTick) {
  FixtureClock clock("UTC", {2026, 12, 10, 12, 34, 30}, 0);
  clock.core.Timer1_Timer();
  clock.setClock({2026, 12, 10, 11, 34, 31}, 0, 700);
  clock.core.Timer1_Timer();
  EXPECT_EQ(clock.shown(), "11:34:31");
  EXPECT_EQ(clock.core.timerInterval(), 302);
}

// The readout tells the offset the dots' time was converted with: each pass of a repeated
// hour its own, and a year one yearly rule cannot hold the zone file's.
TEST(ExactTime, TheReadoutTellsTheOffsetOfTheDotsTime) {
  struct Case {
    const char* name;
    const char* zone;
    CivilTime utc;
    const char* readout;
  };
  const Case cases[] = {
      {"New York's repeated hour, first pass",
       "America/New_York",
       {2026, 11, 1, 5, 30, 0},
       "01:30:00\n2026-11-01\nAmerica/New York, UTC-04:00"},
      {"New York's repeated hour, second pass",
       "America/New_York",
       {2026, 11, 1, 6, 30, 0},
       "01:30:00\n2026-11-01\nAmerica/New York, UTC-05:00"},
      {"Havana in daylight time across New Year",
       "America/Havana",
       {2027, 1, 15, 12, 0, 0},
       "08:00:00\n2027-01-15\nAmerica/Havana, UTC-04:00"},
      {"Havana back in standard time in November 2027",
       "America/Havana",
       {2027, 11, 20, 12, 0, 0},
       "07:00:00\n2027-11-20\nAmerica/Havana, UTC-05:00"},
      {"Vancouver before its change to year-round -07:00",
       "America/Vancouver",
       {2026, 1, 15, 12, 0, 0},
       "04:00:00\n2026-01-15\nAmerica/Vancouver, UTC-08:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixtureClock clock("UTC", c.utc, 0);
    clock.choose(c.zone);
    clock.core.Timer1_Timer();
    EXPECT_EQ(readoutText(clock.core.shown(), clock.platform.localNow()), c.readout);
  }
}

// A clock that sleeps between minutes, or resumes after exactly an hour, meets the same wall
// time twice across a fall-back with no tick between: the second tick tells the offset of
// its own instant. Every backward change of 2026 in the fixture zones, the offsets read from
// the zone file itself, with the seconds shown and hidden.
TEST(ExactTime, TwoTicksAcrossAFallBackEachTellTheirOwnOffset) {
  const std::string folder = tzdb::test::fixtureZoneinfo();
  int fallBacks = 0;
  for (const char* id : {"America/New_York", "Australia/Sydney", "Australia/Lord_Howe",
                         "Europe/Dublin", "America/Santiago", "Pacific/Chatham"}) {
    const ZoneYear year = tzdb::readZoneYear(folder, id, 2026);
    ASSERT_TRUE(year.found) << id;
    UtcOffset before = year.initialOffset;
    for (const ZoneYear::Change& change : year.changes) {
      const UtcOffset after = change.offset;
      const std::int64_t back = (before - after).count();
      before = after;
      if (back <= 0) continue;
      ++fallBacks;
      for (bool seconds : {true, false}) {
        SCOPED_TRACE(std::string(id) + (seconds ? ", seconds shown" : ", seconds hidden"));
        // 30 s into the repeated time's first pass, then the same wall time on the second.
        const UtcTime first = change.at - std::chrono::seconds(back) + std::chrono::seconds(30);
        const UtcTime second = change.at + std::chrono::seconds(30);
        ASSERT_EQ(wallTimeAt(first, change.offset + UtcOffset(back)), wallTimeAt(second, after));
        FixtureClock clock("UTC", toCivil(first), 0);
        if (!seconds) clock.core.Seconds_Click();
        clock.choose(id);
        clock.core.Timer1_Timer();
        const std::string firstReadout = readoutText(clock.core.shown(), clock.platform.localNow());
        EXPECT_NE(firstReadout.find(utcOffsetText(after + UtcOffset(back))), std::string::npos)
            << firstReadout;
        clock.setClock(toCivil(second), 0);
        clock.core.Timer1_Timer();
        const std::string secondReadout =
            readoutText(clock.core.shown(), clock.platform.localNow());
        EXPECT_NE(secondReadout.find(", " + utcOffsetText(after)), std::string::npos)
            << secondReadout;
        // The same words but for the offset: the same wall time and date.
        EXPECT_EQ(firstReadout.substr(0, firstReadout.find(',')),
                  secondReadout.substr(0, secondReadout.find(',')));
      }
    }
  }
  EXPECT_GE(fallBacks, 5) << "the fixture zones' fall-backs of 2026";
}

// With the seconds hidden nothing on the dots changes between minutes: the next tick comes
// just after the next minute begins, from wherever in the minute this one ran.
TEST(ExactTime, WithTheSecondsHiddenTheNextTickIsJustAfterTheNextMinute) {
  struct Case {
    const char* name;
    int second;
    int millisecond;
    int interval;
  };
  const Case cases[] = {
      {"on time, just after the minute", 0, 2, 60000},
      {"at the minute's start", 0, 0, 60002},
      {"mid-minute, as after a command", 31, 500, 28502},
      {"the minute's last millisecond", 59, 999, 3},
      {"just before the minute", 58, 700, 1302},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FixtureClock clock("UTC", {2026, 12, 10, 12, 34, 30}, 0);
    clock.core.Seconds_Click();
    clock.setClock({2026, 12, 10, 12, 34, c.second}, 0, c.millisecond);
    clock.core.Timer1_Timer();
    EXPECT_EQ(clock.core.timerInterval(), c.interval);
    // The minute due is a whole minute: no dot shown changes before it.
    const int dueMs = c.second * 1000 + c.millisecond + c.interval;
    EXPECT_EQ(dueMs % 60000, 2);
  }
  // Shown again, the seconds are caught from the next second on, the timer re-armed.
  FixtureClock clock("UTC", {2026, 12, 10, 12, 34, 30}, 0);
  clock.core.Seconds_Click();
  clock.setClock({2026, 12, 10, 12, 34, 40}, 0, 250);
  const auto settings = clock.core.timerSettings();
  clock.core.Seconds_Click();
  EXPECT_EQ(clock.core.timerInterval(), 752);
  EXPECT_NE(clock.core.timerSettings(), settings);
}

// The list and the label name the standard offset in force now, and follow it when it
// changes under a running clock; Dublin's lower offset stays its standard one.
TEST(ExactTime, TheListAndLabelNameTheStandardOffsetInForce) {
  FixtureClock clock("UTC", {2026, 3, 8, 9, 59, 59}, 0);
  const auto entry = [&](const std::string& id) {
    for (const ZoneRecord& z : clock.core.alternateZone().catalogue()) {
      if (z.Std == id) return z.Display;
    }
    return std::string();
  };
  EXPECT_EQ(entry("America/Havana"), "(UTC-05:00) America/Havana");  // already in CDT
  EXPECT_EQ(entry("Europe/Dublin"), "(UTC) Europe/Dublin");
  EXPECT_EQ(entry("America/Vancouver"), "(UTC-08:00) America/Vancouver");
  clock.choose("America/Vancouver");
  EXPECT_EQ(clock.core.alternateZone().label().Caption, "(UTC-08:00)");
  // 2026-03-08 10:00 UTC: Vancouver keeps -07:00 as its standard time from now on.
  clock.setClock({2026, 3, 8, 10, 0, 0}, 0);
  clock.core.Timer1_Timer();
  EXPECT_EQ(entry("America/Vancouver"), "(UTC-07:00) America/Vancouver");
  EXPECT_EQ(clock.core.alternateZone().label().Caption, "(UTC-07:00)");
  EXPECT_EQ(clock.core.alternateZone().zonePair()[1].Display, "(UTC-07:00) America/Vancouver");
  // In the middle of Havana's long daylight time its entry still names CST.
  clock.setClock({2027, 6, 1, 12, 0, 0}, 0);
  clock.core.Timer1_Timer();
  EXPECT_EQ(entry("America/Havana"), "(UTC-05:00) America/Havana");
  EXPECT_EQ(entry("Europe/Dublin"), "(UTC) Europe/Dublin");
}

// The system's zone changes under the running clock: the local list's entry and element 0
// follow, and every dot shows the new local time at once, without waiting for a tick.
TEST(ExactTime, AChangeOfTheSystemZoneIsShownAtOnce) {
  std::string system = "Asia/Tokyo";
  FixtureClock clock("Asia/Tokyo", {2026, 7, 1, 12, 0, 30}, 9 * kHour);
  const std::string folder = tzdb::test::fixtureZoneinfo();
  clock.platform.catalogueAt = [&](UtcTime at) {
    return tzdb::readCatalogue(folder, at, system, "");
  };
  EXPECT_EQ(clock.shown(), "21:00:30");
  system = "America/New_York";
  clock.setClock({2026, 7, 1, 12, 0, 30}, -4 * kHour);
  clock.core.systemZoneChanged();
  EXPECT_EQ(clock.shown(), "08:00:30");
  EXPECT_EQ(clock.core.alternateZone().zonePair()[0].Std, "America/New_York");
  EXPECT_EQ(clock.core.alternateZone().zonePair()[1].Std,
            "Asia/Tokyo");  // the alternate zone stays
  const ComboBox& local = clock.core.alternateZone().lists()[0];
  EXPECT_EQ(clock.core.alternateZone().catalogue()[static_cast<std::size_t>(local.ListIndex)].Std,
            "America/New_York");
  EXPECT_FALSE(clock.core.alternateZone().label().Visible);  // nothing shown moves
  EXPECT_FALSE(clock.core.alternateZone().lists()[1].Visible);
}

}  // namespace
}  // namespace tessaron::exact_time_test
