// Start at Login: the desktop's autostart entry for this clock, written and removed by the
// switch, whose mark is the entry's presence at each start.

#include "core/autostart.h"

#include <gtest/gtest.h>

#include <string>

#include "commands/menu.h"
#include "core/tessaron.h"
#include "tests/fake_platform.h"

namespace tessaron::autostart_test {
namespace {

constexpr const char* kEntry = "/home/ann/.config/autostart/org.tessaron.Tessaron.desktop";

struct StartAtLogin : ::testing::Test {
  test::FakePlatform platform;
  void SetUp() override {
    platform.info.autostartFolder = "/home/ann/.config/autostart";
    platform.info.startCommand = "/home/ann/My Clock/tessaron";
  }
};

TEST_F(StartAtLogin, OnWritesTheEntryOffRemovesIt) {
  Tessaron core(platform);
  core.Form_Load();
  EXPECT_FALSE(core.item(Command::StartAtLogin).Checked);
  core.run(Command::StartAtLogin);
  EXPECT_TRUE(core.item(Command::StartAtLogin).Checked);
  ASSERT_EQ(platform.files.count(kEntry), 1u);
  EXPECT_EQ(platform.files[kEntry], formatAutostartEntry("/home/ann/My Clock/tessaron"));
  EXPECT_NE(platform.files[kEntry].find("\nExec=\"/home/ann/My Clock/tessaron\"\n"),
            std::string::npos);
  core.run(Command::StartAtLogin);
  EXPECT_FALSE(core.item(Command::StartAtLogin).Checked);
  EXPECT_EQ(platform.files.count(kEntry), 0u);
  EXPECT_TRUE(platform.callsStartingWith("messageBox").empty());
}

// The mark is the file's presence when the clock starts, whoever made or removed it.
TEST_F(StartAtLogin, TheMarkFollowsTheEntryMadeOrRemovedWhileTheClockWasClosed) {
  for (const bool present : {true, false, true}) {
    SCOPED_TRACE(present ? "entry there" : "entry gone");
    if (present) {
      platform.files[kEntry] = "[Desktop Entry]\n";
    } else {
      platform.files.erase(kEntry);
    }
    Tessaron core(platform);
    core.Form_Load();
    EXPECT_EQ(core.item(Command::StartAtLogin).Checked, present);
    EXPECT_TRUE(core.item(Command::StartAtLogin).Enabled);
  }
}

TEST_F(StartAtLogin, AFailureSaysWhyAndTheMarkStays) {
  Tessaron core(platform);
  core.Form_Load();
  platform.writeError = "Permission denied";
  core.run(Command::StartAtLogin);
  EXPECT_FALSE(core.item(Command::StartAtLogin).Checked);
  EXPECT_EQ(
      platform.callsStartingWith("messageBox"),
      std::vector<std::string>{"messageBox 48 Tessaron|The clock could not be set to start "
                               "at login: " +
                               std::string(kEntry) + " could not be written (Permission denied)."});
  platform.writeError.reset();
  core.run(Command::StartAtLogin);
  ASSERT_TRUE(core.item(Command::StartAtLogin).Checked);
  platform.removeError = "Read-only file system";
  platform.calls.clear();
  core.run(Command::StartAtLogin);
  EXPECT_TRUE(core.item(Command::StartAtLogin).Checked);
  EXPECT_EQ(platform.files.count(kEntry), 1u);
  EXPECT_EQ(platform.callsStartingWith("messageBox").size(), 1u);
}

TEST_F(StartAtLogin, WithoutAnAutostartFolderTheSwitchIsUnavailable) {
  platform.info.autostartFolder.clear();
  Tessaron core(platform);
  core.Form_Load();
  EXPECT_FALSE(core.item(Command::StartAtLogin).Enabled);
  core.run(Command::StartAtLogin);
  EXPECT_FALSE(core.item(Command::StartAtLogin).Checked);
  EXPECT_TRUE(platform.callsStartingWith("removeFile").empty());
}

// The command as the Exec key holds it: quoted where the desktop entry rules reserve a
// character, then escaped as a string value.
TEST(AutostartEntry, TheCommandIsQuotedAndEscapedAsTheExecKeyReadsIt) {
  struct Case {
    const char* name;
    const char* program;
    const char* exec;
  };
  const Case cases[] = {
      {"installed", "tessaron", "tessaron"},
      {"a plain path", "/opt/tessaron/tessaron", "/opt/tessaron/tessaron"},
      {"a blank", "/home/ann/My Clock/tessaron", "\"/home/ann/My Clock/tessaron\""},
      {"a dollar and a quote", "/a$b\"c/tessaron", "\"/a\\\\$b\\\\\"c/tessaron\""},
      {"a backslash", "/a\\b/tessaron", "\"/a\\\\\\\\b/tessaron\""},
      {"a percent is doubled", "/100%/tessaron", "/100%%/tessaron"},
      {"a line break", "/a\nb/tessaron", "\"/a\\nb/tessaron\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(execValue(c.program), c.exec);
  }
}

}  // namespace
}  // namespace tessaron::autostart_test
