// "Tessa.sav": what start-up takes from each kind of file, damaged ones included, what
// saving writes, and how a saved position that no screen shows any more comes back.

#include "core/preferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands/command_bar.h"
#include "commands/music.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "tests/core_internals.h"
#include "tests/fake_platform.h"

namespace tessaron::preferences_test {
namespace {

constexpr const char* kSavePath = "/opt/tessaron/Tessa.sav";
constexpr Colour kWhite = 16777215;
constexpr double kScreenW = 1920 * 15.0;
constexpr double kScreenH = 1080 * 15.0;
constexpr double kNarrow = 3622;
constexpr double kWide = 5542;

const std::string kExample =
    "255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,\"smallworld.wav\",#FALSE#\r\n";

std::vector<std::string> exampleFields() {
  std::vector<std::string> fields;
  std::string field;
  for (char ch : kExample.substr(0, kExample.size() - 2)) {
    if (ch == ',') {
      fields.push_back(field);
      field.clear();
    } else {
      field += ch;
    }
  }
  fields.push_back(field);
  return fields;
}

// The example line with some fields (numbered from 1) replaced.
std::string exampleWith(const std::vector<std::pair<int, std::string>>& changes) {
  std::vector<std::string> fields = exampleFields();
  for (const auto& [field, value] : changes) fields.at(static_cast<std::size_t>(field - 1)) = value;
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : ",") + fields[i];
  return line + "\r\n";
}
std::string exampleWith(int field, const std::string& value) {
  return exampleWith({{field, value}});
}

// The example's first `count` fields and a line end.
std::string exampleFirst(int count) {
  const std::vector<std::string> fields = exampleFields();
  std::string line;
  for (int i = 0; i < count; ++i) line += (i == 0 ? "" : ",") + fields[static_cast<std::size_t>(i)];
  return line + "\r\n";
}

// A program folder holding `file` as "Tessa.sav" (or no such file), with the window
// somewhere that start-up must replace.
struct Start {
  test::FakePlatform platform;
  Tessaron core{platform};
  explicit Start(std::optional<std::string> file) {
    if (file) platform.files[kSavePath] = *file;
    platform.left = 999;
    platform.top = 777;
  }
  std::size_t count(const std::string& prefix) const {
    return platform.callsStartingWith(prefix).size();
  }
};

TEST(ReadPreferences, StartUpTakesEachFieldAsSaved) {
  struct Case {
    const char* name;
    std::string file;
    Colour on, off, hint;
    bool numbers, seconds, always, vertical;
    double top, left;
    const char* music;
  };
  const Case cases[] = {
      {"the example line", kExample, 255, 0, kWhite, false, false, false, false, 1200, 3000,
       "smallworld.wav"},
      {"no line end after the last field", kExample.substr(0, kExample.size() - 2), 255, 0, kWhite,
       false, false, false, false, 1200, 3000, "smallworld.wav"},
      {"left 1234.5 rounds down to even", exampleWith(9, "1234.5"), 255, 0, kWhite, false, false,
       false, false, 1200, 1234, "smallworld.wav"},
      {"left 1235.5 rounds up to even", exampleWith(9, "1235.5"), 255, 0, kWhite, false, false,
       false, false, 1200, 1236, "smallworld.wav"},
      {"top 1234.5 keeps its fraction", exampleWith(8, "1234.5"), 255, 0, kWhite, false, false,
       false, false, 1234.5, 3000, "smallworld.wav"},
      {"system colour reference from the transparent look", exampleWith(2, "-2147483633"), 255,
       static_cast<Colour>(0x8000000Fu), kWhite, false, false, false, false, 1200, 3000,
       "smallworld.wav"},
      {"colours at both ends of 32 bits",
       "2147483647,-2147483648,0,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,\"smallworld.wav\","
       "#FALSE#\r\n",
       2147483647, static_cast<Colour>(0x80000000u), 0, false, false, false, false, 1200, 3000,
       "smallworld.wav"},
      {"empty music name", exampleWith(10, "\"\""), 255, 0, kWhite, false, false, false, false,
       1200, 3000, "smallworld.wav"},
      {"four-character music name", exampleWith(10, "\"a.wa\""), 255, 0, kWhite, false, false,
       false, false, 1200, 3000, "smallworld.wav"},
      {"five-character music name", exampleWith(10, "\"b.wav\""), 255, 0, kWhite, false, false,
       false, false, 1200, 3000, "b.wav"},
      {"music name holding a comma", exampleWith(10, "\"one, two.wav\""), 255, 0, kWhite, false,
       false, false, false, 1200, 3000, "one, two.wav"},
      {"options on",
       "16711680,65280,255,#TRUE#,#TRUE#,#FALSE#,#TRUE#,1200,3000,\"smallworld.wav\",#TRUE#\r\n",
       16711680, 65280, 255, true, true, true, true, 1200, 3000, "smallworld.wav"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Start s(k.file);
    s.core.Form_Load();
    EXPECT_EQ(s.core.colours().OnColor, k.on);
    EXPECT_EQ(s.core.colours().OffColor, k.off);
    EXPECT_EQ(s.core.colours().HintColor, k.hint);
    EXPECT_EQ(s.core.colours().StartOnColor, k.on);
    EXPECT_EQ(s.core.colours().StartOffColor, k.off);
    EXPECT_EQ(s.core.commandBar().item(Command::Numbers).Checked, k.numbers);
    EXPECT_EQ(s.core.commandBar().item(Command::Seconds).Checked, k.seconds);
    EXPECT_FALSE(s.core.commandBar().item(Command::Music).Checked);
    EXPECT_EQ(s.core.commandBar().item(Command::Always).Checked, k.always);
    EXPECT_EQ(s.core.commandBar().item(Command::Vertical).Checked, k.vertical);
    EXPECT_EQ(s.platform.top, k.top);
    EXPECT_EQ(s.platform.left, k.left);
    EXPECT_EQ(s.core.backgroundMusic().musicFile(), k.music);
    EXPECT_EQ(s.count("messageBox"), 0u);
    EXPECT_EQ(s.count("chooseColour"), 0u) << "no hint-colour prompt at start-up";
    EXPECT_EQ(s.platform.files.at(kSavePath), k.file);
  }
}

// A damaged file must neither crash the clock nor half-apply: start-up goes on with the
// first-start values, says so once, and leaves the file for the user to inspect.
TEST(ReadPreferences, ADamagedFileGivesTheFirstStartValuesAndAMessage) {
  struct Case {
    std::string name;
    std::string file;
  };
  std::vector<Case> cases = {
      {"empty file", ""},
      {"only a line end", "\r\n"},
      {"ends after a comma", "255,"},
      {"ends inside a flag", "255,0,16777215,#FAL"},
      {"ends inside the music name",
       "255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,\"sma"},
      {"unterminated quote", exampleWith(10, "\"smallworld.wav")},
      {"flag in a colour field", exampleWith(1, "#TRUE#")},
      {"text in a number field", exampleWith(8, "\"1200\"")},
      {"number in a flag field", exampleWith(4, "0")},
      {"unknown flag", exampleWith(11, "#YES#")},
      {"unquoted music name", exampleWith(10, "smallworld.wav")},
      {"hexadecimal colour", exampleWith(1, "0xFF")},
      {"colour 2147483648", exampleWith(1, "2147483648")},
      {"colour 4294967295", exampleWith(3, "4294967295")},
      {"colour -2147483649", exampleWith(2, "-2147483649")},
      {"colour beyond a double", exampleWith(1, "1e999")},
      {"top 1e39", exampleWith(8, "1e39")},
      {"top -1e39", exampleWith(8, "-1e39")},
      {"left 3e9", exampleWith(9, "3e9")},
      {"left -3e9", exampleWith(9, "-3e9")},
      {"left 2147483647, 2^31 as written back", exampleWith(9, "2147483647")},
      {"left nan", exampleWith(9, "nan")},
      {"top inf", exampleWith(8, "inf")},
      {"top -inf", exampleWith(8, "-inf")},
      {"decimal comma", exampleWith(8, "1200,5")},
      {"a twelfth field", kExample.substr(0, kExample.size() - 2) + ",#FALSE#\r\n"},
      {"garbage bytes", std::string("\0\xff\xfe\x01\x80garbage\r\n", 14)},
  };
  for (int n = 1; n <= 10; ++n) {
    cases.push_back({"ends after field " + std::to_string(n), exampleFirst(n)});
  }
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Start s(k.file);
    s.core.Form_Load();
    EXPECT_EQ(s.core.colours().OnColor, 255);
    EXPECT_EQ(s.core.colours().OffColor, 0);
    EXPECT_EQ(s.core.colours().HintColor, kWhite);
    EXPECT_FALSE(s.core.commandBar().item(Command::Numbers).Checked);
    EXPECT_FALSE(s.core.commandBar().item(Command::Seconds).Checked);
    EXPECT_FALSE(s.core.commandBar().item(Command::Music).Checked);
    EXPECT_FALSE(s.core.commandBar().item(Command::Always).Checked);
    EXPECT_FALSE(s.core.commandBar().item(Command::Vertical).Checked);
    EXPECT_EQ(s.platform.top, 0);
    EXPECT_EQ(s.platform.left, 0);
    EXPECT_EQ(s.core.backgroundMusic().musicFile(), "smallworld.wav");
    EXPECT_EQ(s.platform.width, kNarrow);
    EXPECT_EQ(s.platform.height, 2000);
    EXPECT_EQ(s.count("messageBox 48 Tessaron|"), 1u);
    EXPECT_EQ(s.count("messageBox"), 1u);
    EXPECT_EQ(s.platform.files.size(), 1u);
    EXPECT_EQ(s.platform.files.at(kSavePath), k.file);
  }
}

// Whatever stands in the file's place, start-up says what it found and promises nothing
// of saving; a file past the size limit is refused however good its line is.
TEST(ReadPreferences, AFileThatCannotBeReadIsNamedWithTheReason) {
  struct Case {
    const char* name;
    std::optional<std::string> file;
    const char* unreadable;  // what the desktop says of the path, or nothing
    const char* reason;
  };
  const std::string padded =
      kExample.substr(0, kExample.size() - 2) + std::string(kMaxPreferencesBytes, ' ') + "\r\n";
  const Case cases[] = {
      {"a folder", std::nullopt, "it is a folder", "it is a folder"},
      {"a FIFO", std::nullopt, "it is not an ordinary file", "it is not an ordinary file"},
      {"a dangling link", std::nullopt, "it is a link to nothing", "it is a link to nothing"},
      {"no permission", kExample, "Permission denied", "Permission denied"},
      {"a good line padded past the limit", padded, nullptr, "it is larger than 65536 bytes"},
      {"a damaged line", "255,0", nullptr, "it is damaged"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start s(c.file);
    if (c.unreadable != nullptr) s.platform.unreadable[kSavePath] = c.unreadable;
    s.core.Form_Load();
    EXPECT_EQ(s.platform.lastReadLimit, 65536u);
    EXPECT_EQ(s.platform.callsStartingWith("messageBox"),
              std::vector<std::string>{
                  std::string("messageBox 48 Tessaron|The preferences in /opt/tessaron/Tessa.sav "
                              "could not be read (") +
                  c.reason +
                  "). The clock starts with its first-start settings and leaves the file as "
                  "it is."});
    EXPECT_EQ(s.core.colours().OnColor, 255);
    EXPECT_FALSE(s.core.commandBar().item(Command::Music).Checked);
  }
  // The largest line that fits is still read.
  Start fits(kExample.substr(0, kExample.size() - 2) +
             std::string(kMaxPreferencesBytes - kExample.size(), ' ') + "\r\n");
  ASSERT_EQ(fits.platform.files.at(kSavePath).size(), kMaxPreferencesBytes);
  fits.core.Form_Load();
  EXPECT_EQ(fits.count("messageBox"), 0u);
}

TEST(SavePreferences, FirstStartStateWritesTheExampleLine) {
  Start s(std::nullopt);
  s.core.Form_Load();
  s.platform.top = 1200;  // the user moves the window
  s.platform.left = 3000;
  s.platform.calls.clear();
  s.core.Preferences_Click();
  EXPECT_EQ(s.platform.files.at(kSavePath), kExample);
  EXPECT_TRUE(s.platform.calls.empty()) << "a save that works says nothing";
}

TEST(SavePreferences, RoundTripRestoresEverySavedChoice) {
  test::FakePlatform first;
  first.files["/opt/tessaron/tick.wav"] = "RIFF";
  {
    Tessaron core(first);
    core.Form_Load();
    first.colourAnswers = {rgb(0, 255, 0), rgb(0, 0, 255)};
    first.inputAnswers = {"tick.wav"};
    core.On_Click();
    core.Transparent_Click();
    core.Numbers_Click();  // a dot colour changed: the hint prompt takes blue
    core.Seconds_Click();
    core.Music_Click();
    core.Always_Click();
    core.Vertical_Click();
    first.top = 1234.5;  // the user moves the window
    first.left = 4321.5;
    core.Preferences_Click();
  }
  EXPECT_EQ(first.files.at(kSavePath),
            "65280,-2147483633,16711680,#TRUE#,#TRUE#,#TRUE#,#TRUE#,1234.5,4321.5,\"tick.wav\","
            "#TRUE#\r\n");

  test::FakePlatform second;
  second.files = first.files;
  second.inputAnswers = {"tick.wav"};
  Tessaron core(second);
  core.Form_Load();
  EXPECT_EQ(core.colours().OnColor, rgb(0, 255, 0));
  EXPECT_EQ(core.colours().OffColor, kButtonFace);
  EXPECT_EQ(core.colours().HintColor, rgb(0, 0, 255));
  EXPECT_TRUE(core.commandBar().item(Command::Numbers).Checked);
  EXPECT_TRUE(core.commandBar().item(Command::Seconds).Checked);
  EXPECT_TRUE(core.commandBar().item(Command::Music).Checked);
  EXPECT_TRUE(core.commandBar().item(Command::Always).Checked);
  EXPECT_TRUE(core.commandBar().item(Command::Vertical).Checked);
  EXPECT_FALSE(core.commandBar().item(Command::AltTimeZone).Checked);
  EXPECT_EQ(second.top, 1234.5);
  EXPECT_EQ(second.left, 4322);  // 4321.5: halves to even
  EXPECT_EQ(core.backgroundMusic().musicFile(), "tick.wav");
  EXPECT_EQ(second.callsStartingWith("playLoop"),
            std::vector<std::string>{"playLoop /opt/tessaron/tick.wav"});
  EXPECT_TRUE(second.callsStartingWith("chooseColour").empty());
  for (int i = 0; i < kDotCount; ++i)
    EXPECT_EQ(core.dotLayout().hints()[i].ForeColor, rgb(0, 0, 255)) << i;

  // Saved again unchanged, the same choices give the same line.
  core.Preferences_Click();
  EXPECT_EQ(second.files.at(kSavePath),
            "65280,-2147483633,16711680,#TRUE#,#TRUE#,#TRUE#,#TRUE#,1234.5,4322,\"tick.wav\","
            "#TRUE#\r\n");
}

// One switch on, the others off, saved: only that switch's field reads #TRUE#, so no
// flag can be written into another's field.
TEST(SavePreferences, EachSwitchIsWrittenIntoItsOwnField) {
  struct Case {
    const char* name;
    void (Tessaron::*turnOn)();
    std::size_t field;  // 0-based, among the line's comma-separated fields
  };
  const Case cases[] = {
      {"hints", &Tessaron::Numbers_Click, 3},     {"seconds", &Tessaron::Seconds_Click, 4},
      {"music", &Tessaron::Music_Click, 5},       {"always on top", &Tessaron::Always_Click, 6},
      {"columns", &Tessaron::Vertical_Click, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start s(std::nullopt);
    s.platform.files["/opt/tessaron/smallworld.wav"] = "RIFF";
    s.platform.inputAnswers = {"smallworld.wav"};
    s.core.Form_Load();
    (s.core.*c.turnOn)();
    s.core.Preferences_Click();
    std::string line = s.platform.files.at(kSavePath);
    line.resize(line.size() - 2);  // CR LF
    std::vector<std::string> fields;
    for (std::size_t start = 0, comma = 0; comma != std::string::npos; start = comma + 1) {
      comma = line.find(',', start);
      fields.push_back(line.substr(start, comma - start));
    }
    ASSERT_EQ(fields.size(), 11u) << line;
    for (std::size_t field : {3u, 4u, 5u, 6u, 10u}) {
      EXPECT_EQ(fields[field], field == c.field ? "#TRUE#" : "#FALSE#") << "field " << field;
    }
  }
}

TEST(SavePreferences, AFailedSaveKeepsTheOldFileTellsTheUserAndChangesNothing) {
  Start s(kExample);
  s.core.Form_Load();
  s.platform.colourAnswers = {rgb(0, 255, 0)};
  s.core.On_Click();
  s.core.Seconds_Click();
  s.platform.top = 2222;
  s.platform.writeError = "No space left on device";
  s.platform.calls.clear();
  const Tessaron& core = s.core;
  const Colour on = core.colours().OnColor, off = core.colours().OffColor,
               hint = core.colours().HintColor;
  const bool redraw = test::Internals::redrawAll(core);
  const std::string music = core.backgroundMusic().musicFile();

  s.core.Preferences_Click();

  EXPECT_EQ(s.platform.files.at(kSavePath), kExample);
  ASSERT_EQ(s.platform.calls.size(), 1u);
  EXPECT_EQ(s.platform.calls[0],
            "messageBox 48 Tessaron|Unable to save the preferences to /opt/tessaron/Tessa.sav "
            "(No space left on device). The preferences saved before are unchanged.");
  EXPECT_EQ(core.colours().OnColor, on);
  EXPECT_EQ(core.colours().OffColor, off);
  EXPECT_EQ(core.colours().HintColor, hint);
  EXPECT_EQ(test::Internals::redrawAll(core), redraw);
  EXPECT_EQ(core.backgroundMusic().musicFile(), music);
  EXPECT_TRUE(core.commandBar().item(Command::Seconds).Checked);
  EXPECT_FALSE(core.commandBar().item(Command::Numbers).Checked);
  EXPECT_EQ(s.platform.top, 2222);
  EXPECT_EQ(s.platform.left, 3000);
  EXPECT_EQ(s.platform.width, kWide);
}

// Every start runs each option command once: a saved "on" through its switch-on path,
// a saved "off" through its switch-off path, in the order hints, seconds, music,
// always on top, arrangement.
TEST(StartUpOptions, SavedOnAndSavedOffRunEachCommandsOwnPath) {
  struct Case {
    const char* name;
    std::string file;
    bool on;
  };
  const Case cases[] = {
      {"all saved on",
       "65280,128,65535,#TRUE#,#TRUE#,#TRUE#,#TRUE#,1200,3000,\"tick.wav\",#TRUE#\r\n", true},
      {"all saved off",
       "65280,128,65535,#FALSE#,#FALSE#,#FALSE#,#FALSE#,1200,3000,\"tick.wav\",#FALSE#\r\n", false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Start s(k.file);
    s.platform.files["/opt/tessaron/tick.wav"] = "RIFF";
    s.platform.inputAnswers = {"tick.wav"};
    s.core.Form_Load();

    for (Command command :
         {Command::Numbers, Command::Seconds, Command::Music, Command::Always, Command::Vertical}) {
      EXPECT_EQ(s.core.commandBar().item(command).Checked, k.on);
    }
    for (int button : {kButtonAlways, kButtonMusic, kButtonNumbers, kButtonSeconds}) {
      EXPECT_EQ(s.core.commandBar().toolbar().button(button).Value, k.on ? 1 : 0)
          << "button " << button;
    }
    EXPECT_EQ(s.platform.width, k.on ? kWide : kNarrow);
    EXPECT_EQ(s.platform.height, k.on ? 2760 : 2000);
    EXPECT_EQ(s.platform.top, 1200);
    EXPECT_EQ(s.platform.left, 3000);
    for (int i = 0; i < kDotCount; ++i) {
      EXPECT_EQ(s.core.dotLayout().dots()[i].Visible, k.on || i <= 10) << "dot " << i;
      EXPECT_EQ(s.core.dotLayout().hints()[i].Visible, k.on) << "label " << i;
    }
    EXPECT_EQ(s.core.dotLayout().hints()[0].Caption, k.on ? "2" : "16");
    EXPECT_EQ(s.count("chooseColour"), 0u);
    EXPECT_EQ(s.count("messageBox"), 0u);

    // One call of each command's outward effect, in start-up order.
    auto first = [&](const std::string& prefix) {
      const auto& calls = s.platform.calls;
      const auto it = std::find_if(calls.begin(), calls.end(),
                                   [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
      return it - calls.begin();
    };
    const auto n = static_cast<std::ptrdiff_t>(s.platform.calls.size());
    const std::string music = k.on ? "inputBox " : "playOnce /opt/tessaron/ding.wav";
    const std::string stacking = k.on ? "topmost" : "notopmost";
    EXPECT_EQ(s.count("topmost"), k.on ? 1u : 0u);
    EXPECT_EQ(s.count("notopmost"), k.on ? 0u : 1u);
    EXPECT_EQ(s.count(music), 1u);
    EXPECT_LT(first("setWindowWidth"), first(music));
    EXPECT_LT(first(music), first(stacking));
    EXPECT_LT(first(stacking), first(k.on ? "setWindowHeight 2760" : "setWindowHeight 2000"));
    EXPECT_LT(first(k.on ? "setWindowHeight 2760" : "setWindowHeight 2000"), n);
    if (k.on) {
      const auto prompt = s.platform.callsStartingWith("inputBox ");
      ASSERT_EQ(prompt.size(), 1u);
      EXPECT_NE(prompt[0].find("|WAV file Input|tick.wav|"), std::string::npos) << prompt[0];
      EXPECT_EQ(s.platform.callsStartingWith("playLoop"),
                std::vector<std::string>{"playLoop /opt/tessaron/tick.wav"});
    } else {
      EXPECT_EQ(s.count("inputBox"), 0u);
      EXPECT_EQ(s.count("playLoop"), 0u);
    }
  }
}

// The seconds and arrangement commands run while the other's check mark still holds its
// preset opposite; the dots and labels must still end up as the saved options say.
TEST(StartUpOptions, SavedHintsSecondsAndArrangementGiveTheirDotsAndLabels) {
  struct Case {
    const char* name;
    bool hints, seconds, columns;
    int lastDot;
  };
  const Case cases[] = {
      {"row", false, false, false, 10},
      {"row, hints", true, false, false, 10},
      {"row, seconds", false, true, false, 16},
      {"row, hints and seconds", true, true, false, 16},
      {"columns", false, false, true, 12},
      {"columns, hints", true, false, true, 12},
      {"columns, seconds", false, true, true, 19},
      {"columns, hints and seconds", true, true, true, 19},
  };
  auto flag = [](bool on) { return std::string(on ? "#TRUE#" : "#FALSE#"); };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    const bool hints = k.hints, seconds = k.seconds, columns = k.columns;
    Start s(exampleWith({{4, flag(hints)}, {5, flag(seconds)}, {11, flag(columns)}}));
    s.core.Form_Load();
    ASSERT_EQ(s.count("messageBox"), 0u) << s.platform.files.at(kSavePath);
    EXPECT_EQ(s.core.commandBar().item(Command::Numbers).Checked, hints);
    EXPECT_EQ(s.core.commandBar().item(Command::Seconds).Checked, seconds);
    EXPECT_EQ(s.core.commandBar().item(Command::Vertical).Checked, columns);
    EXPECT_EQ(s.platform.width, seconds ? kWide : kNarrow);
    EXPECT_EQ(s.platform.height, columns ? 2760 : 2000);
    for (int i = 0; i < kDotCount; ++i) {
      EXPECT_EQ(s.core.dotLayout().dots()[i].Visible, i <= k.lastDot) << "dot " << i;
      EXPECT_EQ(s.core.dotLayout().hints()[i].Visible, hints && i <= k.lastDot) << "label " << i;
    }
  }
}

TEST(SavedPosition, AWindowThatNoScreenShowsComesBackOntoThePrimaryScreen) {
  const ScreenArea primary = test::screenArea(0, 0, kScreenW, kScreenH);
  struct Case {
    const char* name;
    std::vector<ScreenArea> screens;  // empty: the primary screen alone
    double top, left;
    bool kept;
  };
  const Case cases[] = {
      {"on the screen", {}, 1200, 3000, true},
      {"one twip of it on the right edge", {}, 1200, kScreenW - 1, true},
      {"partly above the screen", {}, -1000, 3000, true},
      {"partly left of the screen", {}, 1200, -3000, true},
      {"left edge on the screen's right edge", {}, 1200, kScreenW, false},
      {"far right, where a second screen used to be", {}, 1200, 40000, false},
      {"far up and left", {}, -100000, -100000, false},
      {"below the screen", {}, 50000, 3000, false},
      {"on a second screen to the right",
       {primary, test::screenArea(kScreenW, 0, kScreenW, kScreenH)},
       1200,
       40000,
       true},
      {"on a second screen to the left",
       {primary, test::screenArea(-kScreenW, 0, kScreenW, kScreenH)},
       1200,
       -20000,
       true},
      {"on a second screen above",
       {primary, test::screenArea(0, -kScreenH, kScreenW, kScreenH)},
       -10000,
       3000,
       true},
      {"between two screens, on neither",
       {primary, test::screenArea(kScreenW * 2, 0, kScreenW, kScreenH)},
       1200,
       kScreenW + 5000,
       false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Start s(exampleWith({{8, std::to_string(static_cast<long>(k.top))},
                         {9, std::to_string(static_cast<long>(k.left))}}));
    s.platform.extraScreens = k.screens;
    s.core.Form_Load();
    ASSERT_EQ(s.count("messageBox"), 0u);
    if (k.kept) {
      EXPECT_EQ(s.platform.top, k.top);
      EXPECT_EQ(s.platform.left, k.left);
    } else {
      EXPECT_GE(s.platform.left, 0);
      EXPECT_GE(s.platform.top, 0);
      EXPECT_LE(s.platform.left + s.platform.width, kScreenW);
      EXPECT_LE(s.platform.top + s.platform.height, kScreenH);
    }
  }
}

// A modal prompt placed by a window position that no screen shows would hang the start
// out of sight: the music prompt must open where the user can see it.
TEST(SavedPosition, MusicPromptAtStartUpOpensOnTheScreen) {
  Start s(exampleWith({{6, "#TRUE#"}, {9, "100000"}}));
  s.platform.files["/opt/tessaron/smallworld.wav"] = "RIFF";
  s.platform.inputAnswers = {"smallworld.wav"};
  s.core.Form_Load();
  const auto prompt = s.platform.callsStartingWith("inputBox ");
  ASSERT_EQ(prompt.size(), 1u);
  const std::string corner = prompt[0].substr(prompt[0].rfind('|') + 1);
  const double x = std::stod(corner.substr(0, corner.find(',')));
  const double y = std::stod(corner.substr(corner.find(',') + 1));
  EXPECT_GE(x, 0) << prompt[0];
  EXPECT_LT(x, kScreenW) << prompt[0];
  EXPECT_GE(y, 0) << prompt[0];
  EXPECT_LT(y, kScreenH) << prompt[0];
}

// The seconds and arrangement switches keep the window inside the screen that holds it;
// on a second screen that is not at the desktop's origin, a window well inside it stays.
TEST(SavedPosition, OptionsRestoredOnASecondScreenKeepTheWindowWhereItWas) {
  const ScreenArea primary = test::screenArea(0, 0, kScreenW, kScreenH);
  struct Case {
    const char* name;
    ScreenArea second;
    double top, left;
    const char* seconds;
    const char* vertical;
  };
  const Case cases[] = {
      {"seconds on a screen to the right", test::screenArea(kScreenW, 0, kScreenW, kScreenH), 1200,
       40000, "#TRUE#", "#FALSE#"},
      {"columns on a screen below", test::screenArea(0, kScreenH, kScreenW, kScreenH), 20000, 3000,
       "#FALSE#", "#TRUE#"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Start s(exampleWith({{5, k.seconds},
                         {8, std::to_string(static_cast<long>(k.top))},
                         {9, std::to_string(static_cast<long>(k.left))},
                         {11, k.vertical}}));
    s.platform.extraScreens = {primary, k.second};
    s.core.Form_Load();
    EXPECT_EQ(s.platform.top, k.top);
    EXPECT_EQ(s.platform.left, k.left);
  }
}

}  // namespace
}  // namespace tessaron::preferences_test
