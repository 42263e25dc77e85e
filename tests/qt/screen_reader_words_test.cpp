// What a screen reader finds and hears besides the time, read through Qt's accessibility
// interfaces with keys typed through Qt's own input path: switches that carry their state
// in the menus and on the toolbar, a notification after each command whose effect is only
// seen, a zone box that shows what it speaks, F10 to the menus, the help's caret and keys,
// the version in About, and why Always on Top is unavailable.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <vector>

#include "platform/qt/clock_accessible.h"
#include "platform/qt/form_dialog.h"
#include "platform/qt/help_viewer.h"
#include "tests/qt/scripted_window.h"

namespace tessaron::qt::screen_reader_words_test {
namespace {

using Said = std::vector<std::string>;

class ScreenReaderWords : public ::testing::Test {
 protected:
  Said said;  // the notifications' words, in order
  std::vector<QAccessible::Role> saidAs;
  ScriptedWindow w{[this](QAccessibleEvent* event) { hear(event); }};
  ClockView* view = w.window.clockView();

  void SetUp() override {
    w.window.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return w.window.isActiveWindow(); }));
  }
  void hear(QAccessibleEvent* event) {
    if (event->type() != QAccessible::ObjectShow) return;
    QAccessibleInterface* shown = event->accessibleInterface();
    said.push_back(shown->text(QAccessible::Name).toStdString());
    saidAs.push_back(shown->role());
  }
  // A key as typed, to the window that has the keyboard.
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : &w.window;
    QTest::keyClick(to, k, modifiers);
  }
  QMenu* optionsMenu() const { return w.window.menuBar()->actions().at(0)->menu(); }
  // The menu item of `name` as the menu hands it to a screen reader.
  QAccessibleInterface* menuItem(const char* name) const {
    QMenu* menu = optionsMenu();
    QAccessibleInterface* parent = QAccessible::queryAccessibleInterface(menu);
    const int index = static_cast<int>(menu->actions().indexOf(w.window.findChild<QAction*>(name)));
    return index < 0 ? nullptr : parent->child(index);
  }
  QAccessibleInterface* toolbarButton(const std::string& key) const {
    auto* action = w.window.findChild<QAction*>(QString::fromStdString("button_" + key));
    return QAccessible::queryAccessibleInterface(view->toolbar()->widgetForAction(action));
  }
};

// Every switch is a check box in its menu, so a screen reader says its state when it is
// off too ("Music, check box, not checked"); a command stays a menu item.
TEST_F(ScreenReaderWords, MenuSwitchesCarryTheirStateBothWays) {
  for (const MenuEntry& entry : kCommandTable) {
    if (entry.menu != kOptions) continue;
    SCOPED_TRACE(entry.name);
    QAccessibleInterface* item = menuItem(entry.name);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), entry.isSwitch ? QAccessible::CheckBox : QAccessible::MenuItem);
    EXPECT_EQ(item->state().checkable, entry.isSwitch);
    EXPECT_EQ(item->state().checked, entry.isSwitch && w.core.item(entry.command).Checked);
    EXPECT_EQ(item->parent()->object(), optionsMenu());
    // Found again in its menu: an item its parent does not know reads as a dead object.
    EXPECT_EQ(item->parent()->indexOfChild(item),
              optionsMenu()->actions().indexOf(static_cast<QAction*>(item->object())));
  }
  QAccessibleInterface* seconds = menuItem("Seconds");
  EXPECT_EQ(seconds->text(QAccessible::Name), "Display Seconds");  // no access letter's mark
  EXPECT_EQ(seconds->text(QAccessible::Accelerator),
            QKeySequence("Ctrl+S").toString(QKeySequence::NativeText));
  const bool before = seconds->state().checked;
  key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_NE(seconds->state().checked, before);
  EXPECT_EQ(seconds->state().checked, w.core.item(Command::Seconds).Checked);
}

// A switch's button is a check box to a screen reader, checked as its switch is; a
// command's button stays a push button.
TEST_F(ScreenReaderWords, ToolbarSwitchesAreCheckBoxesThatFollowTheirSwitch) {
  for (const ToolbarButton& button : w.core.toolbar().Buttons) {
    SCOPED_TRACE(button.Key);
    QAccessibleInterface* shown = toolbarButton(button.Key);
    ASSERT_NE(shown, nullptr);
    const bool isSwitch = button.Style == ButtonStyle::Check;
    EXPECT_EQ(shown->role(), isSwitch ? QAccessible::CheckBox : QAccessible::Button);
    EXPECT_EQ(shown->state().checkable, isSwitch);
    EXPECT_EQ(shown->state().checked, button.Value != 0);
    EXPECT_EQ(shown->text(QAccessible::Name).toStdString() + " ",
              button.ToolTipText.back() == ' ' ? button.ToolTipText : button.ToolTipText + " ");
  }
  // Switched from the reader's own action, as from a click.
  QAccessibleInterface* hints = toolbarButton("Numbers");
  ASSERT_NE(hints->actionInterface(), nullptr);
  hints->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(w.core.item(Command::Numbers).Checked);
  EXPECT_TRUE(hints->state().checked);
  EXPECT_EQ(said, Said{"Hints shown"});
}

TEST_F(ScreenReaderWords, ACommandWhoseEffectIsOnlySeenIsConfirmedAsANotification) {
  struct Case {
    Qt::Key key;
    const char* words;
  };
  const Case cases[] = {{Qt::Key_S, "Seconds shown"},
                        {Qt::Key_H, "Hints shown"},
                        {Qt::Key_S, "Seconds hidden"},
                        {Qt::Key_P, "Preferences saved"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    said.clear();
    saidAs.clear();
    key(c.key, Qt::ControlModifier);
    EXPECT_EQ(said, Said{c.words});
    EXPECT_EQ(saidAs, std::vector<QAccessible::Role>{QAccessible::Notification});
  }
  // It takes nothing from the user: no focus, no window of its own.
  EXPECT_EQ(view->announcement()->focusPolicy(), Qt::NoFocus);
  EXPECT_FALSE(view->announcement()->isWindow());
}

TEST_F(ScreenReaderWords, EnterOnNoMatchingZoneSaysSo) {
  w.run(Command::AltTimeZone);
  QLineEdit* field = view->zoneSelector()->lineEdit();
  ASSERT_TRUE(waitUntil([&] { return field->hasFocus(); }));
  QTest::keyClicks(field, "zzqq");
  said.clear();
  key(Qt::Key_Return);
  EXPECT_EQ(said, Said{"no zone matches"});
}

// The arrows on the closed box show the next zone and leave it shown (a tick no longer
// puts the chosen one back under the reader's words); Esc brings back the chosen zone's
// text, whatever was browsed or typed.
TEST_F(ScreenReaderWords, TheClosedZoneBoxShowsWhatItSpeaksAndEscPutsBackTheChoice) {
  w.run(Command::AltTimeZone);
  QComboBox* box = view->zoneSelector();
  QLineEdit* field = box->lineEdit();
  ASSERT_TRUE(waitUntil([&] { return field->hasFocus(); }));
  const QString chosen = field->text();
  const int chosenIndex = w.core.zoneSelector().ListIndex;
  ASSERT_FALSE(chosen.isEmpty());
  key(Qt::Key_Down);
  const QString browsed = field->text();
  EXPECT_EQ(browsed, box->itemText(chosenIndex + 1));
  w.platform.advance(1000);
  w.tick();
  EXPECT_EQ(field->text(), browsed) << "a tick put back the chosen zone";
  QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(box);
  EXPECT_EQ(spoken->text(QAccessible::Value), browsed);
  EXPECT_EQ(w.core.zoneSelector().ListIndex, chosenIndex) << "browsing chose nothing";

  key(Qt::Key_Escape);
  EXPECT_EQ(field->text(), chosen);
  EXPECT_EQ(spoken->text(QAccessible::Value), chosen);
  QTest::keyClicks(field, "tok");
  // To the list of zones found, which has the keyboard on a desktop (not offscreen).
  QWidget* found = field->completer()->popup();
  ASSERT_TRUE(found->isVisible());
  QTest::keyClick(found, Qt::Key_Escape);
  EXPECT_FALSE(found->isVisible());
  EXPECT_EQ(field->text(), chosen) << "typing after Esc would append to the typed text";
  EXPECT_EQ(field->selectedText(), chosen) << "so the next typing replaces it";
}

TEST_F(ScreenReaderWords, F10OpensTheFirstMenu) {
  key(Qt::Key_F10);
  ASSERT_TRUE(waitUntil([&] { return QApplication::activePopupWidget() == optionsMenu(); }));
  EXPECT_EQ(optionsMenu()->activeAction(), optionsMenu()->actions().first())
      << "opened on its first item, which a reader reads at once";
  QTest::keyClick(optionsMenu(), Qt::Key_Escape);
  EXPECT_TRUE(waitUntil([&] { return QApplication::activePopupWidget() == nullptr; }));
}

TEST(ScreenReaderWordsWithoutKeepOnTop, AlwaysOnTopIsReachedByTheArrowsAndSaysWhy) {
  ScriptedWindow w({}, /*onX=*/false);
  w.window.activateWindow();
  ASSERT_TRUE(waitUntil([&] { return w.window.isActiveWindow(); }));
  QMenu* menu = w.window.menuBar()->actions().at(0)->menu();
  auto* always = w.window.findChild<QAction*>("Always");
  ASSERT_FALSE(always->isEnabled());
  QAccessibleInterface* item = QAccessible::queryAccessibleInterface(menu)->child(
      static_cast<int>(menu->actions().indexOf(always)));
  EXPECT_EQ(item->text(QAccessible::Description).toStdString(), Tessaron::kNoKeepOnTop);
  EXPECT_TRUE(item->state().disabled);
  QTest::keyClick(&w.window, Qt::Key_F10);
  ASSERT_TRUE(waitUntil([&] { return QApplication::activePopupWidget() == menu; }));
  // Down through the menu and round to its first item, unavailable.
  QTest::keyClick(menu, Qt::Key_Down);
  for (int i = 0; i < menu->actions().size() && menu->activeAction() != always; ++i) {
    QTest::keyClick(menu, Qt::Key_Down);
  }
  EXPECT_EQ(menu->activeAction(), always) << "the arrows pass the unavailable item by";
  EXPECT_TRUE(item->state().focused);
  menu->hide();
}

// Help walks with a caret, and is put away by Esc or Ctrl+W; Ctrl+Q there closes the clock.
TEST(ScreenReaderHelp, TheHelpHasACaretAndTheWindowKeys) {
  HelpViewer help;
  int clockClosed = 0;
  help.setCloseClock([&] { ++clockClosed; });
  const QString file = QString(TESSARON_DATA_DIR) + "/Tessa.hlp";
  ASSERT_EQ(help.open(file), std::nullopt);
  help.activateWindow();
  ASSERT_TRUE(waitUntil([&] { return help.isActiveWindow(); }));
  QTextBrowser* text = help.browser();
  EXPECT_TRUE(text->textInteractionFlags() & Qt::TextSelectableByKeyboard);
  EXPECT_TRUE(text->textInteractionFlags() & Qt::LinksAccessibleByKeyboard);
  EXPECT_EQ(text->textCursor().position(), 0) << "read from the top";
  EXPECT_EQ(QApplication::focusWidget(), text);
  // A read-only text, read by the line: not a label, which a reader reads whole at once.
  QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(text);
  EXPECT_EQ(shown->role(), QAccessible::EditableText);
  EXPECT_TRUE(shown->state().readOnly);
  EXPECT_TRUE(shown->state().focused);
  QAccessibleTextInterface* read = shown->textInterface();
  ASSERT_NE(read, nullptr);
  int start = -1, end = -1;
  EXPECT_EQ(read->textAtOffset(0, QAccessible::LineBoundary, &start, &end), "Tessaron\n");
  EXPECT_EQ(start, 0);
  QTest::keyClick(text, Qt::Key_Down);
  EXPECT_GT(text->textCursor().blockNumber(), 0) << "the caret moves a line down";
  EXPECT_EQ(read->cursorPosition(), text->textCursor().position());
  const QString line =
      read->textAtOffset(read->cursorPosition(), QAccessible::LineBoundary, &start, &end);
  EXPECT_TRUE(line.startsWith("Tessaron is a binary clock.")) << line.toStdString();
  EXPECT_LT(line.size(), 200) << "one shown line, not the paragraph or the page";
  EXPECT_EQ(read->text(start, end), line);
  // The next line starts where this one ends.
  int nextStart = -1, nextEnd = -1;
  read->textAfterOffset(start, QAccessible::LineBoundary, &nextStart, &nextEnd);
  EXPECT_EQ(nextStart, end);

  struct Case {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
  };
  for (const Case& c : {Case{"Ctrl+W", Qt::Key_W, Qt::ControlModifier},
                        Case{"Esc", Qt::Key_Escape, Qt::NoModifier}}) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(help.open(file), std::nullopt);
    help.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return help.isActiveWindow(); }));
    QTest::keyClick(text, c.key, c.modifiers);
    EXPECT_FALSE(help.isVisible());
  }
  ASSERT_EQ(help.open(file), std::nullopt);
  help.activateWindow();
  ASSERT_TRUE(waitUntil([&] { return help.isActiveWindow(); }));
  QTest::keyClick(text, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_EQ(clockClosed, 1);
}

TEST(ScreenReaderAbout, TheVersionIsReadWithWhoseItIs) {
  Form form;
  form.Name = "frmAbout";
  form.Controls = {{FormControl::Kind::Label, "Label1", 120_tw, 120_tw, 732_tw, 252_tw,
                    "Version:", false, false, ""},
                   {FormControl::Kind::Label, "Label2", 960_tw, 120_tw, 972_tw, 252_tw, "2.7.6",
                    false, false, "Tessaron version 2.7.6"}};
  FormDialog about(form, 0, nullptr, [](const std::string&) {});
  auto name = [&](const char* label) {
    return QAccessible::queryAccessibleInterface(about.findChild<QLabel*>(label))
        ->text(QAccessible::Name);
  };
  EXPECT_EQ(name("Label2"), "Tessaron version 2.7.6");
  EXPECT_EQ(name("Label1"), "Version:");
  EXPECT_EQ(about.findChild<QLabel*>("Label2")->text(), "2.7.6");  // shown as it was
}

}  // namespace
}  // namespace tessaron::qt::screen_reader_words_test
