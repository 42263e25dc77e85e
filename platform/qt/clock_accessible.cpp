#include "platform/qt/clock_accessible.h"

#include <QWidget>
#include <QWindow>

#include "platform/qt/clock_view.h"

namespace tessaron::qt {

QString ClockPartAccessible::current() const {
  if (view_.isNull()) return {};
  return part_ == Part::Dots ? view_->shownTimeText() : view_->zoneLabelText();
}

QWindow* ClockPartAccessible::window() const {
  return view_.isNull() ? nullptr : view_->window()->windowHandle();
}

QAccessibleInterface* ClockPartAccessible::parent() const {
  return QAccessible::queryAccessibleInterface(view_.data());
}

QString ClockPartAccessible::text(QAccessible::Text t) const {
  switch (t) {
    case QAccessible::Name:
      return current();
    case QAccessible::Description:
      return part_ == Part::Dots ? QStringLiteral("The time the binary clock shows")
                                 : QStringLiteral("Offset of the alternate time zone");
    default:
      return {};
  }
}

QRect ClockPartAccessible::rect() const {
  if (view_.isNull()) return {};
  const QRect local = part_ == Part::Dots ? view_->dotsRect() : view_->zoneLabelRect();
  return QRect(view_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role ClockPartAccessible::role() const {
  return QAccessible::StaticText;  // what a QLabel is, too
}

QAccessible::State ClockPartAccessible::state() const {
  QAccessible::State state;
  state.readOnly = true;
  const bool shown =
      !view_.isNull() && view_->isVisible() && (part_ == Part::Dots || view_->zoneLabelShown());
  state.invisible = !shown;
  return state;
}

void* ClockPartAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return nullptr;
}

QString ClockPartAccessible::text(int start, int end) const {
  const QString all = current();
  start = std::clamp(start, 0, static_cast<int>(all.size()));
  end =
      end < 0 ? static_cast<int>(all.size()) : std::clamp(end, start, static_cast<int>(all.size()));
  return all.mid(start, end - start);
}

QString ClockPartAccessible::attributes(int offset, int* start, int* end) const {
  *start = *end = offset;
  return {};
}

ClockViewAccessible::ClockViewAccessible(ClockView* view)
    : QAccessibleWidget(view, QAccessible::Client),
      dots_(QAccessible::registerAccessibleInterface(
          new ClockPartAccessible(view, ClockPartAccessible::Part::Dots))),
      zoneLabel_(QAccessible::registerAccessibleInterface(
          new ClockPartAccessible(view, ClockPartAccessible::Part::ZoneLabel))) {}

ClockViewAccessible::~ClockViewAccessible() {
  QAccessible::deleteAccessibleInterface(dots_);
  QAccessible::deleteAccessibleInterface(zoneLabel_);
}

QAccessibleInterface* ClockViewAccessible::part(ClockPartAccessible::Part which) const {
  return QAccessible::accessibleInterface(which == ClockPartAccessible::Part::Dots ? dots_
                                                                                   : zoneLabel_);
}

int ClockViewAccessible::childCount() const { return QAccessibleWidget::childCount() + 2; }

QAccessibleInterface* ClockViewAccessible::child(int index) const {
  const int widgets = QAccessibleWidget::childCount();
  if (index < widgets) return QAccessibleWidget::child(index);
  if (index == widgets) return part(ClockPartAccessible::Part::Dots);
  if (index == widgets + 1) return part(ClockPartAccessible::Part::ZoneLabel);
  return nullptr;
}

int ClockViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
  const int widgets = QAccessibleWidget::childCount();
  if (child == part(ClockPartAccessible::Part::Dots)) return widgets;
  if (child == part(ClockPartAccessible::Part::ZoneLabel)) return widgets + 1;
  return QAccessibleWidget::indexOfChild(child);
}

namespace {

QAccessibleInterface* clockViewFactory(const QString&, QObject* object) {
  if (auto* view = dynamic_cast<ClockView*>(object)) return new ClockViewAccessible(view);
  return nullptr;
}

}  // namespace

void installClockAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(clockViewFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace tessaron::qt
