#pragma once
// The real clock window on Qt's offscreen platform, its wall clock scripted to the
// millisecond: a test sets the time, moves it on, and fires the window's own tick timer
// itself, so nothing waits for the real clock.
//
// Example: with the seconds shown, at(12, 34, 30, 700) then startClock() arms "Timer1" for
// 302 ms; advance(302) and fire() run the tick the timer would have run, at 12:34:31.002.
// step(3'600'000) then clockSet() is the clock set an hour on, as the kernel tells it.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/tessaron.h"
#include "platform/qt/clock_view.h"
#include "platform/qt/main_window.h"
#include "platform/qt/wall_clock_timer.h"
#include "tests/civil_time.h"
#include "tests/qt/silent_platform.h"
#include "timezones/conversion.h"

namespace tessaron::qt {

class ScriptedClockPlatform : public SilentPlatform {
 public:
  std::int64_t nowMs = 0;  // local wall time (the same as UTC), ms since the date serial's epoch
  std::int64_t steadyMs = 1'000'000;  // the never-jumping clock, moved on with the wall clock
  int readings = 0;                   // clockNow calls
  QTemporaryDir folder;               // no preferences file, whatever lies beside the test
  std::string typed;                  // what the next input box returns
  std::optional<Colour> chosenColour;
  std::vector<std::string> messages;
  bool onX = true;  // false: a Wayland session, where no window can be kept above others
  std::string autostartFolder;  // empty: one in `folder`

  void at(int hour, int minute, int second, int millisecond = 0) {
    nowMs =
        makeTime<ZoneTime>({2026, 12, 10, hour, minute, second}).time_since_epoch().count() * 1000 +
        millisecond;
  }
  void advance(std::int64_t ms) {
    nowMs += ms;
    steadyMs += ms;
  }
  // The wall clock set, or the machine resumed: the steady clock does not jump with it.
  void step(std::int64_t ms) { nowMs += ms; }
  int millisecond() const { return static_cast<int>(nowMs % 1000); }

  ClockReading clockNow() override {
    ++readings;
    const ZoneTime local{std::chrono::seconds(nowMs / 1000)};
    return {UtcTime{local.time_since_epoch()}, local, millisecond()};
  }
  bool canKeepOnTop() override { return onX; }
  bool knowsWindowPosition() override { return onX; }
  ZoneTime localNow() override { return ZoneTime{std::chrono::seconds(nowMs / 1000)}; }
  ProgramInfo programInfo() override {
    ProgramInfo info = QtPlatform::programInfo();
    info.dataFolder = info.settingsFolder = info.userFolder = folder.path().toStdString();
    info.autostartFolder =
        autostartFolder.empty() ? folder.path().toStdString() + "/autostart" : autostartFolder;
    return info;
  }
  std::string inputBox(const std::string&, const std::string&, const std::string&, Twips,
                       Twips) override {
    return typed;
  }
  std::optional<Colour> chooseColour(Colour, const std::string&) override { return chosenColour; }
  void messageBox(const std::string& text, MessageStyle, const std::string&) override {
    messages.push_back(text);
  }
};

// Runs the event loop until `done`, at most `ms`; false when the deadline passed first.
inline bool waitUntil(const std::function<bool()>& done, int ms = 5000) {
  const QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

struct ScriptedWindow {
  ScriptedClockPlatform platform;
  Tessaron core{platform};
  MainWindow window{core};

  // `accessibleEvents`: where the view's accessibility events go, as if a screen reader ran.
  // `autostartFolder`: the desktop's autostart folder, when the test keeps one across clocks.
  explicit ScriptedWindow(std::function<void(QAccessibleEvent*)> accessibleEvents = {},
                          bool onX = true, std::string autostartFolder = {}) {
    platform.onX = onX;
    platform.autostartFolder = std::move(autostartFolder);
    platform.at(12, 34, 30);
    window.clockView()->setSteadyClock([this] { return platform.steadyMs; });
    window.clockView()->setAccessibleEventSink(std::move(accessibleEvents));
    platform.attach(&window);
    core.Form_Load();
    window.sync();
    window.show();
  }
  ~ScriptedWindow() { platform.attach(nullptr); }
  ScriptedWindow(const ScriptedWindow&) = delete;
  ScriptedWindow& operator=(const ScriptedWindow&) = delete;

  WallClockTimer* timer() const { return window.findChild<WallClockTimer*>("Timer1"); }
  // What the tick timer does when it runs out.
  void fire() { timer()->report(WallClockTimer::Report::Expired); }
  // What it does when the kernel cancels it, the wall clock being set.
  void clockSet() { timer()->report(WallClockTimer::Report::ClockSet); }
  // A tick as the core and the window see it, without the timer.
  void tick() {
    core.Timer1_Timer();
    window.sync();
  }
  void run(Command command) {
    core.run(command);
    window.sync();
  }
};

}  // namespace tessaron::qt
