// The colour commands (On, Off, Transparent), the hint-colour prompt of the hints
// switch, and always on top.

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "tests/fake_platform.h"

namespace tessaron::options_test {
namespace {

constexpr Colour kWhite = 16777215;
constexpr Colour kGreen = rgb(0, 255, 0);
constexpr Colour kNavy = rgb(0, 0, 128);
constexpr Colour kYellow = rgb(255, 255, 0);

// A running clock in the row with the seconds shown, its start-up redraw done at
// 12:34:30: hour 12 lights dots 1 and 2, minute 34 dots 5 and 9, second 30 dots 12 to 15.
struct Clock {
  test::FakePlatform platform;
  Tessaron core{platform};
  Clock() {
    core.Form_Load();
    core.Seconds_Click();
    tickAt(12, 34, 30);
    platform.calls.clear();
  }
  void tickAt(int h, int m, int s) {
    platform.time = {h, m, s};
    core.Timer1_Timer();
  }
  std::vector<std::string> chooserCalls() const {
    return platform.callsStartingWith("chooseColour");
  }
};

TEST(Colours, OnAndOffTakeTheChosenColourAndRepaintAtOnce) {
  struct Case {
    const char* name;
    void (Tessaron::*command)();
    Colour Tessaron::Colours::*field;
    const char* chooserOpensOn;
  };
  const Case cases[] = {
      {"on colour", &Tessaron::On_Click, &Tessaron::Colours::OnColor, "chooseColour 255 On Color"},
      {"off colour", &Tessaron::Off_Click, &Tessaron::Colours::OffColor,
       "chooseColour 0 Off Color"},
  };
  const std::set<int> litAt1234 = {1, 2, 5, 9};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Clock c;
    c.platform.colourAnswers = {kNavy};
    (c.core.*k.command)();
    EXPECT_EQ(c.chooserCalls(), std::vector<std::string>{k.chooserOpensOn});
    EXPECT_EQ(c.core.colours().*k.field, kNavy);
    // Mid-minute, before any tick: the hour and minute dots have the new colour already.
    for (int i = 0; i <= 10; ++i) {
      EXPECT_EQ(c.core.dotLayout().dots()[i].FillColor,
                litAt1234.count(i) ? c.core.colours().OnColor : c.core.colours().OffColor)
          << "dot " << i;
    }
  }
}

TEST(Colours, ChooserOpensOnTheColourBeingChangedAndCancelKeepsIt) {
  Clock c;
  c.platform.colourAnswers = {kGreen, std::nullopt, std::nullopt};
  c.core.On_Click();
  c.core.Off_Click();  // cancelled: not the green the chooser showed last
  c.core.On_Click();   // cancelled
  EXPECT_EQ(c.chooserCalls(),
            (std::vector<std::string>{"chooseColour 255 On Color", "chooseColour 0 Off Color",
                                      "chooseColour 65280 On Color"}));
  EXPECT_EQ(c.core.colours().OnColor, kGreen);
  EXPECT_EQ(c.core.colours().OffColor, 0);
  EXPECT_EQ(c.core.colours().HintColor, kWhite);
}

TEST(Colours, TransparentReachesEveryUnlitDotAtOnce) {
  Clock c;
  c.platform.time = {12, 34, 31};  // 011111: dot 11 unlit
  c.core.Transparent_Click();
  EXPECT_EQ(c.core.colours().OffColor, kButtonFace);
  for (int dot : {0, 6, 11}) {
    EXPECT_EQ(c.core.dotLayout().dots()[dot].FillColor, kButtonFace) << "dot " << dot;
  }
  EXPECT_EQ(c.core.dotLayout().dots()[12].FillColor, c.core.colours().OnColor);
}

TEST(Colours, OffAfterTransparentEndsTheTransparentLook) {
  Clock c;
  c.core.Transparent_Click();
  c.platform.colourAnswers = {kNavy};
  c.core.Off_Click();
  EXPECT_EQ(c.chooserCalls(),
            std::vector<std::string>{"chooseColour " + std::to_string(kButtonFace) + " Off Color"});
  EXPECT_EQ(c.core.colours().OffColor, kNavy);
  c.tickAt(12, 34, 31);
  EXPECT_EQ(c.core.dotLayout().dots()[0].FillColor, kNavy);
  EXPECT_EQ(c.core.dotLayout().dots()[11].FillColor, kNavy);
}

TEST(Always, TwiceReturnsTheWindowToNormalStackingWithoutMovingIt) {
  Clock c;
  c.core.Always_Click();
  EXPECT_TRUE(c.core.commandBar().item(Command::Always).Checked);
  EXPECT_EQ(c.core.commandBar().toolbar().button(kButtonAlways).Value, 1);
  EXPECT_EQ(c.platform.calls, std::vector<std::string>{"topmost"});
  c.core.Always_Click();
  EXPECT_FALSE(c.core.commandBar().item(Command::Always).Checked);
  EXPECT_EQ(c.core.commandBar().toolbar().button(kButtonAlways).Value, 0);
  EXPECT_EQ(c.platform.calls, (std::vector<std::string>{"topmost", "notopmost"}));
}

// Hints turned on after a dot colour changed ask for a hint colour that reads on the
// new dots; otherwise they keep theirs.
TEST(HintColour, PromptOnlyWhileADotColourDiffersFromItsStartValue) {
  struct Case {
    const char* name;
    std::vector<std::optional<Colour>> answers;  // for the colour commands, then the prompt
    void (*change)(Tessaron&);
    bool prompted;
    Colour hint;
  };
  const Case cases[] = {
      {"no colour changed", {}, [](Tessaron&) {}, false, kWhite},
      {"off colour changed", {kNavy, kYellow}, [](Tessaron& t) { t.Off_Click(); }, true, kYellow},
      {"on colour changed", {kNavy, kYellow}, [](Tessaron& t) { t.On_Click(); }, true, kYellow},
      {"transparent", {kYellow}, [](Tessaron& t) { t.Transparent_Click(); }, true, kYellow},
      {"on colour set back to its start value",
       {kGreen, 255},
       [](Tessaron& t) {
         t.On_Click();
         t.On_Click();
       },
       false,
       kWhite},
      {"off colour chooser cancelled",
       {std::nullopt},
       [](Tessaron& t) { t.Off_Click(); },
       false,
       kWhite},
      {"prompt cancelled", {kNavy, std::nullopt}, [](Tessaron& t) { t.Off_Click(); }, true, kWhite},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Clock c;
    c.platform.colourAnswers.assign(k.answers.begin(), k.answers.end());
    k.change(c.core);
    c.platform.calls.clear();
    c.core.Numbers_Click();
    EXPECT_EQ(c.chooserCalls(), k.prompted
                                    ? std::vector<std::string>{"chooseColour 16777215 Hint Color"}
                                    : std::vector<std::string>{});
    EXPECT_EQ(c.core.colours().HintColor, k.hint);
    for (int i = 0; i < kDotCount; ++i)
      EXPECT_EQ(c.core.dotLayout().hints()[i].ForeColor, k.hint) << i;
  }
}

TEST(HintColour, PromptsAgainEachTimeTheHintsComeBackAndColoursHiddenLabelsToo) {
  Clock c;
  c.platform.colourAnswers = {kNavy, kYellow, kGreen};
  c.core.Off_Click();
  c.core.Numbers_Click();  // on: prompt
  c.core.Numbers_Click();  // off: no prompt
  c.core.Numbers_Click();  // on: prompt, opening on the hint colour chosen last time
  EXPECT_EQ(c.chooserCalls(), (std::vector<std::string>{
                                  "chooseColour 0 Off Color", "chooseColour 16777215 Hint Color",
                                  "chooseColour " + std::to_string(kYellow) + " Hint Color"}));
  EXPECT_EQ(c.core.colours().HintColor, kGreen);
  for (int i = 0; i < kDotCount; ++i) {
    EXPECT_EQ(c.core.dotLayout().hints()[i].ForeColor, kGreen) << i;
    EXPECT_EQ(c.core.dotLayout().hints()[i].Visible, i <= 16) << i;
  }
}

}  // namespace
}  // namespace tessaron::options_test
