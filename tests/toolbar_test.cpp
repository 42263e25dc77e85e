// The menu tree and the toolbar: every button reaches the handler of its menu item,
// and afterwards shows that item's check mark, or stays as the click left it.

#include <gtest/gtest.h>

#include <vector>

#include "commands/command_bar.h"
#include "commands/menu.h"
#include "core/tessaron.h"
#include "tests/core_internals.h"
#include "tests/fake_platform.h"

namespace tessaron::toolbar_test {
namespace {

// The ten buttons in their places, each with the tooltip the user reads, its own picture
// and its kind: a switch's button stays pressed, a command's springs back (Transparent
// has no mark to show, so its button is a command's).
TEST(Toolbar, TheTenButtonsInOrderWithTheirTooltipsPicturesAndKinds) {
  struct Case {
    const char* key;
    const char* toolTip;
    ButtonStyle style;
  };
  const Case cases[] = {
      {"Always", "Keep window on top ", ButtonStyle::Check},
      {"Music", "Background .WAV music file", ButtonStyle::Check},
      {"Numbers", "Display numbers for a hint", ButtonStyle::Check},
      {"Seconds", "Display seconds", ButtonStyle::Check},
      {"On", "Change on color", ButtonStyle::Plain},
      {"Off", "Change off color", ButtonStyle::Plain},
      {"Transparent", "Change off color to transparent", ButtonStyle::Plain},
      {"AltTimeZone", "Display alternate time zone", ButtonStyle::Check},
      {"Preferences", "Save preferences", ButtonStyle::Plain},
      {"Vertical", "Alternate Form", ButtonStyle::Check},
  };
  const CommandBar bar;
  ASSERT_EQ(bar.toolbar().Buttons.size(), std::size(cases));
  for (int i = 1; i <= static_cast<int>(std::size(cases)); ++i) {
    const Case& c = cases[i - 1];
    const ToolbarButton& b = bar.toolbar().button(i);
    SCOPED_TRACE(c.key);
    EXPECT_EQ(b.Key, c.key);
    EXPECT_EQ(b.ToolTipText, c.toolTip);
    EXPECT_EQ(b.Style, c.style);
    EXPECT_EQ(b.Value, 0);
    ASSERT_GE(b.Image, 1);
    ASSERT_LE(b.Image, static_cast<int>(kImageKeys.size()));
    EXPECT_STREQ(kImageKeys[static_cast<std::size_t>(b.Image - 1)], c.key) << "its own picture";
  }
}

// Each command reaches its own handler: what the user sees or hears differs for each.
TEST(Commands, EachCommandRunsItsOwnHandler) {
  struct Case {
    Command command;
    const char* effect;  // the first outward call, or a switch that turned on
  };
  const Case cases[] = {
      {Command::Always, "topmost"},
      {Command::Music, "inputBox"},
      {Command::Numbers, "Numbers"},
      {Command::Seconds, "setWindowWidth 5542"},
      {Command::On, "chooseColour 255"},
      {Command::Off, "chooseColour 0"},
      {Command::Transparent, "OffColor"},
      {Command::AltTimeZone, "AltTimeZone"},
      {Command::Preferences, "Tessa.sav"},
      {Command::Vertical, "setWindowHeight 2760"},
      {Command::HelpFile, "showHelp /opt/tessaron/Tessa.hlp"},
      {Command::ShortCut, "showHelp /opt/tessaron/TSShortcut.hlp"},
      {Command::About, "showModalForm frmAbout"},
      {Command::Support, "showModalForm frmTSSupport"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.effect);
    test::FakePlatform platform;
    platform.files["/opt/tessaron/Tessa.hlp"] = "help";
    platform.files["/opt/tessaron/TSShortcut.hlp"] = "keys";
    platform.background = rgb(9, 9, 9);
    Tessaron core(platform);
    core.Form_Load();
    platform.calls.clear();
    core.run(c.command);
    const std::string effect = c.effect;
    if (effect == "Numbers" || effect == "AltTimeZone") {
      EXPECT_EQ(effect == "Numbers", core.commandBar().item(Command::Numbers).Checked);
      EXPECT_EQ(effect == "AltTimeZone", core.commandBar().item(Command::AltTimeZone).Checked);
    } else if (effect == "OffColor") {
      EXPECT_EQ(core.colours().OffColor, rgb(9, 9, 9));
    } else if (effect == "Tessa.sav") {
      EXPECT_EQ(platform.files.count("/opt/tessaron/Tessa.sav"), 1u);
    } else {
      ASSERT_FALSE(platform.calls.empty());
      EXPECT_EQ(platform.calls.front().rfind(c.effect, 0), 0u) << platform.calls.front();
    }
  }
}

TEST(Toolbar, KeysMatchWholeAndCaseSensitive) {
  for (const char* key : {"seconds", "SECONDS", "Second", "Seconds ", "", "Main", "HelpFile"}) {
    EXPECT_EQ(toolbarEntry(key), nullptr) << '"' << key << '"';
  }
}

struct ToolbarClicks : ::testing::Test {
  test::FakePlatform platform;
  Tessaron core{platform};
  void SetUp() override {
    platform.files["/opt/tessaron/smallworld.wav"] = "RIFF";
    core.Form_Load();
  }
  int value(int index) const { return core.commandBar().toolbar().button(index).Value; }
};

TEST_F(ToolbarClicks, SwitchButtonsShowTheirMarkAfterEveryClick) {
  struct Case {
    int index;
    Command command;
  };
  const Case cases[] = {{kButtonAlways, Command::Always},
                        {kButtonNumbers, Command::Numbers},
                        {kButtonSeconds, Command::Seconds},
                        {kButtonVertical, Command::Vertical}};
  for (const Case& c : cases) {
    SCOPED_TRACE(core.commandBar().toolbar().button(c.index).Key);
    for (bool expected : {true, false, true}) {
      core.clickToolbarButton(c.index);
      EXPECT_EQ(core.commandBar().item(c.command).Checked, expected);
      EXPECT_EQ(value(c.index), expected ? 1 : 0);
    }
  }
}

TEST_F(ToolbarClicks, MusicRefusedAtThePromptLeavesItsButtonReleased) {
  platform.inputAnswers = {"missing.wav"};
  core.clickToolbarButton(kButtonMusic);
  EXPECT_FALSE(core.commandBar().item(Command::Music).Checked);
  EXPECT_EQ(value(kButtonMusic), 0);
  platform.inputAnswers = {"smallworld.wav"};
  core.clickToolbarButton(kButtonMusic);
  EXPECT_TRUE(core.commandBar().item(Command::Music).Checked);
  EXPECT_EQ(value(kButtonMusic), 1);
}

// Each switch's button shows its mark after every way of switching it, in any mix: the
// menu (and its shortcut, which runs the same handler), the button, and the music's
// failure to play, which switches the music off by itself.
TEST_F(ToolbarClicks, SwitchButtonsStayInStepWhicheverWayTheyAreSwitched) {
  enum class Way { Menu, Button, MusicFails };
  struct Case {
    Command command;
    std::vector<Way> ways;
  };
  const std::vector<Way> mixed = {Way::Menu, Way::Menu, Way::Button, Way::Menu, Way::Button};
  const Case cases[] = {
      {Command::Always, mixed},
      {Command::Numbers, mixed},
      {Command::Seconds, mixed},
      {Command::AltTimeZone, mixed},
      {Command::Vertical, mixed},
      {Command::Music,
       {Way::Menu, Way::MusicFails, Way::Button, Way::MusicFails, Way::Menu, Way::Button}},
  };
  for (const Case& c : cases) {
    const int index = toolbarIndex(c.command);
    const MenuItem& item = core.commandBar().item(c.command);
    SCOPED_TRACE(core.commandBar().toolbar().button(index).Key);
    for (std::size_t step = 0; step < c.ways.size(); ++step) {
      SCOPED_TRACE(step);
      const bool before = item.Checked;
      switch (c.ways[step]) {
        case Way::Menu:
          platform.inputAnswers = {"smallworld.wav"};
          core.run(c.command);
          break;
        case Way::Button:
          platform.inputAnswers = {"smallworld.wav"};
          core.clickToolbarButton(index);
          break;
        case Way::MusicFails:
          ASSERT_FALSE(platform.loopFailures.empty());
          platform.loopFailures.back()("no sound device");
          break;
      }
      EXPECT_NE(item.Checked, before);
      EXPECT_EQ(value(index), item.Checked ? 1 : 0);
    }
  }
}

// Start-up restores each saved switch through its handler, and its button with it.
TEST(SwitchButtons, StartUpShowsTheSavedSwitchesOnTheirButtons) {
  for (const char* flag : {"#TRUE#", "#FALSE#"}) {
    SCOPED_TRACE(flag);
    const std::string f = flag;
    test::FakePlatform platform;
    platform.files["/opt/tessaron/smallworld.wav"] = "RIFF";
    platform.files["/opt/tessaron/Tessa.sav"] = "255,0,16777215," + f + "," + f + "," + f + "," +
                                                f + ",0,0,\"smallworld.wav\"," + f + "\r\n";
    platform.inputAnswers = {"smallworld.wav"};  // the music prompt
    Tessaron core(platform);
    core.Form_Load();
    for (Command command :
         {Command::Always, Command::Music, Command::Numbers, Command::Seconds, Command::Vertical}) {
      const int index = toolbarIndex(command);
      SCOPED_TRACE(core.commandBar().toolbar().button(index).Key);
      EXPECT_EQ(core.commandBar().item(command).Checked, f == "#TRUE#");
      EXPECT_EQ(core.commandBar().toolbar().button(index).Value, f == "#TRUE#" ? 1 : 0);
    }
  }
}

TEST_F(ToolbarClicks, PlainCommandButtonsNeverStayPressed) {
  platform.colourAnswers = {rgb(0, 255, 0), rgb(0, 0, 255)};
  for (int index : {kButtonOn, kButtonTransparent, kButtonOff, kButtonPreferences}) {
    core.clickToolbarButton(index);
    EXPECT_EQ(value(index), 0) << index;
  }
  EXPECT_EQ(core.colours().OnColor, rgb(0, 255, 0));
  EXPECT_EQ(core.colours().OffColor, rgb(0, 0, 255));
  EXPECT_EQ(platform.files.count("/opt/tessaron/Tessa.sav"), 1u);
}

TEST(Toolbar, AButtonWithAnUnknownKeyOnlyToggles) {
  test::FakePlatform platform;
  Tessaron core(platform);
  test::Internals::markOnly(core, Command::Seconds, true);
  test::Internals::renameButton(core, kButtonSeconds, "seconds");
  core.clickToolbarButton(kButtonSeconds);
  EXPECT_EQ(core.commandBar().toolbar().button(kButtonSeconds).Value, 1);
  EXPECT_TRUE(core.commandBar().item(Command::Seconds).Checked);
  core.clickToolbarButton(kButtonSeconds);
  EXPECT_EQ(core.commandBar().toolbar().button(kButtonSeconds).Value, 0);
}

}  // namespace
}  // namespace tessaron::toolbar_test
