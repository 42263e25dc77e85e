// What the menus and the toolbar show after each command, read back from the QActions and
// the tool buttons the user sees: every caption, check mark and picture as the core set it.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "commands/command_bar.h"
#include "platform/qt/icons.h"
#include "tests/qt/scripted_window.h"

namespace tessaron::qt::menu_state_test {
namespace {

QImage toolbarIconImage(int index) { return toolbarIcon(index).pixmap(20, 20).toImage(); }

// The menus and buttons against the core's items, after `step`.
void expectShownAsTheCoreHasIt(ScriptedWindow& w, const std::string& step) {
  SCOPED_TRACE("after " + step);
  for (const MenuEntry& entry : kCommandTable) {
    SCOPED_TRACE(entry.name);
    const MenuItem& item = w.core.commandBar().item(entry.command);
    auto* action = w.window.findChild<QAction*>(entry.name);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text().toStdString(), item.Caption);
    EXPECT_EQ(action->isChecked(), entry.isSwitch && item.Checked);
    EXPECT_EQ(action->isEnabled(), item.Enabled);
  }
  QToolBar* bar = w.window.clockView()->toolbar();
  for (const ToolbarButton& button : w.core.commandBar().toolbar().Buttons) {
    SCOPED_TRACE(button.Key);
    auto* action = w.window.findChild<QAction*>(QString::fromStdString("button_" + button.Key));
    ASSERT_NE(action, nullptr);
    auto* shown = qobject_cast<QToolButton*>(bar->widgetForAction(action));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->isChecked(), button.Value != 0);
    EXPECT_EQ(shown->isEnabled(), button.Enabled);
    EXPECT_EQ(shown->toolTip().toStdString(), button.ToolTipText);
    // The picture the core names for the button, as it is drawn.
    EXPECT_EQ(shown->icon().pixmap(20, 20).toImage(), toolbarIconImage(button.Image));
  }
}

// The menus as the user opens them: every item in its place, with its caption, shortcut
// and whether it is a switch, before any command has run.
// On Qt's 800 x 600 offscreen screen the clock zooms in as far as the screen holds it:
// then Zoom In is shown unavailable and its shortcut does nothing.
TEST(MenuState, ZoomInEndsAtTheLargestStepTheScreenHolds) {
  ScriptedWindow w;
  QAction* zoomIn = w.window.findChild<QAction*>("ZoomIn");
  ASSERT_NE(zoomIn, nullptr);
  const QRect screen = w.window.screen()->availableGeometry();
  int steps = 0;
  while (zoomIn->isEnabled() && steps < 10) {
    zoomIn->trigger();
    ++steps;
    ASSERT_TRUE(screen.contains(w.window.frameGeometry()))
        << "at " << w.core.zoom() << " %: " << w.window.frameGeometry().width() << " x "
        << w.window.frameGeometry().height();
  }
  EXPECT_FALSE(zoomIn->isEnabled());
  EXPECT_LT(w.core.zoom(), 400) << "the screen is too small for 400 %";
  const int reached = w.core.zoom();
  zoomIn->trigger();  // a disabled action ignores it, as its shortcut does
  w.window.sync();
  EXPECT_EQ(w.core.zoom(), reached);
}

TEST(MenuState, TheMenusHoldEveryItemWithItsCaptionAndShortcut) {
  struct Item {
    const char* caption;
    const char* shortcut;
    bool isSwitch;
  };
  const Item options[] = {
      {"&Always on Top", "Ctrl+A", true},
      {"&Music", "Ctrl+M", true},
      {"Display Numbers (&Hint)", "Ctrl+H", true},
      {"Display &Seconds", "Ctrl+S", true},
      {"O&n Color", "Ctrl+N", false},
      {"O&ff Color", "Ctrl+F", false},
      {"&Transparent", "Ctrl+T", false},
      {"Alternate Time &Zone", "Ctrl+Z", true},
      {"Save &Preferences", "Ctrl+P", false},
      {"A&lternate Form", "Ctrl+V", true},
      {"Zoom &In", "Ctrl++", false},
      {"Zoom O&ut", "Ctrl+-", false},
      {"&Reset Zoom", "Ctrl+0", false},
      {"Start at L&ogin", "", true},
  };
  const Item help[] = {
      {"&Help", "F1", false},
      {"&Short Cut keys", "", false},
      {"&About", "", false},
      {"S&upport", "", false},
  };
  ScriptedWindow w;
  const QList<QAction*> menus = w.window.menuBar()->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), "&Options");
  EXPECT_EQ(menus[1]->text(), "&Help");
  auto check = [](QMenu* menu, const auto& items) {
    ASSERT_NE(menu, nullptr);
    QList<QAction*> shown;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) shown.push_back(a);
    ASSERT_EQ(static_cast<std::size_t>(shown.size()), std::size(items));
    for (std::size_t i = 0; i < std::size(items); ++i) {
      const Item& item = items[i];
      QAction* a = shown[static_cast<qsizetype>(i)];
      SCOPED_TRACE(item.caption);
      EXPECT_EQ(a->text(), item.caption);
      EXPECT_EQ(a->shortcut().toString(QKeySequence::PortableText), item.shortcut);
      EXPECT_EQ(a->isCheckable(), item.isSwitch);
      EXPECT_FALSE(a->isChecked());
    }
  };
  check(menus[0]->menu(), options);
  check(menus[1]->menu(), help);
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

// Without X no window can be kept above others: the item and its button are shown
// unavailable, whatever the commands do.
TEST(MenuState, WithoutXAlwaysOnTopIsShownUnavailable) {
  ScriptedWindow w({}, /*onX=*/false);
  ASSERT_FALSE(w.core.commandBar().item(Command::Always).Enabled);
  expectShownAsTheCoreHasIt(w, "start-up");
  EXPECT_FALSE(w.window.findChild<QAction*>("Always")->isEnabled());
  w.run(Command::Always);
  expectShownAsTheCoreHasIt(w, "Always");
}

TEST(MenuState, TheMusicCaptionNamesThePlayingFile) {
  ScriptedWindow w;
  QFile::copy(TESSARON_DATA_DIR "/smallworld.wav", w.platform.folder.filePath("smallworld.wav"));
  w.platform.typed = "smallworld.wav";
  w.run(Command::Music);
  EXPECT_EQ(w.window.findChild<QAction*>("Music")->text(), "&Music (smallworld.wav)");
}

}  // namespace
}  // namespace tessaron::qt::menu_state_test
