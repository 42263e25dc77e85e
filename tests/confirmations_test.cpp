// The word a screen reader gets after a command whose effect is only seen: each switch by
// its new state, however it is reached (menu, shortcut, toolbar), and nothing from start-up,
// from a switch left as it was, or from a command whose own window is read.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "tests/fake_platform.h"

namespace tessaron::confirmations_test {
namespace {

using Said = std::vector<std::string>;

struct Confirmations : ::testing::Test {
  test::FakePlatform platform;
  Tessaron core{platform};
  void SetUp() override {
    platform.files["/opt/tessaron/smallworld.wav"] = "RIFF";
    core.Form_Load();
  }
  // What the command said, alone.
  Said said(Command command) {
    platform.announcements.clear();
    core.run(command);
    return platform.announcements;
  }
};

TEST_F(Confirmations, StartUpSaysNothing) { EXPECT_EQ(platform.announcements, Said{}); }

TEST_F(Confirmations, EachSwitchSaysItsNewStateBothWays) {
  struct Case {
    Command command;
    const char* on;
    const char* off;
  };
  // From the first-start values: hints and seconds off, the row, not on top.
  const Case cases[] = {
      {Command::Numbers, "Hints shown", "Hints hidden"},
      {Command::Seconds, "Seconds shown", "Seconds hidden"},
      {Command::Always, "Kept on top", "Not kept on top"},
      {Command::Vertical, "Alternate form on", "Alternate form off"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.on);
    EXPECT_EQ(said(c.command), Said{c.on});
    EXPECT_EQ(said(c.command), Said{c.off});
  }
}

// Start at Login writes or removes a file no one sees; a failure is said by its message.
TEST(ConfirmationsOfStartAtLogin, SaysItsNewStateOnlyWhenTheEntryChanged) {
  test::FakePlatform platform;
  platform.info.autostartFolder = "/home/ann/.config/autostart";
  platform.info.startCommand = "tessaron";
  Tessaron core(platform);
  core.Form_Load();
  core.run(Command::StartAtLogin);
  core.run(Command::StartAtLogin);
  EXPECT_EQ(platform.announcements, (Said{"Starts at login", "Does not start at login"}));
  platform.announcements.clear();
  platform.writeError = "Read-only file system";
  core.run(Command::StartAtLogin);
  EXPECT_EQ(platform.announcements, Said{});
}

TEST_F(Confirmations, TheToolbarSaysWhatTheMenuSays) {
  platform.announcements.clear();
  core.clickToolbarButton(kButtonSeconds);
  core.clickToolbarButton(kButtonNumbers);
  core.clickToolbarButton(kButtonTransparent);
  EXPECT_EQ(platform.announcements,
            (Said{"Seconds shown", "Hints shown", "Off color transparent"}));
}

TEST_F(Confirmations, MusicSaysOnlyAChange) {
  platform.inputAnswers = {"smallworld.wav"};
  EXPECT_EQ(said(Command::Music), Said{"Music on"});
  EXPECT_EQ(said(Command::Music), Said{"Music off"});
  // The prompt cancelled: the switch stays off, and the prompt's closing is all there is.
  EXPECT_EQ(said(Command::Music), Said{});
  EXPECT_FALSE(core.commandBar().item(Command::Music).Checked);
}

TEST_F(Confirmations, ASaveSaysSoOnlyWhenTheFileWasWritten) {
  EXPECT_EQ(said(Command::Preferences), Said{"Preferences saved"});
  platform.writeError = "No space left on device";
  EXPECT_EQ(said(Command::Preferences), Said{}) << "the message box says what happened";
}

TEST_F(Confirmations, TheZoomSaysTheSizeItCameTo) {
  EXPECT_EQ(said(Command::ZoomIn), Said{"Zoom 125 percent"});
  EXPECT_EQ(said(Command::ZoomReset), Said{"Zoom 100 percent"});
  // At the smallest size it stays there, and says so.
  EXPECT_EQ(said(Command::ZoomOut), Said{"Zoom 100 percent"});
}

TEST_F(Confirmations, ACommandWhoseWindowIsReadSaysNothing) {
  platform.files["/opt/tessaron/Tessa.hlp"] = "help";
  for (Command command : {Command::On, Command::Off, Command::HelpFile, Command::About,
                          Command::Support, Command::AltTimeZone}) {
    SCOPED_TRACE(menuEntry(command).name);
    EXPECT_EQ(said(command), Said{});
  }
  // Hidden again, the zone list no longer takes the keyboard: that is said.
  EXPECT_EQ(said(Command::AltTimeZone), Said{"Alternate time zone hidden"});
}

TEST(ConfirmationsWithoutKeepOnTop, AlwaysSaysWhyItIsUnavailable) {
  test::FakePlatform wayland;
  wayland.waylandOnly = true;
  Tessaron core(wayland);
  core.Form_Load();
  EXPECT_EQ(core.commandBar().item(Command::Always).Description, Tessaron::kNoKeepOnTop);
  core.run(Command::Always);
  EXPECT_EQ(wayland.announcements, Said{Tessaron::kNoKeepOnTop});
}

}  // namespace
}  // namespace tessaron::confirmations_test
