#pragma once
// The main window on the desktop: menus and toolbar built from the core's tables,
// the clock view below the menu bar, and the outer geometry the core asks for.
// A plain widget with a menu bar: the clock has no docks, status bar or toolbar areas,
// and a main window's machinery would cost memory for nothing.

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "core/tessaron.h"

class QAction;
class QMenuBar;
class QScreen;

namespace tessaron::qt {

class ClockView;
class WallClockTimer;

class MainWindow : public QWidget {
 public:
  explicit MainWindow(Tessaron& core);

  // Brings every widget in line with the core's controls; runs after each event. A tick
  // paints its dots at once (see ClockView::sync).
  void sync(bool paintNow = false);
  void startClock();
  ClockView* clockView() const { return view_; }
  WallClockTimer* tickTimer() const { return timer_; }
  QMenuBar* menuBar() const { return menuBar_; }

  // Outer frame, in screen twips. Positions keep the exact twip value last set
  // while the window stays on the pixel it was put on.
  Twips outerLeft() const;
  Twips outerTop() const;
  Twips outerWidth() const;
  Twips outerHeight() const;
  void setOuterLeft(Twips twips);
  void setOuterTop(Twips twips);
  void setOuterWidth(Twips twips);
  void setOuterHeight(Twips twips);
  void setTopmost(bool topmost);
  // The outer frame, in screen twips, were the clock drawn at `zoomPercent`.
  WindowSize sizeAt(int zoomPercent) const;
  // How much larger than the design's face the application font is; at least 1.
  double fontScale() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct MenuBinding {
    QAction* action;
    Command command;
    std::string shownCaption;  // what the action shows, so a tick compares without converting
  };

  Tessaron& core_;
  QMenuBar* menuBar_;
  ClockView* view_;
  WallClockTimer* timer_;            // "Timer1"
  std::uint64_t armedSettings_ = 0;  // the core's timer setting the timer is armed for
  std::vector<MenuBinding> menuActions_;
  std::vector<QAction*> buttonActions_;  // [0] is button 1
  std::string shownTitle_;
  Twips left_, top_;
  Twips width_, height_;
  QSize appliedExtra_;  // the frame size that the outer size was last worked out with
  // How much larger than the design the face is laid out: the core's zoom (percent) as a
  // factor, times the font's scale.
  double faceScale_ = 1.0;
  double fontScale_ = 1.0;
  bool zoomShown_ = false;  // the toolbar and view have had the zoom applied

  void buildMenus();
  void buildToolbar();
  void applySize();
  void applyZoom();
  QSize clientSize(Twips outerWidth, Twips outerHeight) const;  // widget pixels
  // The same at `faceScale` (the zoom and the font's scale) with a menu bar `designMenu` high at
  // the design's face.
  QSize clientSize(Twips outerWidth, Twips outerHeight, double faceScale, int designMenu) const;
  // Tells the core of a new screen, or a change of its free area, and follows what it decides.
  void watchScreen(QScreen* screen);
  void screenChanged();
  QMetaObject::Connection screenArea_;
  bool screenWatched_ = false;
  // `unzoomedPixels` of the window as it is stand for `designPixels` of the design.
  Twips designLength(int outerPixels, int extraPixels, int unzoomedPixels, int designPixels) const;
  // The menu bar's height at the design's face.
  int designMenuHeight() const;
  QSize frameExtra() const;
  void tick();
};

}  // namespace tessaron::qt
