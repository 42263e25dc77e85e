#include "platform/qt/clock_accessible.h"

#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/qt/clock_view.h"

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
      return QStringLiteral("The time the binary clock shows");
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
      return QStringLiteral("Offset of the alternate time zone");
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

namespace {

QAccessibleInterface* clockFactory(const QString& className, QObject* object) {
  if (auto* view = dynamic_cast<ClockView*>(object)) return new ClockViewAccessible(view);
  if (auto* dots = dynamic_cast<ClockDots*>(object)) return new DotsAccessible(dots);
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
