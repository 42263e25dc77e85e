#pragma once
// What a screen reader finds in the clock: the dots, as the text of the time they show,
// the zone label `ATZ` with its caption, and the clock's windows as windows. The dots are
// painted by the view; a bare widget over them (ClockDots) takes the keyboard focus for
// them. The zone label has no widget at all, so its accessible object stands alone.
//
// Example: with the dots showing 21:43:17 of Tokyo, the tree holds a focusable status bar
// named "21:43:17 Asia/Tokyo" (its text the same, its value 1303, the minute of the day)
// and a static text named "(UTC+09:00)".

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>

class QAction;
class QMenu;
class QTextBrowser;
class QToolButton;

namespace tessaron::qt {

class ClockDots;
class ClockView;

// Read-only text with no selection and no caret: what a painted part shows.
class ShownTextInterface : public QAccessibleTextInterface {
 public:
  virtual QString current() const = 0;  // the text as the view shows it now

  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override;
  int characterCount() const override { return static_cast<int>(current().size()); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override;
};

// The dots: a status bar named by the time they show, focusable like any widget; its value
// is the shown minute of the day, so that a new minute is a new value.
class DotsAccessible : public QAccessibleWidget,
                       public ShownTextInterface,
                       public QAccessibleValueInterface {
 public:
  explicit DotsAccessible(ClockDots* dots);

  QString current() const override;
  QString text(QAccessible::Text t) const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;
  QRect characterRect(int) const override { return rect(); }
  using ShownTextInterface::text;

  QVariant currentValue() const override;
  void setCurrentValue(const QVariant&) override {}
  QVariant maximumValue() const override { return 24 * 60 - 1; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  ClockView* view() const;
};

// An interface with no children whose text the reader cannot set: the zone label and a
// menu item.
class LeafAccessible : public QAccessibleInterface {
 public:
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  void setText(QAccessible::Text, const QString&) override {}
};

// The zone label, painted and without a widget of its own.
class ZoneLabelAccessible : public LeafAccessible, public ShownTextInterface {
 public:
  explicit ZoneLabelAccessible(ClockView* view);

  QString current() const override;

  bool isValid() const override { return !view_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::StaticText; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;
  QRect characterRect(int) const override { return rect(); }
  using ShownTextInterface::text;

 private:
  QPointer<ClockView> view_;
};

// The clock view's own interface: its widgets (toolbar, dots, zone selector), then the
// zone label.
class ClockViewAccessible : public QAccessibleWidget {
 public:
  explicit ClockViewAccessible(ClockView* view);
  ~ClockViewAccessible() override;

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;

  QAccessibleInterface* zoneLabel() const;

 private:
  QAccessible::Id zoneLabel_;
};

// An item of a menu. A switch is a check box in the menu, so that a screen reader says its
// state both ways ("Music, check box, not checked"), not only when it is on: Qt 6.4
// presents a checkable menu item as a plain one that is checked or not, with nothing to say
// it can be. Its description says why it is unavailable, if it is.
class MenuItemAccessible : public LeafAccessible, public QAccessibleActionInterface {
 public:
  MenuItemAccessible(QMenu* menu, QAction* action);

  bool isValid() const override { return !menu_.isNull() && !action_.isNull(); }
  QObject* object() const override;
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QString text(QAccessible::Text t) const override;
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  QStringList actionNames() const override;
  void doAction(const QString& actionName) override;
  QStringList keyBindingsForAction(const QString& actionName) const override;

 private:
  QPointer<QMenu> menu_;
  QPointer<QAction> action_;
  QString ownAction() const;  // toggling a switch, pressing a command
};

// A menu whose items are the ones above. Qt's own menu finds its children by their role,
// and would not find a check box among them: a reader would take it for a dead object.
class MenuAccessible : public QAccessibleWidget {
 public:
  explicit MenuAccessible(QMenu* menu);

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QString text(QAccessible::Text t) const override;

 private:
  QMenu* menu() const;
};

// A switch's toolbar button: a check box to a screen reader ("Display seconds, check box,
// checked"), since Qt presents a checkable tool button as a push button, whose state a
// reader does not say.
class ToolbarSwitchAccessible : public QAccessibleWidget {
 public:
  explicit ToolbarSwitchAccessible(QToolButton* button);

  QAccessible::Role role() const override { return QAccessible::CheckBox; }
  QAccessible::State state() const override;
  QString text(QAccessible::Text t) const override;
  QStringList actionNames() const override;
  void doAction(const QString& actionName) override;

 private:
  QToolButton* button() const;
};

// The help's text: a read-only text with a caret, walked line by line. Qt presents a text
// browser as a label, whose whole text a screen reader reads at once, and never again.
class HelpTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit HelpTextAccessible(QTextBrowser* text);

  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                          int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;
  using QAccessibleWidget::text;

 private:
  QTextBrowser* browser() const;
  // The shown line that holds `offset`: [start, end).
  void lineAt(int offset, int* start, int* end) const;
};

// Where the clock's spoken confirmations come from: a widget that shows nothing, which a
// screen reader takes for a notification and reads when it is shown.
class Announcement : public QWidget {
 public:
  explicit Announcement(QWidget* parent);
};

// Lets Qt build the interfaces above, and gives a plain top-level widget (the clock's
// window, the help viewer) the role of a window; once per program.
void installClockAccessibility();

}  // namespace tessaron::qt
