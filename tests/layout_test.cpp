// Where the dots and hint labels stand in the row and in the columns, which of them
// show for every mix of seconds, hints and arrangement, and how the window's height,
// top and width follow the switches.

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <utility>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "tests/core_internals.h"
#include "tests/fake_platform.h"

namespace tessaron::layout_test {
namespace {

constexpr double S = 3622;       // WidthWithoutSeconds with the design's toolbar buttons
constexpr double kWide = 5542;   // WidthWithSeconds
constexpr double kRowTop = 828;  // the zone selector's top (684) plus half its height (288)
constexpr double kScreenW = 1920 * 15.0;
constexpr double kScreenH = 1080 * 15.0;

// A clock after a first start: the row, seconds and hints off, at the screen's corner.
struct Clock {
  test::FakePlatform platform;
  Tessaron core{platform};
  Clock() { core.Form_Load(); }
};

struct Place {
  int dot;
  const char* caption;
  double left;
  double top;
};

void expectPlaces(const Tessaron& core, const Place* places, std::size_t count, Colour hint) {
  for (std::size_t k = 0; k < count; ++k) {
    const Place& p = places[k];
    SCOPED_TRACE("dot " + std::to_string(p.dot));
    EXPECT_EQ(core.dotLayout().dots()[p.dot].Left, Twips(p.left));
    EXPECT_EQ(core.dotLayout().dots()[p.dot].Top, Twips(p.top));
    EXPECT_EQ(core.dotLayout().hints()[p.dot].Caption, p.caption);
    EXPECT_EQ(core.dotLayout().hints()[p.dot].Left, Twips(p.left));
    EXPECT_EQ(core.dotLayout().hints()[p.dot].Top, Twips(p.top + 20));
    EXPECT_EQ(core.dotLayout().hints()[p.dot].ForeColor, hint);
  }
}

const Place kRow[] = {
    {0, "16", 240, kRowTop},      {1, "8", 480, kRowTop},       {2, "4", 720, kRowTop},
    {3, "2", 960, kRowTop},       {4, "1", 1200, kRowTop},      {5, "32", 1680, kRowTop},
    {6, "16", 1920, kRowTop},     {7, "8", 2160, kRowTop},      {8, "4", 2400, kRowTop},
    {9, "2", 2640, kRowTop},      {10, "1", 2880, kRowTop},     {11, "32", S + 10, kRowTop},
    {12, "16", S + 250, kRowTop}, {13, "8", S + 490, kRowTop},  {14, "4", S + 730, kRowTop},
    {15, "2", S + 970, kRowTop},  {16, "1", S + 1210, kRowTop},
};

const Place kColumns[] = {
    {0, "2", 960, 1200},      {1, "1", 960, 1440},                            // hour tens
    {2, "8", 1200, 720},      {3, "4", 1200, 960},     {4, "2", 1200, 1200},  // hour units
    {5, "1", 1200, 1440},     {6, "4", 2160, 960},     {7, "2", 2160, 1200},
    {8, "1", 2160, 1440},                                                      // minute tens
    {9, "8", 2400, 720},      {10, "4", 2400, 960},    {11, "2", 2400, 1200},  // minute units
    {12, "1", 2400, 1440},    {13, "4", S + 10, 960},  {14, "2", S + 10, 1200},
    {15, "1", S + 10, 1440},                                                      // second tens
    {16, "8", S + 250, 720},  {17, "4", S + 250, 960}, {18, "2", S + 250, 1200},  // second units
    {19, "1", S + 250, 1440},
};

TEST(Layout, RowStandsAtTheSelectorWithTheBitWeightsAsHints) {
  Clock c;
  {
    SCOPED_TRACE("after start-up");
    expectPlaces(c.core, kRow, std::size(kRow), 16777215);
  }
  // A trip through the columns rewrites every caption and position, and recolours
  // all twenty labels, the hidden ones too.
  test::Internals::setHintColor(c.core, rgb(1, 2, 3));
  c.core.Vertical_Click();
  c.core.Vertical_Click();
  {
    SCOPED_TRACE("back from the columns");
    expectPlaces(c.core, kRow, std::size(kRow), rgb(1, 2, 3));
    for (int i = 17; i <= 19; ++i) {
      EXPECT_EQ(c.core.dotLayout().dots()[i].Top, Twips(kRowTop)) << i;
      EXPECT_EQ(c.core.dotLayout().hints()[i].Top, Twips(kRowTop + 20)) << i;
      EXPECT_EQ(c.core.dotLayout().hints()[i].ForeColor, rgb(1, 2, 3)) << i;
    }
  }
}

TEST(Layout, ColumnsStandBottomAlignedByDigitWeight) {
  Clock c;
  test::Internals::setHintColor(c.core, rgb(0, 128, 255));
  c.core.Vertical_Click();
  expectPlaces(c.core, kColumns, std::size(kColumns), rgb(0, 128, 255));
}

TEST(Layout, RowFollowsTheSelectorWhereverItWasMoved) {
  Clock c;
  c.core.Vertical_Click();
  // The alternate zone puts the selector 20 twips below the 384-twip toolbar, where it
  // stays once the option is off again.
  c.core.AltTimeZone_Click();
  c.core.AltTimeZone_Click();
  c.core.Vertical_Click();
  for (int i = 0; i < kDotCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(c.core.dotLayout().dots()[i].Top, Twips(404 + 144));
    EXPECT_EQ(c.core.dotLayout().hints()[i].Top, Twips(404 + 144 + 20));
  }
}

// Every state reached by any order of the hints, seconds and arrangement switches,
// from a first start: a dot shows up to the last dot of its arrangement (with or
// without seconds), and a label exactly over a shown dot while the hints are on.
TEST(Layout, VisibilityFollowsHintsSecondsAndArrangementInAnyOrder) {
  const char kCommands[] = {'H', 'S', 'V'};
  for (int length = 0; length <= 4; ++length) {
    int combinations = 1;
    for (int k = 0; k < length; ++k) combinations *= 3;
    for (int n = 0; n < combinations; ++n) {
      std::string sequence;
      for (int k = 0, rest = n; k < length; ++k, rest /= 3) sequence += kCommands[rest % 3];
      SCOPED_TRACE("commands \"" + sequence + "\"");
      Clock c;
      bool hints = false, seconds = false, columns = false;
      for (char command : sequence) {
        if (command == 'H') {
          c.core.Numbers_Click();
          hints = !hints;
        } else if (command == 'S') {
          c.core.Seconds_Click();
          seconds = !seconds;
        } else {
          c.core.Vertical_Click();
          columns = !columns;
        }
      }
      ASSERT_EQ(c.core.commandBar().item(Command::Numbers).Checked, hints);
      ASSERT_EQ(c.core.commandBar().item(Command::Seconds).Checked, seconds);
      ASSERT_EQ(c.core.commandBar().item(Command::Vertical).Checked, columns);
      const int last = columns ? (seconds ? 19 : 12) : (seconds ? 16 : 10);
      for (int i = 0; i < kDotCount; ++i) {
        EXPECT_EQ(c.core.dotLayout().dots()[i].Visible, i <= last) << "dot " << i;
        EXPECT_EQ(c.core.dotLayout().hints()[i].Visible, hints && i <= last) << "label " << i;
      }
    }
  }
}

TEST(Layout, HintButtonShowsTheLabelsOfTheShownDotsAndHidesAllTwenty) {
  struct Case {
    const char* name;
    bool seconds;
    bool columns;
    int lastLabel;
  };
  const Case cases[] = {
      {"row without seconds", false, false, 10},
      {"row with seconds", true, false, 16},
      {"columns without seconds", false, true, 12},
      {"columns with seconds", true, true, 19},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Clock c;
    if (k.seconds) c.core.clickToolbarButton(kButtonSeconds);
    if (k.columns) c.core.clickToolbarButton(kButtonVertical);
    c.core.clickToolbarButton(kButtonNumbers);
    EXPECT_EQ(c.core.commandBar().toolbar().button(kButtonNumbers).Value, 1);
    for (int i = 0; i < kDotCount; ++i)
      EXPECT_EQ(c.core.dotLayout().hints()[i].Visible, i <= k.lastLabel) << i;
    c.core.clickToolbarButton(kButtonNumbers);
    EXPECT_EQ(c.core.commandBar().toolbar().button(kButtonNumbers).Value, 0);
    for (int i = 0; i < kDotCount; ++i) EXPECT_FALSE(c.core.dotLayout().hints()[i].Visible) << i;
  }
}

TEST(Layout, SwitchSetsTheHeightAndLeavesWidthAndLeftAlone) {
  for (bool seconds : {false, true}) {
    SCOPED_TRACE(seconds ? "seconds shown" : "seconds hidden");
    Clock c;
    if (seconds) c.core.Seconds_Click();
    c.platform.left = 1500;
    const double width = c.platform.width;
    EXPECT_EQ(width, seconds ? kWide : S);
    c.core.Vertical_Click();
    EXPECT_EQ(c.platform.height, 2760);
    EXPECT_EQ(c.platform.width, width);
    EXPECT_EQ(c.platform.left, 1500);
    c.core.Vertical_Click();
    EXPECT_EQ(c.platform.height, 2000);
    EXPECT_EQ(c.platform.width, width);
    EXPECT_EQ(c.platform.left, 1500);
  }
}

TEST(Layout, ColumnsRaiseTheWindowOnlyWhenTheyWouldReachTheScreenBottom) {
  struct Case {
    const char* name;
    double top;
    bool raised;
  };
  const Case cases[] = {
      {"bottom exactly on the screen's edge", kScreenH - 2760, true},
      {"one twip higher", kScreenH - 2761, false},
      {"already reaching past the edge", kScreenH - 100, true},
      {"at the top of the screen", 0, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Clock c;
    c.platform.top = k.top;
    c.core.Vertical_Click();
    EXPECT_EQ(c.platform.top, k.raised ? k.top - 760 : k.top);
    EXPECT_EQ(c.core.dotLayout().raisedForAlternate(), k.raised);
    c.core.Vertical_Click();
    EXPECT_EQ(c.platform.top, k.top);
    EXPECT_FALSE(c.core.dotLayout().raisedForAlternate());
  }
}

TEST(Layout, LeavingTheColumnsLowersOnlyARaisedWindowFromWhereItIsNow) {
  struct Case {
    const char* name;
    double top;
    double movedTo;
    double afterLeaving;
  };
  const Case cases[] = {
      {"raised, then moved up by the user", kScreenH - 2760, 3000, 3760},
      {"not raised, then moved by the user", 1000, 3000, 3000},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Clock c;
    c.platform.top = k.top;
    c.core.Vertical_Click();
    c.platform.top = k.movedTo;
    c.core.Vertical_Click();
    EXPECT_EQ(c.platform.top, k.afterLeaving);
  }
}

// Reads the lit dots off the window: after a switch, no dot may keep the colour it had
// for its meaning in the other arrangement.
TEST(Layout, FirstTickAfterASwitchRepaintsEveryDot) {
  Clock c;
  c.core.Seconds_Click();
  c.platform.time = {23, 59, 30};
  c.core.Timer1_Timer();  // the start-up redraw is done; the row shows 23:59:30
  auto lit = [&](int last) {
    std::set<int> dots;
    for (int i = 0; i <= last; ++i) {
      if (c.core.dotLayout().dots()[i].FillColor == c.core.colours().OnColor) dots.insert(i);
    }
    return dots;
  };

  c.core.Vertical_Click();
  c.platform.time = {23, 59, 31};
  c.core.Timer1_Timer();
  // 2 | 3 | 5 | 9 | 3 | 1 as digits, weights 2 1 | 8 4 2 1 | 4 2 1 | 8 4 2 1 | 4 2 1 | 8 4 2 1
  EXPECT_EQ(lit(19), (std::set<int>{0, 4, 5, 6, 8, 9, 12, 14, 15, 19}));

  c.core.Vertical_Click();
  c.platform.time = {23, 59, 32};
  c.core.Timer1_Timer();
  // 10111 | 111011 | 100000
  EXPECT_EQ(lit(16), (std::set<int>{0, 2, 3, 4, 5, 6, 7, 9, 10, 11}));
}

TEST(Seconds, KeepsTheWindowAgainstTheScreensRightEdge) {
  struct Case {
    const char* name;
    bool columns;
    bool hide;  // otherwise show
    double left;
    double expectedLeft;
  };
  const double againstEdgeWide = kScreenW - kWide;  // 23258
  const double againstEdgeNarrow = kScreenW - S;    // 25178
  const Case cases[] = {
      {"hide, wide window against the edge", false, true, againstEdgeWide, againstEdgeNarrow},
      {"hide, one twip further left", false, true, againstEdgeWide - 1, againstEdgeWide - 1},
      {"hide at the screen's left edge", false, true, 0, 0},
      {"hide, columns, wide window against the edge", true, true, againstEdgeWide,
       againstEdgeNarrow},
      {"show, wide window just fits", false, false, againstEdgeWide, againstEdgeWide},
      {"show, one twip more", false, false, againstEdgeWide + 1, againstEdgeWide},
      {"show, narrow window against the edge", false, false, againstEdgeNarrow, againstEdgeWide},
      {"show, columns, one twip more", true, false, againstEdgeWide + 1, againstEdgeWide},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Clock c;
    if (k.columns) c.core.Vertical_Click();
    if (k.hide) c.core.Seconds_Click();
    c.platform.left = k.left;
    c.core.Seconds_Click();
    EXPECT_EQ(c.core.commandBar().item(Command::Seconds).Checked, !k.hide);
    EXPECT_EQ(c.core.commandBar().toolbar().button(kButtonSeconds).Value, k.hide ? 0 : 1);
    EXPECT_EQ(c.platform.width, k.hide ? S : kWide);
    EXPECT_EQ(c.platform.left, k.expectedLeft);
  }
}

TEST(Seconds, NeitherHidingNorShowingMovesADotOrTheWindowsHeight) {
  for (bool columns : {false, true}) {
    SCOPED_TRACE(columns ? "columns" : "row");
    Clock c;
    if (columns) c.core.Vertical_Click();
    c.platform.top = 3000;
    std::array<std::pair<Twips, Twips>, kDotCount> before;
    for (int i = 0; i < kDotCount; ++i)
      before[i] = {c.core.dotLayout().dots()[i].Left, c.core.dotLayout().dots()[i].Top};
    const double height = c.platform.height;
    for (const char* step : {"show", "hide"}) {
      SCOPED_TRACE(step);
      c.core.Seconds_Click();
      EXPECT_EQ(c.platform.height, height);
      EXPECT_EQ(c.platform.top, 3000);
      for (int i = 0; i < kDotCount; ++i) {
        EXPECT_EQ(c.core.dotLayout().dots()[i].Left, before[i].first) << i;
        EXPECT_EQ(c.core.dotLayout().dots()[i].Top, before[i].second) << i;
      }
    }
  }
}

}  // namespace
}  // namespace tessaron::layout_test
