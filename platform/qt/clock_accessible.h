#pragma once
// What a screen reader finds in the clock view besides its real widgets: the dots, as
// the text of the time they show, and the zone label `ATZ` with its caption. Neither is
// a widget of its own (both are painted), so each is an accessible object without one.
//
// Example: with the dots showing 21:43:17 of Tokyo, the tree holds a static text named
// "21:43:17 Asia/Tokyo" (its text the same) and another named "(UTC+09:00)".

#include <QAccessibleWidget>
#include <QPointer>

namespace tessaron::qt {

class ClockView;

// One painted part of the clock view.
class ClockPartAccessible : public QAccessibleInterface, public QAccessibleTextInterface {
 public:
  enum class Part { Dots, ZoneLabel };
  ClockPartAccessible(ClockView* view, Part part) : view_(view), part_(part) {}

  QString current() const;  // the part's text as the view shows it now

  bool isValid() const override { return !view_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override;
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  // Read-only text: no selection, no caret.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override;
  int characterCount() const override { return static_cast<int>(current().size()); }
  QRect characterRect(int) const override { return rect(); }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override;

 private:
  QPointer<ClockView> view_;
  Part part_;
};

// The clock view's own interface: its widgets (toolbar, zone selector), then the dots and
// the zone label.
class ClockViewAccessible : public QAccessibleWidget {
 public:
  explicit ClockViewAccessible(ClockView* view);
  ~ClockViewAccessible() override;

  int childCount() const override;
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;

  QAccessibleInterface* part(ClockPartAccessible::Part which) const;

 private:
  QAccessible::Id dots_;
  QAccessible::Id zoneLabel_;
};

// Lets Qt build the interface above for every clock view; once per program.
void installClockAccessibility();

}  // namespace tessaron::qt
