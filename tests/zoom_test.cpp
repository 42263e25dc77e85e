// The clock's zoom: its steps, the file it is kept in beside "Tessa.sav", and that
// "Tessa.sav" itself does not change with it.

#include "core/zoom.h"

#include <gtest/gtest.h>

#include "core/tessaron.h"
#include "layout/dot_layout.h"
#include "tests/fake_platform.h"

namespace tessaron::zoom_test {
namespace {

TEST(Zoom, StepsUpAndDownAndStopsAtTheEnds) {
  struct Case {
    int from;
    int direction;
    int to;
  };
  const Case cases[] = {{100, +1, 125}, {125, +1, 150}, {150, +1, 200}, {200, +1, 300},
                        {300, +1, 400}, {400, +1, 400}, {400, -1, 300}, {125, -1, 100},
                        {100, -1, 100}, {110, +1, 125}, {110, -1, 100}, {999, -1, 400}};
  for (const Case& c : cases) {
    EXPECT_EQ(stepZoom(c.from, c.direction), c.to) << c.from << " by " << c.direction;
  }
}

TEST(Zoom, TheFileHoldsOneOfTheStepsOrNothingIsRead) {
  for (int step : kZoomSteps) EXPECT_EQ(parseViewSettings(formatViewSettings(step)), step);
  EXPECT_EQ(parseViewSettings("zoom=200\r\n"), 200);
  for (const char* bad : {"", "zoom=", "zoom=175", "zoom=2000", "zoom=200x", "Zoom=200",
                          " zoom=200", "zoom=-100", "zoom=200\nzoom=300"}) {
    EXPECT_EQ(parseViewSettings(bad), std::nullopt) << '"' << bad << '"';
  }
}

struct ZoomedClock : ::testing::Test {
  test::FakePlatform platform;
  static constexpr const char* kView = "/opt/tessaron/Tessa.view";
  static constexpr const char* kSav = "/opt/tessaron/Tessa.sav";
};

TEST_F(ZoomedClock, ShortcutsStepTheZoomAndEachChangeIsKeptForTheNextStart) {
  Tessaron core(platform);
  core.Form_Load();
  EXPECT_EQ(core.zoom(), 100);
  EXPECT_EQ(platform.files.count(kView), 0u) << "nothing written until it changes";
  core.run(Command::ZoomIn);
  core.run(Command::ZoomIn);
  core.run(Command::ZoomIn);
  EXPECT_EQ(core.zoom(), 200);
  EXPECT_EQ(platform.files[kView], "zoom=200\n");
  core.run(Command::ZoomOut);
  EXPECT_EQ(core.zoom(), 150);

  Tessaron restarted(platform);
  restarted.Form_Load();
  EXPECT_EQ(restarted.zoom(), 150);
  restarted.run(Command::ZoomReset);
  EXPECT_EQ(restarted.zoom(), 100);
  EXPECT_EQ(platform.files[kView], "zoom=100\n");
}

TEST_F(ZoomedClock, InstalledTheFileStandsBesideTessaSavInTheSettingsFolder) {
  platform.info.dataFolder = "/usr/share/tessaron";
  platform.info.settingsFolder = "/home/ann/.config/tessaron";
  Tessaron core(platform);
  core.Form_Load();
  core.run(Command::ZoomIn);
  EXPECT_EQ(platform.files.count("/home/ann/.config/tessaron/Tessa.view"), 1u);
}

TEST_F(ZoomedClock, TessaSavIsTheSameByteForByteAtAnyZoom) {
  Tessaron plain(platform);
  plain.Form_Load();
  plain.Preferences_Click();
  const std::string unzoomed = platform.files[kSav];
  Tessaron zoomed(platform);
  zoomed.Form_Load();
  zoomed.run(Command::ZoomIn);
  zoomed.run(Command::ZoomIn);
  zoomed.run(Command::ZoomIn);
  zoomed.Preferences_Click();
  EXPECT_EQ(platform.files[kSav], unzoomed);
}

TEST_F(ZoomedClock, ADamagedFileStartsAtTheNormalSizeAndAFailedWriteSaysSo) {
  platform.files[kView] = "zoom=175\n";
  Tessaron core(platform);
  core.Form_Load();
  EXPECT_EQ(core.zoom(), 100);
  EXPECT_TRUE(platform.callsStartingWith("messageBox").empty());
  platform.writeError = "No space left on device";
  core.run(Command::ZoomIn);
  EXPECT_EQ(core.zoom(), 125);  // shown at the new size all the same
  EXPECT_EQ(platform.files[kView], "zoom=175\n");
  EXPECT_EQ(platform.callsStartingWith("messageBox").size(), 1u);
  for (int i = 0; i < 3; ++i) core.run(Command::ZoomIn);
  EXPECT_EQ(core.zoom(), 300);
  EXPECT_EQ(platform.callsStartingWith("messageBox").size(), 1u) << "said once a run";

  Tessaron restarted(platform);
  restarted.Form_Load();
  restarted.run(Command::ZoomIn);
  EXPECT_EQ(platform.callsStartingWith("messageBox").size(), 2u) << "and again the next run";
}

// A portable copy on a read-only medium starts at the size kept beside it, and the first
// change is kept in the settings folder from there.
TEST_F(ZoomedClock, AReadOnlyPortableCopyStartsAtItsOwnKeptSize) {
  platform.info.portableFolder = "/media/stick/tessaron";
  platform.info.settingsFolder = "/home/ann/.config/tessaron";
  platform.files["/media/stick/tessaron/Tessa.view"] = "zoom=200\n";
  Tessaron core(platform);
  core.Form_Load();
  EXPECT_EQ(core.zoom(), 200);
  core.run(Command::ZoomIn);
  EXPECT_EQ(platform.files["/home/ann/.config/tessaron/Tessa.view"], "zoom=300\n");
  EXPECT_EQ(platform.files["/media/stick/tessaron/Tessa.view"], "zoom=200\n");

  Tessaron restarted(platform);
  restarted.Form_Load();
  EXPECT_EQ(restarted.zoom(), 300) << "the settings folder's size wins once there is one";
}

}  // namespace
}  // namespace tessaron::zoom_test

// The zoom within the screen: the fake window's face grows with the zoom and the font's
// scale, as the desktop's does.
namespace tessaron::zoom_test {
namespace {

constexpr double kPx = 15;  // twips per pixel

struct ScreenFit : ::testing::Test {
  test::FakePlatform platform;
  static constexpr const char* kView = "/opt/tessaron/Tessa.view";

  // The window's outer frame at the zoom shown lies inside the free area.
  static void expectInside(test::FakePlatform& p, const Tessaron& core) {
    const ScreenArea a = p.windowWorkArea();
    const WindowSize s = p.windowSizeAt(core.zoom());
    EXPECT_GE(Twips(p.left), a.left);
    EXPECT_GE(Twips(p.top), a.top);
    EXPECT_LE(Twips(p.left) + s.width, a.left + a.width);
    EXPECT_LE(Twips(p.top) + s.height, a.top + a.height);
  }
};

// A saved zoom opens at the largest step that fits the screen's free area and the file
// keeps the choice; Zoom In is offered only when a larger step fits.
TEST_F(ScreenFit, ASavedZoomOpensAtTheLargestStepThatFitsAndTheFileKeepsIt) {
  struct Case {
    const char* name;
    const char* saved;
    double areaWidth, areaHeight;  // pixels
    double fontScale;
    int shown;
    bool zoomIn;
  };
  // The window opens 3622 x 2000 twips (241 x 133 px) without seconds.
  const Case cases[] = {
      {"400 % fits a 1920 px screen", "zoom=400\n", 1920, 1080, 1, 400, false},
      {"400 % on a 800 px screen opens at 300 %", "zoom=400\n", 800, 600, 1, 300, false},
      {"a panel leaves 500 px of height: 300 %", "zoom=400\n", 1920, 500, 1, 300, false},
      {"a font twice the design's at 400 %: 150 %", "zoom=400\n", 800, 600, 2, 150, false},
      {"200 % with room for 300 %", "zoom=200\n", 1920, 1080, 1, 200, true},
      {"a screen narrower than the normal size stays at 100 %", "zoom=300\n", 200, 600, 1, 100,
       false},
      {"the normal size with room to grow", "", 1920, 1080, 1, 100, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform p;
    if (*c.saved != '\0') p.files[kView] = c.saved;
    p.workArea = test::screenArea(0, 0, c.areaWidth * kPx, c.areaHeight * kPx);
    p.fontScaleValue = c.fontScale;
    Tessaron core(p);
    core.Form_Load();
    EXPECT_EQ(core.zoom(), c.shown);
    EXPECT_EQ(core.item(Command::ZoomIn).Enabled, c.zoomIn);
    if (*c.saved != '\0') {
      EXPECT_EQ(p.files[kView], c.saved) << "the choice is not rewritten";
    } else {
      EXPECT_EQ(p.files.count(kView), 0u);
    }
    // The shortcut of a disabled Zoom In does nothing either.
    const int before = core.zoom();
    core.run(Command::ZoomIn);
    EXPECT_EQ(core.zoom(), c.zoomIn ? stepZoom(before, +1) : before);
  }
}

// Zoom Out steps down from the size shown, not from the larger one chosen.
TEST_F(ScreenFit, ZoomOutStepsFromTheSizeShown) {
  platform.files[kView] = "zoom=400\n";
  platform.workArea = test::screenArea(0, 0, 800 * kPx, 600 * kPx);
  Tessaron core(platform);
  core.Form_Load();
  ASSERT_EQ(core.zoom(), 300);
  core.run(Command::ZoomOut);
  EXPECT_EQ(core.zoom(), 200);
  EXPECT_EQ(platform.files[kView], "zoom=200\n");
  EXPECT_TRUE(core.item(Command::ZoomIn).Enabled);
  core.run(Command::ZoomIn);
  EXPECT_EQ(core.zoom(), 300);
  EXPECT_FALSE(core.item(Command::ZoomIn).Enabled);
}

// Moved to a smaller screen the window shrinks to fit it, and grows back on the larger one;
// the choice in the file stays.
TEST_F(ScreenFit, AWindowMovedToASmallerScreenShrinksAndGrowsBack) {
  platform.extraScreens = {test::screenArea(0, 0, 1920 * kPx, 1080 * kPx),
                           test::screenArea(1920 * kPx, 0, 800 * kPx, 600 * kPx)};
  platform.files[kView] = "zoom=400\n";
  Tessaron core(platform);
  core.Form_Load();
  ASSERT_EQ(core.zoom(), 400);
  platform.left = 2000 * kPx;  // dragged onto the second screen
  core.screenChanged();
  EXPECT_EQ(core.zoom(), 300);
  EXPECT_EQ(platform.left, 2000 * kPx) << "the user's place is left alone";
  platform.left = 100 * kPx;
  core.screenChanged();
  EXPECT_EQ(core.zoom(), 400);
  EXPECT_EQ(platform.files[kView], "zoom=400\n");
}

// Showing the seconds widens the window: a zoom that no longer fits steps down, and comes
// back when they are hidden.
TEST_F(ScreenFit, SecondsThatNoLongerFitStepTheZoomDown) {
  platform.files[kView] = "zoom=400\n";
  Tessaron probe(platform);
  probe.Form_Load();
  const DotLayout& layout = probe.dotLayout();
  // Room for the row without seconds at 400 %, with them at 300 % only.
  ASSERT_LT(layout.widthWithoutSeconds() * 4, layout.widthWithSeconds() * 3);
  platform.workArea =
      ScreenArea{0_tw, 0_tw, layout.widthWithSeconds() * 3 + 1_tw, Twips(1080 * kPx)};
  Tessaron core(platform);
  core.Form_Load();
  EXPECT_EQ(core.zoom(), 400);
  core.run(Command::Seconds);
  EXPECT_EQ(core.zoom(), 300);
  expectInside(platform, core);
  core.run(Command::Seconds);
  EXPECT_EQ(core.zoom(), 400);
}

// A zoomed window that would reach past the right or bottom edge is moved back onto the
// screen, at start and at each step; at the normal size the saved place stays.
TEST_F(ScreenFit, AZoomedWindowStaysWhollyOnTheScreen) {
  struct Case {
    const char* name;
    const char* saved;
    double left, top;  // saved, pixels
    int zoomIns;
  };
  const Case cases[] = {
      {"saved 300 % against the right edge", "zoom=300\n", 1800, 100, 0},
      {"saved 400 % near the bottom", "zoom=400\n", 10, 1000, 0},
      {"zoomed in against the corner", "", 1900, 1000, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::FakePlatform p;
    if (*c.saved != '\0') p.files[kView] = c.saved;
    p.files["/opt/tessaron/Tessa.sav"] = "255,0,16777215,#FALSE#,#FALSE#,#FALSE#,#FALSE#," +
                                         std::to_string(static_cast<int>(c.top * kPx)) + "," +
                                         std::to_string(static_cast<int>(c.left * kPx)) +
                                         ",\"smallworld.wav\",#FALSE#\r\n";
    Tessaron core(p);
    core.Form_Load();
    for (int i = 0; i < c.zoomIns; ++i) core.run(Command::ZoomIn);
    ASSERT_NE(core.zoom(), 100);
    expectInside(p, core);
  }
}

}  // namespace
}  // namespace tessaron::zoom_test
