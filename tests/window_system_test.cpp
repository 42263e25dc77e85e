// A session without X (Wayland alone): the compositor keeps stacking and window
// positions to itself. Always on Top shows as unavailable while the saved choice stays,
// and a save keeps the position saved before instead of one the compositor never gave.

#include <gtest/gtest.h>

#include <string>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "tests/fake_platform.h"

namespace tessaron::window_system_test {
namespace {

const std::string kPath = "/opt/tessaron/Tessa.sav";
const std::string kSaved =
    "255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#TRUE#,1200,3000,\"smallworld.wav\",#FALSE#\r\n";

TEST(WindowSystem, WithoutXAlwaysOnTopIsUnavailableAndSavesKeepThePosition) {
  struct Case {
    const char* name;
    bool waylandOnly;
    bool stacked;       // the window system was asked to keep the clock on top
    std::string saved;  // the line a save writes after the window was "moved"
  };
  const Case cases[] = {
      {"an X display", false, true,
       "255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#TRUE#,-45,-450,\"smallworld.wav\",#FALSE#\r\n"},
      {"Wayland alone", true, false, kSaved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform platform;
    platform.waylandOnly = c.waylandOnly;
    platform.files[kPath] = kSaved;
    Tessaron core{platform};
    core.Form_Load();
    EXPECT_EQ(platform.callsStartingWith("topmost").size(), c.stacked ? 1u : 0u);
    EXPECT_TRUE(core.commandBar().item(Command::Always).Checked) << "the saved choice stays";
    EXPECT_EQ(core.commandBar().item(Command::Always).Enabled, !c.waylandOnly);
    const ToolbarButton& button = core.commandBar().toolbar().button(1);
    EXPECT_EQ(button.Enabled, !c.waylandOnly);
    if (c.waylandOnly) {
      EXPECT_EQ(button.ToolTipText, Tessaron::kNoKeepOnTop);
    }

    // What a compositor answers when asked where the window is.
    platform.top = -45;
    platform.left = -450;
    core.Preferences_Click();
    EXPECT_EQ(platform.files.at(kPath), c.saved);
  }
}

}  // namespace
}  // namespace tessaron::window_system_test
