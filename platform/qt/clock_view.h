#pragma once
// The client area below the menu bar: the toolbar at its top, then the dots and
// hint labels at their twip positions. It draws the core's controls and repaints
// only what changed since the last sync.

#include <QAccessible>
#include <QWidget>
#include <array>
#include <chrono>
#include <functional>
#include <optional>

#include "core/tessaron.h"

class QComboBox;
class QToolBar;

namespace tessaron::qt {

// Where the keyboard stands on the dots: a bare widget laid over them (they are painted by
// the view) that Tab reaches and a screen reader reads as the time. It draws only the
// focus frame, and passes the mouse on to the view below.
class ClockDots : public QWidget {
 public:
  explicit ClockDots(QWidget* view);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class Announcement;

class ClockView : public QWidget {
 public:
  ClockView(const Tessaron& core, QWidget* parent);

  // Has a screen reader say `text` at once, as a notification: no window, no focus moved.
  void say(const QString& text);
  QWidget* announcement() const;

  // Repaints every dot and label whose look changed since the last call: at once with
  // `paintNow` (a tick, already woken for it), else at the event loop's next turn.
  void sync(bool paintNow = false);
  QToolBar* toolbar() const { return toolbar_; }
  // What takes the keyboard focus for the dots.
  ClockDots* dots() const { return dots_; }
  // The alternate-zone list, made when it is first shown; null until then.
  QComboBox* zoneSelector() const { return zoneSelector_; }
  // Called with the list index the user picks in the zone list.
  void setZoneChosen(std::function<void(int)> chosen) { zoneChosen_ = std::move(chosen); }
  int repaintRequests() const { return repaintRequests_; }
  // How much larger than the design the face is drawn (`face`: 1 at the normal size, 2 at
  // a zoom of 200 %, the font's scale included), and how much the application font is
  // enlarged for the zone list and label (`text`: the zoom alone, as a factor; a large
  // application font is large already).
  void setScales(double face, double text);
  double faceScale() const { return faceScale_; }

  // What screen readers and the readout get, from the core.
  QString shownTimeText() const;
  QString zoneLabelText() const;
  bool zoneLabelShown() const { return drawnAtz_.Visible; }
  // What hovering the zone label shows: the zone's offset and name.
  QString zoneLabelToolTip() const;
  // The text of the readout shown on hover over the dots.
  QString readoutText() const;
  // Where the shown dots and the zone label stand, in the view's pixels.
  QRect dotsRect() const;
  QRect zoneLabelRect() const;
  // The time text that screen readers were last told of.
  QString announcedTime() const { return announcedTime_; }
  // What a screen reader speaks on its own when it changes: the hour and minute shown and
  // whose they are. The seconds alone would have it speak every second.
  QString spokenTimeText() const;
  // The hour and minute shown, as minutes since midnight: 1303 for 21:43.
  int shownMinuteOfDay() const { return core_.shown().hour * 60 + core_.shown().minute; }
  // Milliseconds on a clock that never jumps back, for how often screen readers are told;
  // tests give a scripted one. By default the system's monotonic clock.
  void setSteadyClock(std::function<qint64()> steadyMs) { steadyMs_ = std::move(steadyMs); }
  // Where the view's accessibility events go in place of Qt, which passes them on only
  // while assistive technology listens (never on the offscreen platform): a test's recorder.
  void setAccessibleEventSink(std::function<void(QAccessibleEvent*)> sink) {
    eventSink_ = std::move(sink);
  }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const Tessaron& core_;
  QToolBar* toolbar_;
  ClockDots* dots_;
  QComboBox* zoneSelector_ = nullptr;  // the alternate-zone list; the local one is never shown
  Announcement* announcement_;
  int selectorIndex_ = -1;  // the core's choice as last put in the list, which arrows browse
  std::function<void(int)> zoneChosen_;
  std::array<Shape, kDotCount> drawnShapes_;
  std::array<Label, kDotCount> drawnLabels_;
  Label drawnAtz_;
  int listRevision_ = 0;  // the zone list's texts as last filled in
  QRect toolbarRect_;
  QFont hintFont_;
  QFont zoneFont_;          // the zone label's and selector's, zoomed
  double faceScale_ = 1.0;  // see setScales
  double textScale_ = 1.0;
  int repaintRequests_ = 0;
  QString shownReadout_;  // the readout as it was last shown
  QPoint readoutAt_;      // where it was asked for, on the screen
  QString announcedTime_;
  QString spokenTime_;  // spokenTimeText() as last told
  QString announcedZone_;
  std::function<qint64()> steadyMs_ = [] {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  };
  std::function<void(QAccessibleEvent*)> eventSink_;  // empty: Qt's accessibility
  bool listening_ = false;  // a screen reader (or a test's recorder) was there at the last tick
  std::optional<qint64> announcedAt_;  // steady ms of the last telling
  QRect pending_;                      // what the current sync found changed

  int px(Twips twips) const;  // a length in the view's pixels at the zoom
  QRect cover(Twips left, Twips top, Twips width, Twips height) const;
  void placeToolbar();
  void placeDots();
  void syncZoneSelector();
  void showChosenZone();  // the core's choice in the list and its text, all selected
  void makeZoneSelector();
  void updateBox(Twips left, Twips top, Twips width, Twips height);
  void announce();
  void tell(QAccessibleEvent* event);
  void showReadout();
  void findZones(const QString& typed);
  void fitZoneLists();
  void chooseZone(int index);
};

}  // namespace tessaron::qt
