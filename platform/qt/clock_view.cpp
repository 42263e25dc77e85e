#include "platform/qt/clock_view.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QCompleter>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QToolBar>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>

#include "core/readout.h"
#include "platform/qt/clock_accessible.h"
#include "platform/qt/text.h"
#include "platform/qt/units.h"

namespace tessaron::qt {

// TRANSLATORS: said when Enter finds no zone for the text typed in the zone list.
const char* const kNoZoneMatches = I18N_NOOP("no zone matches");
constexpr double kHintPoints = 7.8;  // the hint numbers' size at the normal zoom

namespace {
// The largest difference of the three channels: small when the eye hardly tells them apart.
int colourDistance(const QColor& a, const QColor& b) {
  return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                   std::abs(a.blue() - b.blue())});
}
}  // namespace

ClockDots::ClockDots(QWidget* view) : QWidget(view) {
  setObjectName("Dots");
  setFocusPolicy(Qt::StrongFocus);
}

void ClockDots::paintEvent(QPaintEvent*) {
  // A thin frame in the selection's colour, shown once the keyboard has moved the focus
  // in this window, as styles show it on buttons; the dots inside keep their colours.
  if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange)) return;
  QPainter painter(this);
  QPen pen(palette().color(QPalette::Highlight));
  pen.setWidth(std::max(1, width() / 200));
  painter.setPen(pen);
  const int inset = pen.width() / 2;
  painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
}

ClockView::ClockView(const Tessaron& core, QWidget* parent)
    : QWidget(parent),
      core_(core),
      toolbar_(new QToolBar(this)),
      dots_(new ClockDots(this)),
      announcement_(new Announcement(this)) {
  installClockAccessibility();
  setObjectName("ClockView");
  hintFont_.setFamilies({"MS Sans Serif", "DejaVu Sans", "Sans Serif"});
  hintFont_.setPointSizeF(kHintPoints);
  hintFont_.setBold(true);
  zoneFont_ = font();
  setAutoFillBackground(true);
  // Nothing drawn yet: the first sync paints everything.
  for (auto& s : drawnShapes_) s.Visible = false;
  for (auto& l : drawnLabels_) l.Visible = false;
}

void ClockView::setScales(double face, double text) {
  if (face == faceScale_ && text == textScale_) return;
  faceScale_ = face;
  textScale_ = text;
  hintFont_.setPointSizeF(kHintPoints * face);
  zoneFont_ = font();
  if (zoneFont_.pointSizeF() > 0) {
    zoneFont_.setPointSizeF(zoneFont_.pointSizeF() * text);
  } else {
    zoneFont_.setPixelSize(static_cast<int>(std::lround(zoneFont_.pixelSize() * text)));
  }
  if (zoneSelector_ != nullptr) {
    zoneSelector_->setFont(zoneFont_);
    fitZoneLists();
  }
  // Every dot, label and the selector move: the next sync places and paints them afresh.
  for (auto& s : drawnShapes_) s.Visible = false;
  for (auto& l : drawnLabels_) l.Visible = false;
  drawnAtz_.Visible = false;
  update();
}

int ClockView::px(Twips twips) const { return toPixels(twips * faceScale_); }

QRect ClockView::cover(Twips left, Twips top, Twips width, Twips height) const {
  return pixelCover(left * faceScale_, top * faceScale_, width * faceScale_, height * faceScale_);
}

void ClockView::updateBox(Twips left, Twips top, Twips width, Twips height) {
  // Gathered into one rectangle: one image to the X server per tick, not one per dot.
  pending_ |= cover(left, top, width, height);
}

void ClockView::sync(bool paintNow) {
  for (int i = 0; i < kDotCount; ++i) {
    const Shape& now = core_.dots()[i];
    Shape& drawn = drawnShapes_[i];
    if (!(now == drawn)) {
      if (drawn.Visible) updateBox(drawn.Left, drawn.Top, drawn.Width, drawn.Height);
      if (now.Visible) updateBox(now.Left, now.Top, now.Width, now.Height);
      drawn = now;
    }
    const Label& label = core_.hints()[i];
    Label& drawnLabel = drawnLabels_[i];
    if (!(label == drawnLabel)) {
      if (drawnLabel.Visible) {
        updateBox(drawnLabel.Left, drawnLabel.Top, drawnLabel.Width, drawnLabel.Height);
      }
      if (label.Visible) updateBox(label.Left, label.Top, label.Width, label.Height);
      drawnLabel = label;
    }
  }
  const Label& atz = core_.zoneLabel();
  if (!(atz == drawnAtz_)) {
    if (drawnAtz_.Visible)
      updateBox(drawnAtz_.Left, drawnAtz_.Top, drawnAtz_.Width, drawnAtz_.Height);
    if (atz.Visible) updateBox(atz.Left, atz.Top, atz.Width, atz.Height);
    drawnAtz_ = atz;
  }
  if (!pending_.isEmpty()) {
    // A posted repaint would wake the event loop once more to paint what is known now.
    if (paintNow) {
      repaint(pending_);
    } else {
      update(pending_);
    }
    ++repaintRequests_;
    pending_ = QRect();
  }
  placeToolbar();
  placeDots();
  syncZoneSelector();
  announce();
  // An open readout follows the dots.
  if (QToolTip::isVisible() && QToolTip::text() == shownReadout_) showReadout();
}

void ClockView::showReadout() {
  shownReadout_ = readoutText();
  QToolTip::showText(readoutAt_, shownReadout_, this, dotsRect());
}

QString ClockView::shownTimeText() const {
  return QString::fromStdString(tessaron::shownTimeText(core_.shown()));
}

QString ClockView::spokenTimeText() const {
  // The shown text with the clock's part told without its seconds: "21:43 Asia/Tokyo".
  const std::string shown = tessaron::shownTimeText(core_.shown());
  ShownTime minute = core_.shown();
  minute.withSeconds = false;
  return QString::fromStdString(clockText(minute) + shown.substr(clockText(core_.shown()).size()));
}

QString ClockView::zoneLabelText() const { return QString::fromStdString(drawnAtz_.Caption); }

QString ClockView::zoneLabelToolTip() const { return QString::fromStdString(core_.chosenZone()); }

QString ClockView::readoutText() const { return QString::fromStdString(core_.readout()); }

QRect ClockView::dotsRect() const {
  QRect box;
  for (const Shape& dot : drawnShapes_) {
    if (dot.Visible) box |= cover(dot.Left, dot.Top, dot.Width, dot.Height);
  }
  return box;
}

QRect ClockView::zoneLabelRect() const {
  return cover(drawnAtz_.Left, drawnAtz_.Top, drawnAtz_.Width, drawnAtz_.Height);
}

void ClockView::announce() {
  // With no screen reader listening nothing is told or worked out: the texts would cost
  // a tick more than its repaint. A reader that starts later reads the focused dots
  // itself; the tellings start from what is shown then.
  if (!eventSink_ && !QAccessible::isActive()) {
    listening_ = false;
    return;
  }
  if (!listening_) {
    listening_ = true;
    announcedZone_ = zoneLabelText();
    announcedTime_ = shownTimeText();
    spokenTime_ = spokenTimeText();
    announcedAt_ = steadyMs_();
    return;
  }
  auto* view = static_cast<ClockViewAccessible*>(QAccessible::queryAccessibleInterface(this));
  const QString zone = zoneLabelText();
  if (zone != announcedZone_) {
    announcedZone_ = zone;
    if (view != nullptr) {
      QAccessibleEvent changed(view->zoneLabel(), QAccessible::NameChanged);
      tell(&changed);
    }
  }
  const QString time = shownTimeText();
  if (time == announcedTime_) return;
  // A screen reader that spoke every change would never finish a sentence. A change
  // within a second of the last telling waits for the next tick, which comes within
  // the second and syncs again: no timer of its own, so the clock wakes only to tick.
  // Ticks land a second apart give or take a few ms, hence the slack.
  constexpr qint64 kAnnounceGapMs = 1000;
  constexpr qint64 kTickJitterMs = 50;
  const qint64 now = steadyMs_();
  if (announcedAt_ && now - *announcedAt_ < kAnnounceGapMs - kTickJitterMs) return;
  // Every new text as changed text, for readers that follow the text; Orca speaks no text
  // that no key caused. A new value only with a new minute or zone: Orca speaks the focused
  // status bar anew when its value changes. No name change: Qt 6.4 sends it without the
  // name, which Orca fails on, and a Qt that sends the name would have Orca speak each one.
  const QString spoken = spokenTimeText();
  if (view != nullptr) {
    QAccessibleTextUpdateEvent textChanged(dots_, 0, announcedTime_, time);
    tell(&textChanged);
    if (spoken != spokenTime_) {
      QAccessibleValueChangeEvent valueChanged(dots_, shownMinuteOfDay());
      tell(&valueChanged);
    }
  }
  spokenTime_ = spoken;
  announcedTime_ = time;
  announcedAt_ = now;
}

QWidget* ClockView::announcement() const { return announcement_; }

void ClockView::say(const QString& text) {
  announcement_->setAccessibleName(text);
  // Shown anew for each word: screen readers read a notification as it shows.
  QAccessibleEvent shown(announcement_, QAccessible::ObjectShow);
  tell(&shown);
}

void ClockView::tell(QAccessibleEvent* event) {
  if (eventSink_) {
    eventSink_(event);
  } else {
    QAccessible::updateAccessibility(event);
  }
}

bool ClockView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    if (dotsRect().contains(help->pos())) {
      readoutAt_ = help->globalPos();
      showReadout();
    } else if (drawnAtz_.Visible && zoneLabelRect().contains(help->pos())) {
      // The label shows only the offset; its zone's name is a hover away.
      QToolTip::showText(help->globalPos(), zoneLabelToolTip(), this, zoneLabelRect());
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QWidget::event(event);
}

void ClockView::makeZoneSelector() {
  zoneSelector_ = new QComboBox(this);
  zoneSelector_->setObjectName("Combo1");
  zoneSelector_->setFont(zoneFont_);
  zoneSelector_->setAccessibleName(qi18n("Alternate time zone"));
  // On Linux Qt gives a list's current text as its name and its label by relation: a label
  // that is never shown names it to screen readers there.
  auto* label = new QLabel(zoneSelector_->accessibleName(), this);
  label->setBuddy(zoneSelector_);
  label->hide();
  zoneSelector_->view()->setAccessibleName(qi18n("Time zones"));
  zoneSelector_->setEditable(true);
  zoneSelector_->setInsertPolicy(QComboBox::NoInsert);
  zoneSelector_->setMaxVisibleItems(20);
  // Typing lists the zones that hold the text anywhere, best first (the core's order).
  auto* completer = new QCompleter(new QStandardItemModel(zoneSelector_), zoneSelector_);
  completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer->setMaxVisibleItems(20);
  completer->popup()->setAccessibleName(qi18n("Matching time zones"));
  zoneSelector_->lineEdit()->setCompleter(completer);
  connect(zoneSelector_->lineEdit(), &QLineEdit::textEdited, this, &ClockView::findZones);
  connect(completer, qOverload<const QString&>(&QCompleter::activated), this,
          [this](const QString& text) { chooseZone(zoneSelector_->findText(text)); });
  zoneSelector_->installEventFilter(this);
  zoneSelector_->lineEdit()->installEventFilter(this);
  completer->popup()->installEventFilter(this);
  zoneSelector_->hide();
  setTabOrder(dots_, zoneSelector_);
  connect(zoneSelector_, &QComboBox::activated, this, &ClockView::chooseZone);
}

void ClockView::fitZoneLists() {
  // Both lists as wide as the longest zone name (the window may be narrower): a name is
  // read whole, at any font size.
  QAbstractItemView* list = zoneSelector_->view();
  QAbstractItemView* found = zoneSelector_->lineEdit()->completer()->popup();
  found->setFont(zoneFont_);
  const int width = list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                    list->verticalScrollBar()->sizeHint().width();
  list->setMinimumWidth(width);
  found->setMinimumWidth(width);
}

void ClockView::findZones(const QString& typed) {
  QCompleter* completer = zoneSelector_->lineEdit()->completer();
  QStringList found;
  for (int index : core_.findZones(typed.toStdString())) {
    found << zoneSelector_->itemText(index);
  }
  auto* model = static_cast<QStandardItemModel*>(completer->model());
  model->clear();
  for (const QString& name : found) model->appendRow(new QStandardItem(name));
  if (found.isEmpty() && !typed.isEmpty()) {
    // Said in the list itself, where the zones would be; it cannot be chosen.
    auto* none = new QStandardItem(QString::fromUtf8(translate(kNoZoneMatches)));
    none->setFlags(Qt::NoItemFlags);
    model->appendRow(none);
  }
  if (model->rowCount() == 0) {
    completer->popup()->hide();
  } else {
    completer->complete();
  }
}

void ClockView::chooseZone(int index) {
  if (index < 0) return;
  if (zoneChosen_) zoneChosen_(index);
  // The keyboard goes back to the dots, so that the clock's shortcuts work at once and a
  // screen reader reads the time of the zone just chosen.
  dots_->setFocus();
}

namespace {
// The keys a text field answers on every desktop: select, copy, cut, paste, undo, redo.
bool isEditingKey(const QKeyEvent* key) {
  static constexpr QKeySequence::StandardKey kEditing[] = {
      QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
      QKeySequence::Paste,     QKeySequence::Undo, QKeySequence::Redo};
  return std::any_of(std::begin(kEditing), std::end(kEditing),
                     [key](QKeySequence::StandardKey k) { return key->matches(k); });
}
}  // namespace

bool ClockView::eventFilter(QObject* watched, QEvent* event) {
  if (zoneSelector_ == nullptr) return false;
  if (event->type() == QEvent::ShortcutOverride) {
    // Editing keys edit the typed text; the clock's other shortcuts still reach the clock.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (isEditingKey(key)) return false;
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* action : window()->findChildren<QAction*>()) {
      if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
        event->ignore();
        return true;
      }
    }
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  QCompleter* completer = zoneSelector_->lineEdit()->completer();
  if (watched == completer->popup()) {
    if (key == Qt::Key_Escape) {
      // As on the closed box: the chosen zone's text back, ready to be typed over.
      completer->popup()->hide();
      showChosenZone();
      return true;
    }
    // Enter on the found zones takes the first when none is highlighted.
    const QModelIndex first = completer->completionModel()->index(0, 0);
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !completer->popup()->currentIndex().isValid() && first.isValid() &&
        (first.flags() & Qt::ItemIsEnabled)) {
      completer->popup()->setCurrentIndex(first);
    }
    return false;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // The entry shown, or else the first zone that holds the typed text.
    const QString text = zoneSelector_->lineEdit()->text();
    int index = zoneSelector_->findText(text);
    if (index < 0) {
      const auto found = core_.findZones(text.toStdString());
      if (!found.empty()) index = found.front();
    }
    // Seen in the list, where the zones would be; heard as well.
    if (index < 0) say(QString::fromUtf8(translate(kNoZoneMatches)));
    chooseZone(index);
    return true;
  }
  if (key == Qt::Key_Escape && static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier &&
      !zoneSelector_->view()->isVisible()) {
    // Typing starts afresh from the chosen zone, not after what was typed or browsed.
    completer->popup()->hide();
    showChosenZone();
    return true;
  }
  // Arrows on the closed list browse; only Enter or a click commits.
  const int count = zoneSelector_->count();
  int to = zoneSelector_->currentIndex();
  switch (key) {
    case Qt::Key_Up:
      to -= 1;
      break;
    case Qt::Key_Down:
      to += 1;
      break;
    case Qt::Key_PageUp:
      to -= zoneSelector_->maxVisibleItems();
      break;
    case Qt::Key_PageDown:
      to += zoneSelector_->maxVisibleItems();
      break;
    default:
      return false;
  }
  if (static_cast<QKeyEvent*>(event)->modifiers() & Qt::AltModifier) return false;  // opens it
  if (count > 0) zoneSelector_->setCurrentIndex(std::clamp(to, 0, count - 1));
  return true;
}

void ClockView::syncZoneSelector() {
  const ComboBox& model = core_.zoneSelector();
  // Made when first shown: hundreds of zone names are memory that a clock without an
  // alternate zone never needs.
  if (zoneSelector_ == nullptr) {
    if (!model.Visible) return;
    makeZoneSelector();
  }
  const QSignalBlocker blocker(zoneSelector_);
  // The list is filled at start-up; its names change only when an entry's offset does.
  if (zoneSelector_->count() != static_cast<int>(model.List.size()) ||
      listRevision_ != model.Revision) {
    listRevision_ = model.Revision;
    zoneSelector_->clear();
    QStringList items;
    items.reserve(static_cast<int>(model.List.size()));
    for (const std::string& item : model.List) items << QString::fromStdString(item);
    zoneSelector_->addItems(items);
    fitZoneLists();
    showChosenZone();
  }
  // The arrows browse the list without choosing: what they show stays until the core's
  // choice changes, or a tick would put back a zone the screen reader did not announce.
  if (selectorIndex_ != model.ListIndex) showChosenZone();
  const QRect box(px(model.Left), px(model.Top), px(model.Width), px(model.Height));
  if (zoneSelector_->geometry() != box) zoneSelector_->setGeometry(box);
  if (zoneSelector_->isHidden() == model.Visible) {
    // Asked before hiding it, which passes the focus on to whatever comes next.
    const bool hadFocus = zoneSelector_->hasFocus() || zoneSelector_->lineEdit()->hasFocus();
    zoneSelector_->setVisible(model.Visible);
    if (model.Visible) {
      showChosenZone();
      // Shown to be chosen in: typing goes to it, replacing the text.
      zoneSelector_->setFocus();
      zoneSelector_->lineEdit()->selectAll();
    } else if (hadFocus) {
      dots_->setFocus();
    }
  }
}

void ClockView::showChosenZone() {
  const QSignalBlocker blocker(zoneSelector_);
  selectorIndex_ = core_.zoneSelector().ListIndex;
  zoneSelector_->setCurrentIndex(selectorIndex_);
  // An index unchanged leaves the typed text: the chosen zone's name replaces it.
  if (selectorIndex_ >= 0) zoneSelector_->setEditText(zoneSelector_->itemText(selectorIndex_));
  zoneSelector_->lineEdit()->selectAll();
}

void ClockView::placeToolbar() {
  const QRect bar(0, px(core_.toolbar().Top), width(), px(core_.toolbar().Height));
  // Compared with what was asked, not with what the toolbar made of it.
  if (toolbarRect_ != bar) {
    toolbarRect_ = bar;
    toolbar_->setGeometry(bar);
  }
}

void ClockView::placeDots() {
  // Room around the dots for the focus frame; below the toolbar and the selector, which
  // keep the mouse where they meet it.
  const int margin = px(45_tw);
  const QRect area = dotsRect().adjusted(-margin, -margin, margin, margin);
  if (dots_->geometry() != area) {
    dots_->setGeometry(area);
    dots_->lower();
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
  // Qt clips the painter to the repainted region already; a tick's region holds a few dots,
  // and the others are not even worked out.
  const QRect area = event->rect();
  // The clock's face in twips: the dots are drawn through it, and the labels' boxes found
  // through it.
  const QTransform face =
      QTransform::fromScale(faceScale_ / kTwipsPerPixel, faceScale_ / kTwipsPerPixel);
  painter.setTransform(face);
  const QPalette& pal = palette();

  const QColor background = pal.color(QPalette::Window);
  // A dot of nearly the background's colour (black dots on a dark theme) keeps a faint
  // edge in the text's colour; the transparent choice, the background itself, keeps none.
  QColor edgeColour = pal.color(QPalette::WindowText);
  edgeColour.setAlphaF(0.6);
  QPen edge(edgeColour, 1.0);
  edge.setCosmetic(true);
  for (const Shape& dot : drawnShapes_) {
    if (!dot.Visible || !area.intersects(cover(dot.Left, dot.Top, dot.Width, dot.Height))) continue;
    // A circle of the box's smaller side, centred in the box.
    const Twips d = std::min(dot.Width, dot.Height);
    const QRectF circle =
        twipsRect(dot.Left + (dot.Width - d) / 2, dot.Top + (dot.Height - d) / 2, d, d);
    const QColor fill = toQColor(dot.FillColor, pal);
    const bool faint = dot.FillColor >= 0 && colourDistance(fill, background) < 48;
    painter.setPen(faint ? edge : QPen(Qt::NoPen));
    painter.setBrush(fill);
    painter.drawEllipse(circle);
  }

  // The font is sized in points; draw text in device pixels to keep its size.
  painter.resetTransform();
  painter.setFont(hintFont_);
  auto drawLabel = [&](const Label& label, int flags) {
    if (!label.Visible || label.Caption.empty() ||
        !area.intersects(cover(label.Left, label.Top, label.Width, label.Height))) {
      return;
    }
    painter.setPen(toQColor(label.ForeColor, pal));
    const QRectF box = face.mapRect(twipsRect(label.Left, label.Top, label.Width, label.Height));
    painter.drawText(box, flags, QString::fromStdString(label.Caption));
  };
  for (const Label& label : drawnLabels_) drawLabel(label, Qt::AlignCenter);
  painter.setFont(zoneFont_);
  drawLabel(drawnAtz_, Qt::AlignLeft | Qt::AlignTop);
}

}  // namespace tessaron::qt
