#include "platform/qt/clock_accessible.h"

#include <QAction>
#include <QMenu>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>
#include <QToolButton>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/qt/clock_view.h"
#include "platform/qt/text.h"

namespace tessaron::qt {

QString ShownTextInterface::text(int start, int end) const {
  const QString all = current();
  start = std::clamp(start, 0, static_cast<int>(all.size()));
  end =
      end < 0 ? static_cast<int>(all.size()) : std::clamp(end, start, static_cast<int>(all.size()));
  return all.mid(start, end - start);
}

QString ShownTextInterface::attributes(int offset, int* start, int* end) const {
  *start = *end = offset;
  return {};
}

// A status bar: Orca 43 presents neither a label's nor a static text's changes, and reads a
// status bar's name and role ("21:43 status bar") when it has the focus or its value changes.
DotsAccessible::DotsAccessible(ClockDots* dots) : QAccessibleWidget(dots, QAccessible::StatusBar) {}

ClockView* DotsAccessible::view() const {
  return static_cast<ClockView*>(widget()->parentWidget());
}

QString DotsAccessible::current() const { return view()->shownTimeText(); }

QString DotsAccessible::text(QAccessible::Text t) const {
  switch (t) {
    case QAccessible::Name:
      return current();
    case QAccessible::Description:
      return qi18n("The time the binary clock shows");
    default:
      return {};
  }
}

QAccessible::State DotsAccessible::state() const {
  // Focusable and focused as the widget is; its text is the clock's, never typed in.
  QAccessible::State state = QAccessibleWidget::state();
  state.readOnly = true;
  return state;
}

QVariant DotsAccessible::currentValue() const { return view()->shownMinuteOfDay(); }

void* DotsAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

ZoneLabelAccessible::ZoneLabelAccessible(ClockView* view) : view_(view) {}

QString ZoneLabelAccessible::current() const {
  return view_.isNull() ? QString() : view_->zoneLabelText();
}

QWindow* ZoneLabelAccessible::window() const {
  return view_.isNull() ? nullptr : view_->window()->windowHandle();
}

QAccessibleInterface* ZoneLabelAccessible::parent() const {
  return QAccessible::queryAccessibleInterface(view_.data());
}

QString ZoneLabelAccessible::text(QAccessible::Text t) const {
  switch (t) {
    case QAccessible::Name:
      return current();
    case QAccessible::Description:
      return qi18n("Offset of the alternate time zone");
    default:
      return {};
  }
}

QRect ZoneLabelAccessible::rect() const {
  if (view_.isNull()) return {};
  const QRect local = view_->zoneLabelRect();
  return QRect(view_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State ZoneLabelAccessible::state() const {
  QAccessible::State state;
  state.readOnly = true;
  state.invisible = view_.isNull() || !view_->isVisible() || !view_->zoneLabelShown();
  return state;
}

void* ZoneLabelAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return nullptr;
}

ClockViewAccessible::ClockViewAccessible(ClockView* view)
    : QAccessibleWidget(view, QAccessible::Client),
      zoneLabel_(QAccessible::registerAccessibleInterface(new ZoneLabelAccessible(view))) {}

ClockViewAccessible::~ClockViewAccessible() { QAccessible::deleteAccessibleInterface(zoneLabel_); }

QAccessibleInterface* ClockViewAccessible::zoneLabel() const {
  return QAccessible::accessibleInterface(zoneLabel_);
}

int ClockViewAccessible::childCount() const { return QAccessibleWidget::childCount() + 1; }

QAccessibleInterface* ClockViewAccessible::child(int index) const {
  const int widgets = QAccessibleWidget::childCount();
  if (index < widgets) return QAccessibleWidget::child(index);
  return index == widgets ? zoneLabel() : nullptr;
}

int ClockViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
  if (child == zoneLabel()) return QAccessibleWidget::childCount();
  return QAccessibleWidget::indexOfChild(child);
}

MenuItemAccessible::MenuItemAccessible(QMenu* menu, QAction* action)
    : menu_(menu), action_(action) {}

QObject* MenuItemAccessible::object() const { return action_.data(); }

QWindow* MenuItemAccessible::window() const {
  return menu_.isNull() ? nullptr : menu_->windowHandle();
}

QAccessibleInterface* MenuItemAccessible::parent() const {
  return QAccessible::queryAccessibleInterface(menu_.data());
}

QString MenuItemAccessible::text(QAccessible::Text t) const {
  if (!isValid()) return {};
  switch (t) {
    case QAccessible::Name: {
      // The caption without its access letter's mark; "&&" shows as "&".
      QString name;
      const QString caption = action_->text();
      for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        name += caption[i];
      }
      return name;
    }
    case QAccessible::Description:
      return action_->statusTip();
    case QAccessible::Accelerator:
      return action_->shortcut().toString(QKeySequence::NativeText);
    default:
      return {};
  }
}

QRect MenuItemAccessible::rect() const {
  if (!isValid()) return {};
  const QRect local = menu_->actionGeometry(action_);
  return QRect(menu_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role MenuItemAccessible::role() const {
  if (!isValid()) return QAccessible::MenuItem;
  if (action_->isSeparator()) return QAccessible::Separator;
  return action_->isCheckable() ? QAccessible::CheckBox : QAccessible::MenuItem;
}

QAccessible::State MenuItemAccessible::state() const {
  QAccessible::State state;
  if (!isValid()) {
    state.invalid = true;
    return state;
  }
  state.checkable = action_->isCheckable();
  state.checked = action_->isChecked();
  state.disabled = !action_->isEnabled();
  state.focusable = true;
  state.focused = menu_->isVisible() && menu_->activeAction() == action_;
  state.invisible = !menu_->isVisible() || !action_->isVisible();
  state.offscreen = state.invisible;
  return state;
}

void* MenuItemAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
  return nullptr;
}

QString MenuItemAccessible::ownAction() const {
  return action_->isCheckable() ? toggleAction() : pressAction();
}

QStringList MenuItemAccessible::actionNames() const {
  if (!isValid() || !action_->isEnabled() || action_->isSeparator()) return {};
  return {ownAction()};
}

void MenuItemAccessible::doAction(const QString& actionName) {
  if (!isValid() || !action_->isEnabled() || actionName != ownAction()) return;
  // As a click on the item: the menu closes, then the command runs.
  menu_->hide();
  action_->trigger();
}

QStringList MenuItemAccessible::keyBindingsForAction(const QString& actionName) const {
  if (!isValid() || actionName != ownAction() || action_->shortcut().isEmpty()) return {};
  return {action_->shortcut().toString(QKeySequence::NativeText)};
}

MenuAccessible::MenuAccessible(QMenu* menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

QMenu* MenuAccessible::menu() const { return static_cast<QMenu*>(widget()); }

int MenuAccessible::childCount() const { return static_cast<int>(menu()->actions().size()); }

QAccessibleInterface* MenuAccessible::child(int index) const {
  const QList<QAction*> actions = menu()->actions();
  if (index < 0 || index >= actions.size()) return nullptr;
  return QAccessible::queryAccessibleInterface(actions.at(index));
}

int MenuAccessible::indexOfChild(const QAccessibleInterface* child) const {
  if (child == nullptr) return -1;
  return static_cast<int>(menu()->actions().indexOf(qobject_cast<QAction*>(child->object())));
}

QString MenuAccessible::text(QAccessible::Text t) const {
  if (t == QAccessible::Name && menu()->accessibleName().isEmpty()) {
    return menu()->title().remove(u'&');
  }
  return QAccessibleWidget::text(t);
}

ToolbarSwitchAccessible::ToolbarSwitchAccessible(QToolButton* button)
    : QAccessibleWidget(button, QAccessible::CheckBox) {}

QToolButton* ToolbarSwitchAccessible::button() const { return static_cast<QToolButton*>(widget()); }

QAccessible::State ToolbarSwitchAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.checkable = true;
  state.checked = button()->isChecked();
  return state;
}

QString ToolbarSwitchAccessible::text(QAccessible::Text t) const {
  // Its name says what it switches; its tooltip, when it says more (why it is unavailable).
  if (t == QAccessible::Description &&
      button()->toolTip().trimmed() != button()->accessibleName()) {
    return button()->toolTip();
  }
  return QAccessibleWidget::text(t);
}

QStringList ToolbarSwitchAccessible::actionNames() const {
  QStringList names = QAccessibleWidget::actionNames();
  if (button()->isEnabled()) names.prepend(toggleAction());
  return names;
}

void ToolbarSwitchAccessible::doAction(const QString& actionName) {
  if (actionName == toggleAction() || actionName == pressAction()) {
    if (button()->isEnabled()) button()->click();
    return;
  }
  QAccessibleWidget::doAction(actionName);
}

HelpTextAccessible::HelpTextAccessible(QTextBrowser* text)
    : QAccessibleWidget(text, QAccessible::EditableText) {}

QTextBrowser* HelpTextAccessible::browser() const { return static_cast<QTextBrowser*>(widget()); }

QAccessible::State HelpTextAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.readOnly = true;
  state.multiLine = true;
  state.selectableText = true;
  state.editable = false;
  return state;
}

void* HelpTextAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

void HelpTextAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  const QTextCursor cursor = browser()->textCursor();
  if (selectionIndex != 0 || !cursor.hasSelection()) {
    *startOffset = *endOffset = 0;
    return;
  }
  *startOffset = cursor.selectionStart();
  *endOffset = cursor.selectionEnd();
}

int HelpTextAccessible::selectionCount() const {
  return browser()->textCursor().hasSelection() ? 1 : 0;
}

void HelpTextAccessible::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);
}

void HelpTextAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex != 0) return;
  QTextCursor cursor = browser()->textCursor();
  cursor.clearSelection();
  browser()->setTextCursor(cursor);
}

void HelpTextAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  const int last = characterCount();
  QTextCursor cursor = browser()->textCursor();
  cursor.setPosition(std::clamp(startOffset, 0, last));
  cursor.setPosition(std::clamp(endOffset, 0, last), QTextCursor::KeepAnchor);
  browser()->setTextCursor(cursor);
}

int HelpTextAccessible::cursorPosition() const { return browser()->textCursor().position(); }

void HelpTextAccessible::setCursorPosition(int position) {
  QTextCursor cursor = browser()->textCursor();
  cursor.setPosition(std::clamp(position, 0, characterCount()));
  browser()->setTextCursor(cursor);
}

QString HelpTextAccessible::text(int startOffset, int endOffset) const {
  const int last = characterCount();
  startOffset = std::clamp(startOffset, 0, last);
  endOffset = endOffset < 0 ? last : std::clamp(endOffset, startOffset, last);
  QTextCursor cursor(browser()->document());
  cursor.setPosition(startOffset);
  cursor.setPosition(endOffset, QTextCursor::KeepAnchor);
  // A block's end is a line break to a reader, not Qt's paragraph separator.
  return cursor.selectedText().replace(QChar::ParagraphSeparator, u'\n');
}

void HelpTextAccessible::lineAt(int offset, int* start, int* end) const {
  const QTextBlock block = browser()->document()->findBlock(offset);
  *start = *end = offset;
  if (!block.isValid()) return;
  const QTextLayout* layout = block.layout();
  const int inBlock = offset - block.position();
  const QTextLine line = layout != nullptr ? layout->lineForTextPosition(inBlock) : QTextLine();
  if (!line.isValid()) {
    *start = block.position();
    *end = block.position() + block.length();
    return;
  }
  *start = block.position() + line.textStart();
  *end = block.position() + line.textStart() + line.textLength();
  // The block's last line ends with its line break.
  if (line.lineNumber() == layout->lineCount() - 1) *end = block.position() + block.length();
  *end = std::min(*end, characterCount());
}

QString HelpTextAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                         int* startOffset, int* endOffset) const {
  if (boundaryType != QAccessible::LineBoundary) {
    return QAccessibleTextInterface::textAtOffset(offset, boundaryType, startOffset, endOffset);
  }
  lineAt(std::clamp(offset, 0, characterCount()), startOffset, endOffset);
  return text(*startOffset, *endOffset);
}

QString HelpTextAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const {
  if (boundaryType != QAccessible::LineBoundary) {
    return QAccessibleTextInterface::textBeforeOffset(offset, boundaryType, startOffset, endOffset);
  }
  int start = 0, end = 0;
  lineAt(std::clamp(offset, 0, characterCount()), &start, &end);
  if (start == 0) {
    *startOffset = *endOffset = 0;
    return {};
  }
  return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
}

QString HelpTextAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
  if (boundaryType != QAccessible::LineBoundary) {
    return QAccessibleTextInterface::textAfterOffset(offset, boundaryType, startOffset, endOffset);
  }
  int start = 0, end = 0;
  lineAt(std::clamp(offset, 0, characterCount()), &start, &end);
  if (end >= characterCount()) {
    *startOffset = *endOffset = characterCount();
    return {};
  }
  return textAtOffset(end, boundaryType, startOffset, endOffset);
}

int HelpTextAccessible::characterCount() const {
  return std::max(0, browser()->document()->characterCount() - 1);
}

QRect HelpTextAccessible::characterRect(int offset) const {
  QTextCursor cursor(browser()->document());
  cursor.setPosition(std::clamp(offset, 0, characterCount()));
  const QRect local = browser()->cursorRect(cursor);
  return QRect(browser()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int HelpTextAccessible::offsetAtPoint(const QPoint& point) const {
  return browser()->cursorForPosition(browser()->viewport()->mapFromGlobal(point)).position();
}

void HelpTextAccessible::scrollToSubstring(int startIndex, int endIndex) {
  setSelection(0, startIndex, endIndex);
  browser()->ensureCursorVisible();
}

QString HelpTextAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = offset;
  return {};
}

Announcement::Announcement(QWidget* parent) : QWidget(parent) {
  setObjectName("Announcement");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  resize(0, 0);
}

namespace {

QMenu* menuOf(QAction* action) {
  for (QObject* holder : action->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(holder)) return menu;
  }
  return nullptr;
}

QAccessibleInterface* clockFactory(const QString& className, QObject* object) {
  if (auto* view = dynamic_cast<ClockView*>(object)) return new ClockViewAccessible(view);
  if (auto* dots = dynamic_cast<ClockDots*>(object)) return new DotsAccessible(dots);
  if (auto* announcement = dynamic_cast<Announcement*>(object)) {
    return new QAccessibleWidget(announcement, QAccessible::Notification);
  }
  if (auto* text = qobject_cast<QTextBrowser*>(object);
      text != nullptr && text->objectName() == QLatin1String("HelpText")) {
    return new HelpTextAccessible(text);
  }
  // The menus and their items together: each finds the other.
  if (auto* menu = qobject_cast<QMenu*>(object)) return new MenuAccessible(menu);
  if (auto* action = qobject_cast<QAction*>(object)) {
    if (QMenu* menu = menuOf(action)) return new MenuItemAccessible(menu, action);
  }
  if (auto* button = qobject_cast<QToolButton*>(object);
      button != nullptr && button->isCheckable()) {
    return new ToolbarSwitchAccessible(button);
  }
  // Qt gives a plain widget the role of a client area, which a screen reader takes for a
  // filler inside something; as a top-level window it is a window ("frame").
  auto* widget = qobject_cast<QWidget*>(object);
  if (className == QLatin1String("QWidget") && widget != nullptr && widget->isWindow()) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  return nullptr;
}

}  // namespace

void installClockAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(clockFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace tessaron::qt
