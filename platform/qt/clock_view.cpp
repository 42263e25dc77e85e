#include "platform/qt/clock_view.h"

#include <QComboBox>
#include <QPaintEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolBar>

#include "platform/qt/units.h"

namespace tessaron::qt {

ClockView::ClockView(const Tessaron& core, QWidget* parent)
    : QWidget(parent), core_(core), toolbar_(new QToolBar(this)) {
  hintFont_.setFamilies({"MS Sans Serif", "DejaVu Sans", "Sans Serif"});
  hintFont_.setPointSizeF(7.8);
  hintFont_.setBold(true);
  setAutoFillBackground(true);
  // Nothing drawn yet: the first sync paints everything.
  for (auto& s : drawnShapes_) s.Visible = false;
  for (auto& l : drawnLabels_) l.Visible = false;
}

void ClockView::updateBox(double left, double top, double width, double height) {
  update(pixelCover(left, top, width, height));
  ++repaintRequests_;
}

void ClockView::sync() {
  for (int i = 0; i < kDotCount; ++i) {
    const Shape& now = core_.layout.Shape1[i];
    Shape& drawn = drawnShapes_[i];
    if (!(now == drawn)) {
      if (drawn.Visible) updateBox(drawn.Left, drawn.Top, drawn.Width, drawn.Height);
      if (now.Visible) updateBox(now.Left, now.Top, now.Width, now.Height);
      drawn = now;
    }
    const Label& label = core_.layout.Label1[i];
    Label& drawnLabel = drawnLabels_[i];
    if (!(label == drawnLabel)) {
      if (drawnLabel.Visible) {
        updateBox(drawnLabel.Left, drawnLabel.Top, drawnLabel.Width, drawnLabel.Height);
      }
      if (label.Visible) updateBox(label.Left, label.Top, label.Width, label.Height);
      drawnLabel = label;
    }
  }
  if (!(core_.zone.ATZ == drawnAtz_)) {
    if (drawnAtz_.Visible)
      updateBox(drawnAtz_.Left, drawnAtz_.Top, drawnAtz_.Width, drawnAtz_.Height);
    if (core_.zone.ATZ.Visible)
      updateBox(core_.zone.ATZ.Left, core_.zone.ATZ.Top, core_.zone.ATZ.Width,
                core_.zone.ATZ.Height);
    drawnAtz_ = core_.zone.ATZ;
  }
  placeToolbar();
  syncZoneSelector();
}

void ClockView::makeZoneSelector() {
  zoneSelector_ = new QComboBox(this);
  zoneSelector_->setEditable(true);
  zoneSelector_->setInsertPolicy(QComboBox::NoInsert);
  zoneSelector_->setMaxVisibleItems(20);
  zoneSelector_->hide();
  connect(zoneSelector_, &QComboBox::activated, this, [this](int index) {
    if (zoneChosen_) zoneChosen_(index);
  });
}

void ClockView::syncZoneSelector() {
  const ComboBox& model = core_.zone.Combo1[1];
  // Made when first shown: hundreds of zone names are memory that a clock without an
  // alternate zone never needs.
  if (zoneSelector_ == nullptr) {
    if (!model.Visible) return;
    makeZoneSelector();
  }
  const QSignalBlocker blocker(zoneSelector_);
  // The list is filled once at start-up and never changes afterwards.
  if (zoneSelector_->count() != static_cast<int>(model.List.size())) {
    zoneSelector_->clear();
    QStringList items;
    items.reserve(static_cast<int>(model.List.size()));
    for (const std::string& item : model.List) items << QString::fromStdString(item);
    zoneSelector_->addItems(items);
  }
  if (zoneSelector_->currentIndex() != model.ListIndex) {
    zoneSelector_->setCurrentIndex(model.ListIndex);
  }
  const QRect box(toPixels(model.Left), toPixels(model.Top), toPixels(model.Width),
                  toPixels(model.Height));
  if (zoneSelector_->geometry() != box) zoneSelector_->setGeometry(box);
  if (zoneSelector_->isHidden() == model.Visible) zoneSelector_->setVisible(model.Visible);
}

void ClockView::placeToolbar() {
  const QRect bar(0, toPixels(core_.commands.Toolbar1.Top), width(),
                  toPixels(core_.commands.Toolbar1.Height));
  // Compared with what was asked, not with what the toolbar made of it.
  if (toolbarRect_ != bar) {
    toolbarRect_ = bar;
    toolbar_->setGeometry(bar);
  }
}

void ClockView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeToolbar();
}

void ClockView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setClipRegion(event->region());
  painter.scale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
  const QPalette& pal = palette();

  painter.setPen(Qt::NoPen);
  for (const Shape& dot : drawnShapes_) {
    if (!dot.Visible) continue;
    // A circle of the box's smaller side, centred in the box.
    const double d = std::min(dot.Width, dot.Height);
    const QRectF circle(dot.Left + (dot.Width - d) / 2, dot.Top + (dot.Height - d) / 2, d, d);
    painter.setBrush(toQColor(dot.FillColor, pal));
    painter.drawEllipse(circle);
  }

  // The font is sized in points; draw text in device pixels to keep its size.
  painter.resetTransform();
  painter.setFont(hintFont_);
  auto drawLabel = [&](const Label& label, int flags) {
    if (!label.Visible || label.Caption.empty()) return;
    painter.setPen(toQColor(label.ForeColor, pal));
    const QRectF box(label.Left / kTwipsPerPixel, label.Top / kTwipsPerPixel,
                     label.Width / kTwipsPerPixel, label.Height / kTwipsPerPixel);
    painter.drawText(box, flags, QString::fromStdString(label.Caption));
  };
  for (const Label& label : drawnLabels_) drawLabel(label, Qt::AlignCenter);
  painter.setFont(font());
  drawLabel(drawnAtz_, Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace tessaron::qt
