// The menu tree and the toolbar: every button reaches the handler of its menu item,
// and afterwards shows that item's check mark, or stays as the click left it.

#include <gtest/gtest.h>

#include <set>

#include "commands/menu.h"
#include "tests/fake_platform.h"

namespace tessaron {
namespace {

const MenuEntry* menuEntry(const std::string& name) {
  for (const Menu& menu : menuTree()) {
    for (const MenuEntry& entry : menu.entries) {
      if (name == entry.name) return &entry;
    }
  }
  return nullptr;
}

TEST(MenuTree, HoldsEveryItemWithItsCaptionAndShortcut) {
  struct Case {
    const char* name;
    const char* caption;
    const char* shortcut;
    bool isSwitch;
  };
  const Case options[] = {
      {"Always", "&Always on Top", "Ctrl+A", true},
      {"Music", "&Music", "Ctrl+M", true},
      {"Numbers", "Display Numbers (&Hint)", "Ctrl+H", true},
      {"Seconds", "Display &Seconds", "Ctrl+S", true},
      {"On", "O&n Color", "Ctrl+N", false},
      {"Off", "O&ff Color", "Ctrl+F", false},
      {"Transparent", "&Transparent", "Ctrl+T", false},
      {"AltTimeZone", "Alternate Time &Zone", "Ctrl+Z", true},
      {"Preferences", "Save &Preferences", "Ctrl+P", false},
      {"Vertical", "Alternate Form", "Ctrl+V", true},
  };
  const Case help[] = {
      {"HelpFile", "Help", "", false},
      {"ShortCut", "Short Cut keys", "", false},
      {"About", "About", "", false},
      {"Support", "Support", "", false},
  };
  test::FakePlatform platform;
  Tessaron core(platform);
  const auto& tree = menuTree();
  ASSERT_EQ(tree.size(), 2u);
  EXPECT_STREQ(tree[0].caption, "&Options");
  EXPECT_STREQ(tree[1].caption, "&Help");
  auto check = [&](const Menu& menu, const auto& cases) {
    ASSERT_EQ(menu.entries.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      const Case& c = cases[i];
      const MenuEntry& e = menu.entries[i];
      SCOPED_TRACE(c.name);
      EXPECT_STREQ(e.name, c.name);
      EXPECT_EQ((core.*e.item).Caption, c.caption);
      EXPECT_STREQ(e.shortcut, c.shortcut);
      EXPECT_EQ(e.isSwitch, c.isSwitch);
      EXPECT_FALSE((core.*e.item).Checked);
    }
  };
  check(tree[0], options);
  check(tree[1], help);
}

TEST(Toolbar, HasTenButtonsWithKeysTooltipsPicturesAndStyles) {
  struct Case {
    const char* key;
    const char* tooltip;
    int image;
    ButtonStyle style;
  };
  using S = ButtonStyle;
  const Case cases[] = {
      {"Always", "Keep window on top ", 2, S::Check},
      {"Music", "Background .WAV music file", 10, S::Check},
      {"Numbers", "Display numbers for a hint", 8, S::Check},
      {"Seconds", "Display seconds", 3, S::Check},
      {"On", "Change on color", 5, S::Plain},
      {"Off", "Change off color", 6, S::Plain},
      {"Transparent", "Change off color to transparent", 7, S::Check},
      {"AltTimeZone", "Display alternate time zone", 4, S::Check},
      {"Preferences", "Save preferences", 9, S::Plain},
      {"Vertical", "Alternate Form", 11, S::Plain},
  };
  test::FakePlatform platform;
  Tessaron core(platform);
  ASSERT_EQ(core.Toolbar1.Buttons.size(), std::size(cases));
  for (int i = 1; i <= 10; ++i) {
    const Case& c = cases[i - 1];
    const ToolbarButton& b = core.Toolbar1.button(i);
    SCOPED_TRACE(c.key);
    EXPECT_EQ(b.Key, c.key);
    EXPECT_EQ(b.ToolTipText, c.tooltip);
    EXPECT_EQ(b.Image, c.image);
    EXPECT_STREQ(kImageKeys[static_cast<std::size_t>(b.Image - 1)], c.key);
    EXPECT_EQ(b.Style, c.style);
    EXPECT_EQ(b.Value, 0);
  }
}

TEST(Toolbar, EachButtonRunsTheHandlerOfTheMenuItemWithItsKey) {
  test::FakePlatform platform;
  Tessaron core(platform);
  const std::set<std::string> showsMark = {"Always",  "Music",       "Numbers",
                                           "Seconds", "AltTimeZone", "Vertical"};
  for (const ToolbarButton& button : core.Toolbar1.Buttons) {
    SCOPED_TRACE(button.Key);
    const ToolbarRoute* route = toolbarRoute(button.Key);
    const MenuEntry* entry = menuEntry(button.Key);
    ASSERT_NE(route, nullptr);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(route->handler, entry->handler);
    EXPECT_EQ(route->mark != nullptr, showsMark.count(button.Key) == 1);
    if (route->mark != nullptr) {
      EXPECT_EQ(route->mark, entry->item);
    }
  }
}

TEST(Toolbar, KeysMatchWholeAndCaseSensitive) {
  for (const char* key : {"seconds", "SECONDS", "Second", "Seconds ", "", "Main"}) {
    EXPECT_EQ(toolbarRoute(key), nullptr) << '"' << key << '"';
  }
}

struct ToolbarClicks : ::testing::Test {
  test::FakePlatform platform;
  Tessaron core{platform};
  void SetUp() override {
    platform.files["/opt/tessaron/smallworld.wav"] = "RIFF";
    core.Form_Load();
  }
  int value(int index) const { return core.Toolbar1.button(index).Value; }
};

TEST_F(ToolbarClicks, SwitchButtonsShowTheirMarkAfterEveryClick) {
  struct Case {
    int index;
    MenuItem Tessaron::*item;
  };
  const Case cases[] = {{kButtonAlways, &Tessaron::Always},
                        {kButtonNumbers, &Tessaron::Numbers},
                        {kButtonSeconds, &Tessaron::Seconds},
                        {kButtonVertical, &Tessaron::Vertical}};
  for (const Case& c : cases) {
    SCOPED_TRACE(core.Toolbar1.button(c.index).Key);
    for (bool expected : {true, false, true}) {
      core.ClickToolbarButton(c.index);
      EXPECT_EQ((core.*c.item).Checked, expected);
      EXPECT_EQ(value(c.index), expected ? 1 : 0);
    }
  }
}

TEST_F(ToolbarClicks, MusicRefusedAtThePromptLeavesItsButtonReleased) {
  platform.inputAnswers = {"missing.wav"};
  core.ClickToolbarButton(kButtonMusic);
  EXPECT_FALSE(core.Music.Checked);
  EXPECT_EQ(value(kButtonMusic), 0);
  platform.inputAnswers = {"smallworld.wav"};
  core.ClickToolbarButton(kButtonMusic);
  EXPECT_TRUE(core.Music.Checked);
  EXPECT_EQ(value(kButtonMusic), 1);
}

TEST_F(ToolbarClicks, VerticalButtonCatchesUpOnlyWhenClicked) {
  core.Vertical_Click();  // Ctrl+V
  EXPECT_EQ(value(kButtonVertical), 0);
  core.Vertical_Click();
  core.ClickToolbarButton(kButtonVertical);
  EXPECT_TRUE(core.Vertical.Checked);  // three changes: columns, row, columns
  EXPECT_EQ(value(kButtonVertical), 1);
}

TEST_F(ToolbarClicks, TransparentButtonTogglesWhileRunningTheSameCommand) {
  core.OffColor = rgb(1, 2, 3);
  core.ClickToolbarButton(kButtonTransparent);
  EXPECT_EQ(value(kButtonTransparent), 1);
  EXPECT_EQ(core.OffColor, core.BackgroundColor);
  core.OffColor = rgb(1, 2, 3);
  core.ClickToolbarButton(kButtonTransparent);
  EXPECT_EQ(value(kButtonTransparent), 0);
  EXPECT_EQ(core.OffColor, core.BackgroundColor);
}

TEST_F(ToolbarClicks, PlainCommandButtonsNeverStayPressed) {
  platform.colourAnswers = {rgb(0, 255, 0), rgb(0, 0, 255)};
  for (int index : {kButtonOn, kButtonOff, kButtonPreferences}) {
    core.ClickToolbarButton(index);
    EXPECT_EQ(value(index), 0) << index;
  }
  EXPECT_EQ(core.OnColor, rgb(0, 255, 0));
  EXPECT_EQ(core.OffColor, rgb(0, 0, 255));
  EXPECT_EQ(platform.files.count("/opt/tessaron/Tessa.sav"), 1u);
}

TEST(Toolbar, AButtonWithAnUnknownKeyOnlyToggles) {
  test::FakePlatform platform;
  Tessaron core(platform);
  core.Seconds.Checked = true;
  core.Toolbar1.button(kButtonSeconds).Key = "seconds";
  core.ClickToolbarButton(kButtonSeconds);
  EXPECT_EQ(core.Toolbar1.button(kButtonSeconds).Value, 1);
  EXPECT_TRUE(core.Seconds.Checked);
  core.ClickToolbarButton(kButtonSeconds);
  EXPECT_EQ(core.Toolbar1.button(kButtonSeconds).Value, 0);
}

}  // namespace
}  // namespace tessaron
