// The clock's zoom: its steps, the file it is kept in beside "Tessa.sav", and that
// "Tessa.sav" itself does not change with it.

#include "core/zoom.h"

#include <gtest/gtest.h>

#include "core/tessaron.h"
#include "tests/fake_platform.h"

namespace tessaron {
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
}  // namespace tessaron
