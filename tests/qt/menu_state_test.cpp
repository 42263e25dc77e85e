// What the menus and the toolbar show after each command, read back from the QActions and
// the tool buttons the user sees: every caption, check mark and picture as the core set it.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QToolBar>
#include <QToolButton>

#include "platform/qt/icons.h"
#include "tests/qt/scripted_window.h"

namespace tessaron::qt {
namespace {

QImage toolbarIconImage(int index) { return toolbarIcon(index).pixmap(20, 20).toImage(); }

// The menus and buttons against the core's items, after `step`.
void expectShownAsTheCoreHasIt(ScriptedWindow& w, const std::string& step) {
  SCOPED_TRACE("after " + step);
  for (const MenuEntry& entry : kCommandTable) {
    SCOPED_TRACE(entry.name);
    const MenuItem& item = w.core.commands.*entry.item;
    auto* action = w.window.findChild<QAction*>(entry.name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text().toStdString(), item.Caption);
    EXPECT_EQ(action->isChecked(), entry.isSwitch && item.Checked);
  }
  QToolBar* bar = w.window.clockView()->toolbar();
  for (const ToolbarButton& button : w.core.commands.Toolbar1.Buttons) {
    SCOPED_TRACE(button.Key);
    auto* action = w.window.findChild<QAction*>(QString::fromStdString("button_" + button.Key));
    ASSERT_NE(action, nullptr);
    auto* shown = qobject_cast<QToolButton*>(bar->widgetForAction(action));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->isChecked(), button.Value != 0);
    EXPECT_EQ(shown->toolTip().toStdString(), button.ToolTipText);
    // The picture the core names for the button, as it is drawn.
    EXPECT_EQ(shown->icon().pixmap(20, 20).toImage(), toolbarIconImage(button.Image));
  }
}

TEST(MenuState, EveryCaptionCheckMarkAndPictureFollowsEachCommand) {
  ScriptedWindow w;
  QFile::copy(TESSARON_DATA_DIR "/smallworld.wav", w.platform.folder.filePath("smallworld.wav"));
  w.platform.typed = "smallworld.wav";
  w.platform.chosenColour = rgb(0, 200, 0);
  expectShownAsTheCoreHasIt(w, "start-up");
  const Command steps[] = {Command::Music,       Command::Always,      Command::Numbers,
                           Command::Seconds,     Command::On,          Command::Off,
                           Command::Transparent, Command::AltTimeZone, Command::Vertical,
                           Command::Music,       Command::Always,      Command::Numbers,
                           Command::Seconds,     Command::AltTimeZone, Command::Vertical};
  for (const Command step : steps) {
    w.run(step);
    expectShownAsTheCoreHasIt(w, menuEntry(step).name);
  }
  EXPECT_EQ(w.window.findChild<QAction*>("Music")->text(), "&Music");
}

TEST(MenuState, TheMusicCaptionNamesThePlayingFile) {
  ScriptedWindow w;
  QFile::copy(TESSARON_DATA_DIR "/smallworld.wav", w.platform.folder.filePath("smallworld.wav"));
  w.platform.typed = "smallworld.wav";
  w.run(Command::Music);
  EXPECT_EQ(w.window.findChild<QAction*>("Music")->text(), "&Music (smallworld.wav)");
}

}  // namespace
}  // namespace tessaron::qt
