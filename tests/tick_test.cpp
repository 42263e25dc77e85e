// The tick: which dots light for a time, in the row and in the columns, and
// when the hour and minute dots are repainted.

#include <gtest/gtest.h>

#include <set>

#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "tests/core_internals.h"
#include "tests/fake_platform.h"

namespace tessaron::tick_test {
namespace {

constexpr Colour kOn = 255;
constexpr Colour kOff = 0;

struct TickTest : ::testing::Test {
  test::FakePlatform platform;
  Tessaron core{platform};

  void SetUp() override {
    core.Form_Load();  // a first start: the row, the seconds hidden
    setSeconds(true);
  }

  void setSeconds(bool shown) {
    if (core.item(Command::Seconds).Checked != shown) core.Seconds_Click();
  }
  void setColumns(bool columns) {
    if (core.item(Command::Vertical).Checked != columns) core.Vertical_Click();
  }
  void tickAt(int h, int m, int s) {
    platform.time = {h, m, s};
    core.Timer1_Timer();
  }
  // Every dot repainted with the time then, as after any change of how they look.
  void redrawAt(int h, int m, int s) {
    platform.time = {h, m, s};
    core.redrawTime();
  }

  std::set<int> litDots(int last) const {
    std::set<int> lit;
    for (int i = 0; i <= last; ++i) {
      if (core.dotLayout().dots()[i].FillColor == core.colours().OnColor) lit.insert(i);
    }
    return lit;
  }
};

TEST_F(TickTest, LightsTheBitsOfTheTimeDotByDot) {
  struct Case {
    const char* name;
    bool columns;
    TimeOfDay time;
    std::set<int> lit;
  };
  const Case cases[] = {
      {"midnight, row", false, {0, 0, 0}, {}},
      {"midnight, columns", true, {0, 0, 0}, {}},
      {"last second of the day, row",
       false,
       {23, 59, 59},
       {0, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 15, 16}},
      {"last second of the day, columns",
       true,
       {23, 59, 59},
       {0, 4, 5, 6, 8, 9, 12, 13, 15, 16, 19}},
      {"12:34:56, row", false, {12, 34, 56}, {1, 2, 5, 9, 11, 12, 13}},
      {"12:34:56, columns", true, {12, 34, 56}, {1, 4, 7, 8, 10, 13, 15, 17, 18}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setColumns(c.columns);
    redrawAt(c.time.hour, c.time.minute, c.time.second);
    const int last = c.columns ? 19 : 16;
    EXPECT_EQ(litDots(last), c.lit);
    for (int i = 0; i <= last; ++i) {
      if (c.lit.count(i) == 0) {
        EXPECT_EQ(core.dotLayout().dots()[i].FillColor, kOff) << "dot " << i;
      }
    }
  }
}

// Reads the time back off the dots with the weights of each arrangement, independently of
// how the tick computes them, for every second of the day.
TEST_F(TickTest, EverySecondOfTheDayReadsBackFromTheDots) {
  struct Group {
    int first;
    std::vector<int> weights;
  };
  auto read = [&](const std::vector<Group>& groups) {
    std::vector<int> values;
    for (const Group& g : groups) {
      int v = 0;
      for (std::size_t k = 0; k < g.weights.size(); ++k) {
        if (core.dotLayout().dots()[g.first + static_cast<int>(k)].FillColor == kOn)
          v += g.weights[k];
      }
      values.push_back(v);
    }
    return values;
  };
  const std::vector<Group> row = {
      {0, {16, 8, 4, 2, 1}}, {5, {32, 16, 8, 4, 2, 1}}, {11, {32, 16, 8, 4, 2, 1}}};
  const std::vector<Group> columns = {{0, {2, 1}},       {2, {8, 4, 2, 1}}, {6, {4, 2, 1}},
                                      {9, {8, 4, 2, 1}}, {13, {4, 2, 1}},   {16, {8, 4, 2, 1}}};
  for (bool vertical : {false, true}) {
    setColumns(vertical);
    for (int t = 0; t < 86400; ++t) {
      const int h = t / 3600, m = t / 60 % 60, s = t % 60;
      redrawAt(h, m, s);
      const auto got = read(vertical ? columns : row);
      const auto want = vertical ? std::vector<int>{h / 10, h % 10, m / 10, m % 10, s / 10, s % 10}
                                 : std::vector<int>{h, m, s};
      ASSERT_EQ(got, want) << (vertical ? "columns " : "row ") << h << ":" << m << ":" << s;
    }
  }
}

TEST_F(TickTest, HourAndMinuteRepaintAtAFullRedrawInTheFirstTwoSecondsOrWhenTheyChanged) {
  struct Case {
    const char* name;
    bool redrawAll;
    int shownHour;  // 23:59 or 0:00 on the dots before the tick at 23:59
    int second;
    bool minuteRepainted;
  };
  const Case cases[] = {
      {"forced redraw mid-minute", true, 23, 30, true},
      {"second 0", false, 23, 0, true},
      {"second 1", false, 23, 1, true},
      {"second 2", false, 23, 2, false},
      {"second 59", false, 23, 59, false},
      {"another minute shown, as after a jump of the clock", false, 0, 30, true},
  };
  for (bool vertical : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (vertical ? ", columns" : ", row"));
      setColumns(vertical);
      redrawAt(c.shownHour, c.shownHour == 23 ? 59 : 0, 30);
      test::Internals::paintDots(core, 0, 12, kOff);  // looks stale
      if (c.redrawAll) {
        redrawAt(23, 59, c.second);
      } else {
        tickAt(23, 59, c.second);
      }
      // Dot 0 is the hour's 16 in the row and the hour tens' 2 in the columns: lit at 23h.
      EXPECT_EQ(core.dotLayout().dots()[0].FillColor == kOn, c.minuteRepainted);
      EXPECT_FALSE(test::Internals::redrawAll(core));
    }
  }
}

TEST_F(TickTest, SecondsDotsFollowEveryTickWhileShown) {
  redrawAt(12, 34, 56);
  tickAt(12, 34, 57);
  EXPECT_EQ(litDots(16), (std::set<int>{1, 2, 5, 9, 11, 12, 13, 16}));
}

TEST_F(TickTest, HiddenSecondsDotsAreClearedOnlyByAFullRedraw) {
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical ? "columns" : "row");
    setColumns(vertical);
    setSeconds(false);
    const int first = vertical ? 13 : 11, last = vertical ? 19 : 16;
    redrawAt(10, 10, 58);
    test::Internals::paintDots(core, first, last, kOn);
    tickAt(10, 10, 59);
    for (int i = first; i <= last; ++i) EXPECT_EQ(core.dotLayout().dots()[i].FillColor, kOn) << i;
    redrawAt(10, 10, 59);
    for (int i = first; i <= last; ++i) EXPECT_EQ(core.dotLayout().dots()[i].FillColor, kOff) << i;
  }
}

TEST_F(TickTest, ColoursComeFromTheFieldsAtTheTimeOfDrawing) {
  platform.colourAnswers = {rgb(0, 255, 0)};
  core.On_Click();
  platform.colourAnswers = {rgb(10, 20, 30)};
  core.Off_Click();
  redrawAt(1, 0, 0);
  EXPECT_EQ(core.dotLayout().dots()[4].FillColor, rgb(0, 255, 0));
  EXPECT_EQ(core.dotLayout().dots()[3].FillColor, rgb(10, 20, 30));
  EXPECT_EQ(core.dotLayout().dots()[16].FillColor, rgb(10, 20, 30));
}

}  // namespace
}  // namespace tessaron::tick_test
