// Background music: the switch both ways, where the prompt opens, which names it
// refuses, and the closing sound at start-up and at the end.

#include "commands/music.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "tests/fake_platform.h"

namespace tessaron::music_test {
namespace {

using Calls = std::vector<std::string>;

constexpr const char* kFolder = "/opt/tessaron/";
constexpr const char* kPromptStart =
    "inputBox Enter the .WAV file - /opt/tessaron/|WAV file Input|";
const Calls kClosing = {"playOnce /opt/tessaron/ding.wav", "stopSound"};

// A started clock (first start, music off) in a folder that holds "smallworld.wav".
class MusicSwitch : public ::testing::Test {
 protected:
  test::FakePlatform platform;
  Tessaron core{platform};

  void SetUp() override {
    platform.files[std::string(kFolder) + "smallworld.wav"] = "RIFF";
    core.Form_Load();
    platform.calls.clear();
  }
  // The recorded calls that are not window geometry.
  Calls effects() const {
    Calls out;
    for (const auto& c : platform.calls) {
      if (c.rfind("setWindow", 0) != 0) out.push_back(c);
    }
    return out;
  }
  void expectOff() {
    EXPECT_FALSE(core.commandBar().item(Command::Music).Checked);
    EXPECT_EQ(core.commandBar().item(Command::Music).Caption, "&Music");
    EXPECT_EQ(core.commandBar().toolbar().button(kButtonMusic).Value, 0);
  }
};

TEST_F(MusicSwitch, OnLoopsTheNamedFileOffPlaysTheClosingSequence) {
  platform.inputAnswers = {"smallworld.wav"};
  core.Music_Click();
  EXPECT_TRUE(core.commandBar().item(Command::Music).Checked);
  EXPECT_EQ(core.commandBar().item(Command::Music).Caption, "&Music (smallworld.wav)");
  EXPECT_EQ(core.commandBar().toolbar().button(kButtonMusic).Value, 1);
  EXPECT_EQ(effects(), (Calls{std::string(kPromptStart) + "smallworld.wav|3622,2000",
                              "playLoop /opt/tessaron/smallworld.wav"}));

  platform.calls.clear();
  core.Music_Click();
  expectOff();
  EXPECT_EQ(effects(), kClosing) << "nothing asked, the closing sound, then the loop ends";
  EXPECT_EQ(core.backgroundMusic().musicFile(), "smallworld.wav");
}

TEST_F(MusicSwitch, PromptStandsBesideTheClockWhereThereIsRoom) {
  // Left of the clock when L - 5800 > 0, else right of it (L + W); one clock height
  // above when T - H > 0, else just below (T + H).
  struct Case {
    const char* name;
    double left, top, width, height;
    long x, y;
  };
  const Case cases[] = {
      {"room on the left and above", 9000, 6000, 3622, 2000, 3200, 4000},
      {"upper-left corner: right of and below", 300, 200, 3622, 2000, 3922, 2200},
      {"upper-right corner: left of and below", 25000, 200, 5542, 2000, 19200, 2200},
      {"lower-left corner: right of and above", 300, 14000, 3622, 2000, 3922, 12000},
      {"L exactly 5800 and T exactly H count as no room", 5800, 2000, 3622, 2000, 9422, 4000},
      {"one twip more is room", 5801, 2001, 3622, 2000, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.left = c.left;
    platform.top = c.top;
    platform.width = c.width;
    platform.height = c.height;
    platform.calls.clear();
    platform.inputAnswers = {"missing.wav"};
    core.Music_Click();
    EXPECT_EQ(platform.callsStartingWith("inputBox"),
              Calls{std::string(kPromptStart) + "smallworld.wav|" + std::to_string(c.x) + "," +
                    std::to_string(c.y)});
  }
}

TEST_F(MusicSwitch, RefusedNamesLeaveTheSwitchOffAndTheNameAsItWas) {
  // Files that exist under the refused names: only the name decides.
  for (const char* name : {"*.wav", "small?orld.wav", "say\"hi\".wav"}) {
    platform.files[std::string(kFolder) + name] = "RIFF";
  }
  platform.files[std::string(kFolder) + "sounds/tune.wav"] = "RIFF";  // "sounds" is a folder
  platform.files[std::string(kFolder) + "elsewhere.wav"] = "RIFF";
  platform.linksLeadingOut.insert(std::string(kFolder) + "elsewhere.wav");
  // Files above the folder, reachable by names that climb out of it.
  for (const char* name :
       {"../secret.wav", "sounds/../../secret.wav", "/tmp/secret.wav", "./../secret.wav"}) {
    platform.files[std::string(kFolder) + name] = "RIFF";
  }
  struct Case {
    const char* name;
    const char* typed;
  };
  const Case cases[] = {
      {"a wildcard pattern that one file matches", "*.wav"},
      {"a single-character wildcard", "small?orld.wav"},
      {"cancel or an empty entry: the folder itself", ""},
      {"a folder", "sounds"},
      {"a double quote, which the preferences file cannot store", "say\"hi\".wav"},
      {"a misspelt name", "smalworld.wav"},
      {"a parent folder", "../secret.wav"},
      {"a parent folder with backslashes", "..\\secret.wav"},
      {"down then up past the folder", "sounds\\..\\..\\secret.wav"},
      {"a dot then a parent folder", "./../secret.wav"},
      {"an absolute path", "/tmp/secret.wav"},
      {"a link in the folder that leads out of it", "elsewhere.wav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.calls.clear();
    platform.inputAnswers = {c.typed};
    core.Music_Click();
    expectOff();
    EXPECT_EQ(core.backgroundMusic().musicFile(), "smallworld.wav");
    EXPECT_TRUE(platform.callsStartingWith("play").empty());
    EXPECT_TRUE(platform.callsStartingWith("stopSound").empty());
    // A change of mind is not told; any name that finds nothing is.
    const auto messages = platform.callsStartingWith("messageBox");
    if (*c.typed == '\0') {
      EXPECT_TRUE(messages.empty());
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0], std::string("messageBox 48 Tessaron|The music cannot play: ") +
                                 c.typed + " was not found in " + kFolder +
                                 ". The music is switched off.");
    }
  }
  // The next prompt offers the name that was there before.
  platform.calls.clear();
  platform.inputAnswers = {"smallworld.wav"};
  core.Music_Click();
  EXPECT_EQ(platform.callsStartingWith("inputBox")[0].rfind(
                std::string(kPromptStart) + "smallworld.wav|", 0),
            0u);
  EXPECT_TRUE(core.commandBar().item(Command::Music).Checked);
}

TEST_F(MusicSwitch, BackslashSeparatesFoldersBelowTheProgramFolder) {
  platform.files[std::string(kFolder) + "sounds/rain.wav"] = "RIFF";
  platform.inputAnswers = {"sounds\\rain.wav"};
  core.Music_Click();
  EXPECT_TRUE(core.commandBar().item(Command::Music).Checked);
  EXPECT_EQ(platform.callsStartingWith("playLoop"),
            Calls{"playLoop /opt/tessaron/sounds/rain.wav"});
  EXPECT_EQ(core.commandBar().item(Command::Music).Caption, "&Music (sounds\\rain.wav)")
      << "the name as typed";
  EXPECT_EQ(core.backgroundMusic().musicFile(), "sounds\\rain.wav");
}

TEST_F(MusicSwitch, ADotDotThatStaysBelowTheFolderIsFound) {
  platform.files[std::string(kFolder) + "sounds/../smallworld.wav"] = "RIFF";
  platform.inputAnswers = {"sounds\\..\\smallworld.wav"};
  core.Music_Click();
  EXPECT_TRUE(core.commandBar().item(Command::Music).Checked);
  EXPECT_EQ(platform.callsStartingWith("playLoop"),
            Calls{"playLoop /opt/tessaron/sounds/../smallworld.wav"});
}

// The sound service tells later that the loop cannot play: the switch goes back to off
// and says why, once; a report about a loop that was already switched off says nothing.
TEST_F(MusicSwitch, AnUnplayableLoopSwitchesTheMusicOffWithOneMessage) {
  platform.inputAnswers = {"smallworld.wav"};
  core.Music_Click();
  ASSERT_EQ(platform.loopFailures.size(), 1u);
  platform.calls.clear();
  platform.loopFailures[0]("the file is not a playable .WAV");
  expectOff();
  EXPECT_EQ(core.backgroundMusic().musicFile(), "smallworld.wav")
      << "the name stays for the next prompt";
  EXPECT_EQ(effects(), (Calls{"messageBox 48 Tessaron|The music cannot play: the file is not a "
                              "playable .WAV. The music is switched off."}));

  // Turned on and off again before the report of that request arrives: nothing to say.
  platform.inputAnswers = {"smallworld.wav"};
  core.Music_Click();
  core.Music_Click();
  platform.calls.clear();
  platform.loopFailures[1]("no sound device");
  expectOff();
  EXPECT_TRUE(platform.calls.empty());
}

TEST(MusicAtStartUp, SavedStateDecidesBetweenThePromptAndTheClosingSound) {
  const std::string savedOn =
      "255,0,16777215,#FALSE#,#FALSE#,#TRUE#,#FALSE#,1200,3000,\"tick.wav\",#FALSE#\r\n";
  const std::string savedOff =
      "255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,\"tick.wav\",#FALSE#\r\n";
  struct Case {
    const char* name;
    const char* file;  // null: no preferences file
    const char* answer;
    bool on;
    const char* caption;
    Calls sound;
  };
  const Case cases[] = {
      {"first start: the closing sound once", nullptr, nullptr, false, "&Music", kClosing},
      {"saved off: the closing sound once", savedOff.c_str(), nullptr, false, "&Music", kClosing},
      {"saved on: the prompt offers the saved name",
       savedOn.c_str(),
       "tick.wav",
       true,
       "&Music (tick.wav)",
       {"playLoop /opt/tessaron/tick.wav"}},
      {"saved on, prompt cancelled: off without a sound", savedOn.c_str(), "", false, "&Music", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform platform;
    platform.files["/opt/tessaron/tick.wav"] = "RIFF";
    if (c.file != nullptr) platform.files["/opt/tessaron/Tessa.sav"] = c.file;
    if (c.answer != nullptr) platform.inputAnswers = {c.answer};
    Tessaron core(platform);
    core.Form_Load();
    EXPECT_EQ(core.commandBar().item(Command::Music).Checked, c.on);
    EXPECT_EQ(core.commandBar().item(Command::Music).Caption, c.caption);
    EXPECT_EQ(core.commandBar().toolbar().button(kButtonMusic).Value, c.on ? 1 : 0);
    Calls sound;
    for (const auto& call : platform.calls) {
      if (call.rfind("play", 0) == 0 || call == "stopSound") sound.push_back(call);
    }
    EXPECT_EQ(sound, c.sound);
    const auto prompts = platform.callsStartingWith("inputBox");
    if (c.answer == nullptr) {
      EXPECT_TRUE(prompts.empty());
    } else {
      ASSERT_EQ(prompts.size(), 1u);
      EXPECT_EQ(prompts[0].rfind(std::string(kPromptStart) + "tick.wav|", 0), 0u) << prompts[0];
    }
    EXPECT_EQ(core.backgroundMusic().musicFile(),
              c.file != nullptr ? "tick.wav" : "smallworld.wav");
  }
}

TEST(MusicAtTermination, ClosingSequenceEndsTheMusicWhateverTheState) {
  for (const bool on : {true, false}) {
    SCOPED_TRACE(on ? "music on" : "music off");
    test::FakePlatform platform;
    platform.files["/opt/tessaron/smallworld.wav"] = "RIFF";
    Tessaron core(platform);
    core.Form_Load();
    if (on) {
      platform.inputAnswers = {"smallworld.wav"};
      core.Music_Click();
      ASSERT_TRUE(core.commandBar().item(Command::Music).Checked);
    }
    platform.calls.clear();
    core.Form_Terminate();
    EXPECT_EQ(platform.calls, kClosing);
  }
}

}  // namespace
}  // namespace tessaron::music_test
