// An installed clock: what it ships is read from its data folder, "Tessa.sav" lives in
// the settings folder, and a typed sound name is looked for in the user's folder first.
// A portable copy (every folder the same) is what the other tests start.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_bar.h"
#include "commands/music.h"
#include "core/tessaron.h"
#include "tests/fake_platform.h"

namespace tessaron::program_folders_test {
namespace {

using Calls = std::vector<std::string>;

const std::string kData = "/usr/share/tessaron/";
const std::string kSettings = "/home/ann/.config/tessaron/";
const std::string kUser = "/home/ann/.local/share/tessaron/";
const std::string kSavedHints =
    "255,0,16777215,#TRUE#,#FALSE#,#FALSE#,#FALSE#,0,0,\"smallworld.wav\",#FALSE#\r\n";

class InstalledClock : public ::testing::Test {
 protected:
  test::FakePlatform platform;

  void SetUp() override {
    platform.info.dataFolder = kData.substr(0, kData.size() - 1);
    platform.info.settingsFolder = kSettings.substr(0, kSettings.size() - 1);
    platform.info.userFolder = kUser.substr(0, kUser.size() - 1);
    for (const char* name : {"smallworld.wav", "ding.wav", "Tessa.hlp", "TSShortcut.hlp"}) {
      platform.files[kData + name] = "shipped";
    }
  }
};

TEST_F(InstalledClock, SavesToTheSettingsFolderAndTheNextStartRestoresFromIt) {
  // A file beside the shipped ones is not the user's and is never read.
  platform.files[kData + "Tessa.sav"] = kSavedHints;
  Tessaron first{platform};
  first.Form_Load();
  EXPECT_FALSE(first.commandBar().item(Command::Numbers).Checked);
  EXPECT_TRUE(platform.callsStartingWith("messageBox").empty());

  first.Numbers_Click();
  platform.files.erase(kData + "Tessa.sav");
  first.Preferences_Click();
  EXPECT_EQ(platform.files.count(kSettings + "Tessa.sav"), 1u);
  EXPECT_EQ(platform.files.count(kData + "Tessa.sav"), 0u) << "the data folder stays untouched";

  Tessaron second{platform};
  second.Form_Load();
  EXPECT_TRUE(second.commandBar().item(Command::Numbers).Checked);
}

TEST_F(InstalledClock, APortableCopysFileIsReadAsItIs) {
  platform.files[kSettings + "Tessa.sav"] = kSavedHints;
  Tessaron core{platform};
  core.Form_Load();
  EXPECT_TRUE(core.commandBar().item(Command::Numbers).Checked);
  EXPECT_EQ(core.backgroundMusic().musicFile(), "smallworld.wav");
}

TEST_F(InstalledClock, TheClosingSoundAndTheHelpFilesComeFromTheDataFolder) {
  Tessaron core{platform};
  core.Form_Load();
  EXPECT_EQ(platform.callsStartingWith("playOnce"), Calls{"playOnce " + kData + "ding.wav"});
  platform.calls.clear();
  core.HelpFile_Click();
  core.ShortCut_Click();
  EXPECT_EQ(platform.calls,
            (Calls{"showHelp " + kData + "Tessa.hlp", "showHelp " + kData + "TSShortcut.hlp"}));
}

TEST_F(InstalledClock, MusicPromptNamesTheUsersFolderAndLooksThereFirst) {
  struct Case {
    const char* name;
    std::vector<std::string> files;  // besides the shipped ones
    std::string typed;
    std::string played;  // empty: refused
  };
  const Case cases[] = {
      {"the shipped default works out of the box", {}, "smallworld.wav", kData + "smallworld.wav"},
      {"the user's own file", {kUser + "rain.wav"}, "rain.wav", kUser + "rain.wav"},
      {"the user's file wins over a shipped one",
       {kUser + "smallworld.wav"},
       "smallworld.wav",
       kUser + "smallworld.wav"},
      {"a subfolder of the user's folder",
       {kUser + "birds/lark.wav"},
       "birds\\lark.wav",
       kUser + "birds/lark.wav"},
      {"in neither folder", {kSettings + "rain.wav"}, "rain.wav", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform& p = platform;
    for (const auto& f : c.files) p.files[f] = "RIFF";
    Tessaron core{p};
    core.Form_Load();
    p.calls.clear();
    p.inputAnswers = {c.typed};
    core.Music_Click();
    const Calls prompts = p.callsStartingWith("inputBox");
    ASSERT_EQ(prompts.size(), 1u);
    // The folder it names is made first, so that the user finds it.
    EXPECT_EQ(p.calls.front(), "makeFolder " + kUser);
    EXPECT_EQ(prompts[0].rfind("inputBox Enter the .WAV file - " + kUser + "|", 0), 0u)
        << prompts[0];
    if (c.played.empty()) {
      EXPECT_FALSE(core.commandBar().item(Command::Music).Checked);
      EXPECT_TRUE(p.callsStartingWith("playLoop").empty());
    } else {
      EXPECT_TRUE(core.commandBar().item(Command::Music).Checked);
      EXPECT_EQ(core.commandBar().item(Command::Music).Caption, "&Music (" + c.typed + ")");
      EXPECT_EQ(p.callsStartingWith("playLoop"), Calls{"playLoop " + c.played});
    }
    for (const auto& f : c.files) p.files.erase(f);
  }
}

}  // namespace
}  // namespace tessaron::program_folders_test

namespace tessaron::program_folders_test {
namespace {

// A portable copy on a read-only medium: the choices beside it start the clock until the
// user has saved; saves go to the settings folder, and the user is told where, once.
TEST_F(InstalledClock, AReadOnlyPortableCopyStartsFromItsFileAndSaysOnceWhereSavesGo) {
  const std::string portable = "/media/stick/tessaron/";
  platform.info.portableFolder = portable.substr(0, portable.size() - 1);
  platform.files[portable + "Tessa.sav"] = kSavedHints;
  Tessaron first{platform};
  first.Form_Load();
  EXPECT_TRUE(first.commandBar().item(Command::Numbers).Checked)
      << "the file beside the program was read";

  platform.calls.clear();
  first.Preferences_Click();
  first.Preferences_Click();
  EXPECT_EQ(platform.files.at(portable + "Tessa.sav"), kSavedHints) << "left as it was";
  EXPECT_EQ(platform.files.count(kSettings + "Tessa.sav"), 1u);
  EXPECT_EQ(platform.callsStartingWith("messageBox"),
            (Calls{"messageBox 64 Tessaron|The program's folder " + portable +
                   " cannot be written to, so the preferences were saved to " + kSettings +
                   "Tessa.sav, where the clock will find them at its next start."}));

  // The next start takes the user's own save over the one beside the program.
  platform.files[kSettings + "Tessa.sav"] =
      "255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,0,0,\"smallworld.wav\",#FALSE#\r\n";
  Tessaron second{platform};
  second.Form_Load();
  EXPECT_FALSE(second.commandBar().item(Command::Numbers).Checked);
}

TEST_F(InstalledClock, AFailedFirstSaveDoesNotSpeakOfPreferencesSavedBefore) {
  Tessaron core{platform};
  core.Form_Load();
  platform.writeError = "Permission denied";
  platform.calls.clear();
  core.Preferences_Click();
  EXPECT_EQ(platform.calls,
            (Calls{"messageBox 48 Tessaron|Unable to save the preferences to " + kSettings +
                   "Tessa.sav (Permission denied). Nothing was saved."}));
}

}  // namespace
}  // namespace tessaron::program_folders_test
