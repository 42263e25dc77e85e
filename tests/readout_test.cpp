// The time the dots show, in words for screen readers and the readout on hover; finding a
// zone by typing; the Music item's caption.

#include "core/readout.h"

#include <gtest/gtest.h>

#include "commands/menu.h"
#include "core/tessaron.h"
#include "tests/fake_platform.h"
#include "tests/zone_rules.h"
#include "timezones/zone_search.h"

namespace tessaron::readout_test {
namespace {

using test::weekdayRule;

ZoneRecord zoneKey(int bias, int daylightBias, TransitionRule daylight, TransitionRule standard,
                   const char* display, const char* std) {
  ZoneRecord z;
  z.Bias = bias;
  z.DaylightBias = daylightBias;
  z.DaylightDate = daylight;
  z.StandardDate = standard;
  z.Display = display;
  z.Std = std;
  return z;
}

// The local zone, New York in daylight time in July, and a zone listed without an offset.
struct Readout : ::testing::Test {
  test::FakePlatform platform;
  Tessaron core{platform};

  void SetUp() override {
    platform.catalogue.zones = {
        zoneKey(0, 0, {}, {}, "(UTC) UTC", "UTC"),
        zoneKey(300, -60, weekdayRule(3, 0, 2, 2), weekdayRule(11, 0, 1, 2),
                "(UTC-05:00) America/New York", "America/New_York"),
        zoneKey(-345, 0, {}, {}, "Asia/Kathmandu", "Asia/Kathmandu"),
        zoneKey(-540, 0, {}, {}, "(UTC+09:00) Asia/Tokyo", "Asia/Tokyo"),
    };
    platform.catalogue.systemStandardName = "UTC";
    core.Form_Load();
  }
  void at(int year, int month, int day, int hour, int minute, int second) {
    platform.now = {year, month, day, hour, minute, second};
    platform.time = {hour, minute, second};
    core.Timer1_Timer();
  }
  void alternate(int zone) {
    core.AltTimeZone_Click();
    core.selectZone(1, zone);
  }
};

TEST_F(Readout, TheFirstFrameIsSaidAtOnce) {
  // Start-up draws the time (00:00:00 on the fake clock) before the window shows.
  EXPECT_EQ(shownTimeText(core.shown()), "00:00");
  EXPECT_EQ(readoutText(core.shown(), platform.localNow()), "00:00\n2026-12-10\nLocal time");
}

TEST_F(Readout, TheTextFollowsWhatTheDotsShow) {
  at(2026, 12, 10, 21, 43, 17);
  EXPECT_EQ(shownTimeText(core.shown()), "21:43") << "seconds hidden: hour and minute only";
  core.Seconds_Click();
  at(2026, 12, 10, 21, 43, 18);
  EXPECT_EQ(shownTimeText(core.shown()), "21:43:18");
  // Mid-minute, a minute the dots do not show yet is drawn at once, and said.
  at(2026, 12, 10, 21, 44, 30);
  EXPECT_EQ(shownTimeText(core.shown()), "21:44:30");
  at(2026, 12, 11, 0, 0, 0);
  EXPECT_EQ(shownTimeText(core.shown()), "00:00:00");
  EXPECT_EQ(readoutText(core.shown(), platform.localNow()), "00:00:00\n2026-12-11\nLocal time");
}

TEST_F(Readout, TheAlternateZoneIsNamedOnceTheDotsShowIt) {
  core.Seconds_Click();
  at(2026, 7, 1, 12, 15, 40);
  alternate(1);  // every dot redrawn at once
  EXPECT_EQ(shownTimeText(core.shown()), "08:15:40 America/New York");
  at(2026, 7, 1, 12, 16, 0);
  EXPECT_EQ(shownTimeText(core.shown()), "08:16:00 America/New York");
  EXPECT_EQ(readoutText(core.shown(), platform.localNow()),
            "08:16:00\n2026-07-01\nAmerica/New York, UTC-04:00")
      << "the offset of that moment, daylight time included";
}

TEST_F(Readout, TheDateIsTheAlternateZones) {
  core.Seconds_Click();
  alternate(3);  // Tokyo: already the next day
  at(2026, 12, 31, 20, 30, 0);
  EXPECT_EQ(readoutText(core.shown(), platform.localNow()),
            "05:30:00\n2027-01-01\nAsia/Tokyo, UTC+09:00");
  core.selectZone(1, 2);  // listed without an offset: the name stands whole
  at(2026, 12, 31, 20, 31, 1);
  EXPECT_EQ(readoutText(core.shown(), platform.localNow()),
            "02:16:01\n2027-01-01\nAsia/Kathmandu, UTC+05:45");
}

TEST(UtcOffset, SignHoursAndMinutes) {
  struct Case {
    int minutesEast;
    const char* text;
  };
  const Case cases[] = {{0, "UTC+00:00"},   {540, "UTC+09:00"},  {-210, "UTC-03:30"},
                        {345, "UTC+05:45"}, {-720, "UTC-12:00"}, {840, "UTC+14:00"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(utcOffsetText(std::chrono::minutes(c.minutesEast)), c.text);
  }
}

TEST(ZoneSearch, AnyPartOfTheNameWordStartsFirst) {
  const std::vector<std::string> zones = {
      "(UTC-05:00) America/New York", "(UTC+01:00) Europe/Stockholm",
      "(UTC+05:00) Antarctica/Vostok", "(UTC+09:00) Asia/Tokyo", "(UTC+10:00) Asia/Vladivostok"};
  struct Case {
    const char* name;
    const char* typed;
    std::vector<int> found;
  };
  const Case cases[] = {
      {"a word start comes before the same letters inside a word", "tok", {3, 2, 4}},
      {"letter case does not matter", "TOKYO", {3}},
      {"the middle of a word finds too", "ockh", {1}},
      {"a blank inside the name", "new y", {0}},
      {"the offset is part of the entry", "+09", {3}},
      {"nothing typed lists nothing", "", {}},
      {"no zone holds it", "atlantis", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(findZones(zones, c.typed), c.found);
  }
}

TEST(MusicCaption, KeepsItsAccessLetterInBothStates) {
  EXPECT_EQ(musicCaption(false, "rain.wav"), "&Music");
  EXPECT_EQ(musicCaption(true, "rain.wav"), "&Music (rain.wav)");
  EXPECT_EQ(musicCaption(true, "rock&roll.wav"), "&Music (rock&&roll.wav)")
      << "a & in the name shows as itself";
}

}  // namespace
}  // namespace tessaron::readout_test
