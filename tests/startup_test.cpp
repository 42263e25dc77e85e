// Start-up: the first-start values, the window widths, labels, and termination.

#include <gtest/gtest.h>

#include <set>

#include "commands/command_bar.h"
#include "commands/music.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "tests/core_internals.h"
#include "tests/fake_platform.h"
#include "timezones/alternate_zone.h"

namespace tessaron::startup_test {
namespace {

TEST(Startup, FirstStartTakesTheDefaultValues) {
  test::FakePlatform platform;
  platform.left = 999;
  platform.top = 777;
  Tessaron core(platform);
  core.Form_Load();

  EXPECT_EQ(core.colours().OnColor, 255);
  EXPECT_EQ(core.colours().OffColor, 0);
  EXPECT_EQ(core.colours().HintColor, 16777215);
  EXPECT_EQ(core.colours().StartOnColor, 255);
  EXPECT_EQ(core.colours().StartOffColor, 0);
  EXPECT_EQ(core.backgroundMusic().musicFile(), "smallworld.wav");
  EXPECT_EQ(core.appFolder(), "/opt/tessaron/");
  EXPECT_EQ(core.dotLayout().labelOffset(), Twips(20));
  EXPECT_FALSE(test::Internals::redrawAll(core));  // the first frame is drawn
  EXPECT_FALSE(core.alternateZone().label().Visible);
  EXPECT_FALSE(core.commandBar().item(Command::AltTimeZone).Checked);
  EXPECT_EQ(core.colours().BackgroundColor, kButtonFace);
  EXPECT_EQ(platform.left, 0);
  EXPECT_EQ(platform.top, 0);
}

// The window is first shown with the time on its dots, not at the first tick.
TEST(Startup, TheFirstFrameShowsTheTime) {
  test::FakePlatform platform;
  platform.time = {12, 34, 56};
  platform.millisecond = 400;
  Tessaron core(platform);
  core.Form_Load();
  const std::set<int> lit = {1, 2, 5, 9};  // hour 12 = 8 + 4, minute 34 = 32 + 2
  for (int i = 0; i <= 10; ++i) {
    EXPECT_EQ(core.dotLayout().dots()[i].FillColor,
              lit.count(i) ? core.colours().OnColor : core.colours().OffColor)
        << i;
  }
  // Seconds hidden at a first start: the first tick just after 12:35:00 begins.
  EXPECT_EQ(core.timerInterval(), 3602);
}

TEST(Startup, MovesTheWindowTopFirstThenLeft) {
  test::FakePlatform platform;
  Tessaron core(platform);
  core.Form_Load();
  const auto moves = platform.callsStartingWith("setWindow");
  ASSERT_GE(moves.size(), 2u);
  EXPECT_EQ(moves[0].rfind("setWindowTop", 0), 0u);
  EXPECT_EQ(moves[1].rfind("setWindowLeft", 0), 0u);
}

TEST(Startup, WindowWidthsFollowTheToolbarButtonWidth) {
  // The dots need 2880 + 240 + 240 = 3360 twips; ten and a half buttons may need more.
  struct Case {
    const char* name;
    double buttonWidth;
    short withoutSeconds;
    float withSeconds;
  };
  const Case cases[] = {
      {"design buttons, 3622.5 rounds to even", 345, 3622, 5542},
      {"3643.5 rounds up to even", 347, 3644, 5564},
      {"narrow buttons: the dots decide", 300, 3360, 5280},
      {"3370.5 less the label offset is under the dots", 321, 3360, 5280},
      {"3381 less the label offset is over the dots", 322, 3381, 5301},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform platform;
    Tessaron core(platform);
    test::Internals::setButtonWidth(core, Twips(c.buttonWidth));
    core.Form_Load();
    EXPECT_EQ(core.dotLayout().widthWithoutSeconds(), Twips(c.withoutSeconds));
    EXPECT_EQ(core.dotLayout().widthWithSeconds(), Twips(c.withSeconds));
  }
}

TEST(Startup, HangsTheRowsLabelsOverTheirDots) {
  test::FakePlatform platform;
  Tessaron core(platform);
  core.Form_Load();
  // The captions themselves are checked with the row's places.
  for (int i = 0; i <= 16; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(core.dotLayout().hints()[i].Left, core.dotLayout().dots()[i].Left);
    EXPECT_EQ(core.dotLayout().hints()[i].Top, core.dotLayout().dots()[i].Top + 20_tw);
    EXPECT_EQ(core.dotLayout().hints()[i].ForeColor, core.colours().HintColor);
  }
}

TEST(Startup, FirstStartRunsEverySwitchOffPathOnceAndSaysNothing) {
  test::FakePlatform platform;
  Tessaron core(platform);
  core.Form_Load();
  EXPECT_EQ(platform.callsStartingWith("notopmost"), std::vector<std::string>{"notopmost"});
  EXPECT_TRUE(platform.callsStartingWith("topmost").empty());
  EXPECT_EQ(platform.callsStartingWith("playOnce"),
            std::vector<std::string>{"playOnce /opt/tessaron/ding.wav"});
  EXPECT_TRUE(platform.callsStartingWith("inputBox").empty());
  EXPECT_TRUE(platform.callsStartingWith("messageBox").empty()) << "no file is not an error";
  EXPECT_TRUE(platform.callsStartingWith("chooseColour").empty());
  EXPECT_EQ(platform.width, 3622);
  EXPECT_EQ(platform.height, 2000);
  for (const ToolbarButton& button : core.commandBar().toolbar().Buttons) {
    EXPECT_EQ(button.Value, 0) << button.Key;
  }
}

TEST(Termination, PlaysTheClosingSoundThenEndsSound) {
  test::FakePlatform platform;
  Tessaron core(platform);
  core.Form_Load();
  platform.calls.clear();
  core.Form_Terminate();
  EXPECT_EQ(platform.calls,
            (std::vector<std::string>{"playOnce /opt/tessaron/ding.wav", "stopSound"}));
}

}  // namespace
}  // namespace tessaron::startup_test
