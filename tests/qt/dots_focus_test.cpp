// The dots by keyboard and to a screen reader, on a scripted clock: Tab reaches them and
// then the zone selector; focused, they show a focus frame and their accessible object is
// a focusable, focused status bar named by the time shown; the clock's windows are
// windows and dialogs to a screen reader, never fillers.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHelpEvent>
#include <QImage>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QToolTip>
#include <optional>

#include "platform/qt/form_dialog.h"
#include "platform/qt/help_viewer.h"
#include "tests/qt/scripted_window.h"

namespace tessaron::qt::dots_focus_test {
namespace {

class DotsFocus : public ::testing::Test {
 protected:
  ScriptedWindow w;
  ClockView* view = w.window.clockView();

  void SetUp() override {
    w.window.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return w.window.isActiveWindow(); }));
  }
  // Tab (or Shift+Tab) as the keyboard sends it, to whatever has the focus.
  void tab(bool back = false) {
    QWidget* to = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &w.window;
    QKeyEvent press(QEvent::KeyPress, back ? Qt::Key_Backtab : Qt::Key_Tab,
                    back ? Qt::ShiftModifier : Qt::NoModifier);
    QApplication::sendEvent(to, &press);
  }
  static QAccessibleInterface* focused() {
    return QAccessible::queryAccessibleInterface(QApplication::focusWidget());
  }
  // The part of the view's picture around the dots, as the screen shows it.
  QImage aroundDots() const { return view->grab(view->dots()->geometry()).toImage(); }
};

TEST_F(DotsFocus, TabReachesTheDotsThatReadAsTheTimeShown) {
  tab();
  ASSERT_EQ(QApplication::focusWidget(), view->dots());
  QAccessibleInterface* dots = focused();
  ASSERT_NE(dots, nullptr);
  EXPECT_EQ(dots->role(), QAccessible::StatusBar);
  EXPECT_TRUE(dots->state().focusable);
  EXPECT_TRUE(dots->state().focused);
  EXPECT_FALSE(dots->state().invisible);
  EXPECT_TRUE(dots->rect().contains(view->mapToGlobal(view->dotsRect().center())));
  ASSERT_NE(dots->valueInterface(), nullptr);
  ASSERT_NE(dots->textInterface(), nullptr);
  struct Case {
    const char* name;
    std::optional<Command> command;  // run before reading
    const char* text;
  };
  const Case cases[] = {
      {"hours and minutes", std::nullopt, "12:34"},
      {"with the seconds", Command::Seconds, "12:34:30"},
      {"of the alternate zone, named", Command::AltTimeZone, "12:34:30 UTC"},
      {"the zone named without the seconds", Command::Seconds, "12:34 UTC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.command) w.run(*c.command);
    w.tick();
    EXPECT_EQ(dots->text(QAccessible::Name), c.text);
    EXPECT_EQ(dots->textInterface()->text(0, -1), c.text);
  }
  EXPECT_EQ(dots->valueInterface()->currentValue().toInt(), 12 * 60 + 34);
}

TEST_F(DotsFocus, TabGoesFromTheDotsToTheZoneSelectorAndBack) {
  w.run(Command::AltTimeZone);
  QComboBox* selector = view->zoneSelector();
  ASSERT_NE(selector, nullptr);
  auto inSelector = [&] {
    QWidget* f = QApplication::focusWidget();
    return f == selector || f == selector->lineEdit();
  };
  EXPECT_TRUE(inSelector()) << "shown to be typed in";
  tab();
  EXPECT_EQ(QApplication::focusWidget(), view->dots());
  tab();
  EXPECT_TRUE(inSelector());
  tab(true);
  EXPECT_EQ(QApplication::focusWidget(), view->dots());
  // A zone chosen hides the selector and gives the focus back to the dots, named by the
  // zone's time; Tab stays there.
  tab();
  const int tokyo = selector->findText("(UTC+09:00) Asia/Tokyo", Qt::MatchEndsWith);
  ASSERT_GE(tokyo, 0);
  emit selector->activated(tokyo);
  EXPECT_FALSE(selector->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), view->dots());
  EXPECT_EQ(focused()->text(QAccessible::Name), "21:34 Asia/Tokyo");
  tab();
  EXPECT_EQ(QApplication::focusWidget(), view->dots());
}

TEST_F(DotsFocus, TheFocusedDotsShowAFrameThatLeavesWithTheFocus) {
  w.run(Command::AltTimeZone);  // the selector has the focus
  const QImage unfocused = aroundDots();
  tab();
  ASSERT_EQ(QApplication::focusWidget(), view->dots());
  const QImage focusedImage = aroundDots();
  ASSERT_EQ(focusedImage.size(), unfocused.size());
  // The frame runs along the edge; the dots inside are drawn as before.
  int changedOnEdge = 0;
  for (int x = 0; x < focusedImage.width(); ++x) {
    for (int y : {0, 1, focusedImage.height() - 2, focusedImage.height() - 1}) {
      if (focusedImage.pixel(x, y) != unfocused.pixel(x, y)) ++changedOnEdge;
    }
  }
  EXPECT_GT(changedOnEdge, focusedImage.width()) << "no frame along the top and bottom";
  const QPoint middle = view->dotsRect().center() - view->dots()->geometry().topLeft();
  EXPECT_EQ(focusedImage.pixel(middle), unfocused.pixel(middle));
  tab();
  EXPECT_EQ(aroundDots(), unfocused);
}

// The dots' widget lies over the painted dots: hovering them still shows the readout.
TEST_F(DotsFocus, TheReadoutStillShowsOverTheDots) {
  ClockDots* dots = view->dots();
  const QPoint at = dots->rect().center();
  QHelpEvent hover(QEvent::ToolTip, at, dots->mapToGlobal(at));
  QApplication::sendEvent(dots, &hover);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), view->readoutText());
  QToolTip::hideText();
}

TEST_F(DotsFocus, TheZoneListsAreNamed) {
  w.run(Command::AltTimeZone);
  QComboBox* selector = view->zoneSelector();
  ASSERT_NE(selector, nullptr);
  // Labelled by relation: the list's own name is its text on Linux.
  const auto labels =
      QAccessible::queryAccessibleInterface(selector)->relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 1);
  EXPECT_EQ(labels.front().first->text(QAccessible::Name), "Alternate time zone");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(selector->view())->text(QAccessible::Name),
            "Time zones");
  QAbstractItemView* found = selector->lineEdit()->completer()->popup();
  EXPECT_EQ(QAccessible::queryAccessibleInterface(found)->text(QAccessible::Name),
            "Matching time zones");
}

// What the bridge tells a screen reader: Window is a "frame", Dialog a "dialog", and
// AlertMessage an "alert", which Orca reads out whole.
TEST_F(DotsFocus, TheClocksWindowsAreWindowsAndDialogs) {
  auto role = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget)->role(); };
  EXPECT_EQ(role(&w.window), QAccessible::Window);
  EXPECT_EQ(role(view), QAccessible::Client);  // inside the window
  HelpViewer help;
  EXPECT_EQ(role(&help), QAccessible::Window);
  Form form;
  form.Name = "frmAbout";
  FormDialog about(form, 0, &w.window, [](const std::string&) {});
  EXPECT_EQ(role(&about), QAccessible::Dialog);
  // The platform's prompts and messages, read while they wait for an answer.
  std::vector<QAccessible::Role> roles;
  auto readAndClose = [&] {
    QTimer::singleShot(0, [&] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        roles.push_back(role(dialog));
        static_cast<QDialog*>(dialog)->reject();
      }
    });
  };
  QtPlatform platform;
  platform.attach(&w.window);
  readAndClose();
  platform.inputBox("Zone?", "Tessa", "", 0_tw, 0_tw);
  readAndClose();
  platform.messageBox("Saved.", MessageStyle::Information, "");
  platform.attach(nullptr);
  EXPECT_EQ(roles,
            (std::vector<QAccessible::Role>{QAccessible::Dialog, QAccessible::AlertMessage}));
}

}  // namespace
}  // namespace tessaron::qt::dots_focus_test
