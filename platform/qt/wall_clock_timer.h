#pragma once
// A one-shot timer due at an instant of the wall clock (CLOCK_REALTIME), through a timerfd
// armed with TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET: it fires at that instant however
// long the machine slept or the process was stopped meanwhile, and at once when the clock
// is set, so a clock that sleeps a minute between ticks still follows a step of the time.
//
// Example: at 12:34:30.700 start(29302) arms it for 12:35:00.002; `date -s 13:00` at
// 12:34:40 wakes it at once (Report::ClockSet); a resume at 12:40 finds the instant past
// and wakes it at once (Report::Expired). Either way the handler runs, and re-arms it.

#include <QObject>
#include <cstdint>
#include <functional>

class QSocketNotifier;
class QTimer;

namespace tessaron::qt {

class WallClockTimer : public QObject {
 public:
  explicit WallClockTimer(QObject* parent);
  ~WallClockTimer() override;
  WallClockTimer(const WallClockTimer&) = delete;
  WallClockTimer& operator=(const WallClockTimer&) = delete;

  // Runs at the instant, or when the clock is set before it.
  void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
  // Due `ms` after the wall clock's present reading; replaces an armed instant.
  void start(int ms);
  int interval() const { return interval_; }  // ms, as last started
  bool isActive() const { return active_; }

  // What the kernel tells of the timer. The timerfd's notifier reports it as it comes;
  // tests report it themselves, since a test never sets the machine's clock.
  enum class Report {
    Expired,   // the instant has passed
    ClockSet,  // the wall clock was set before it (the timer is cancelled)
    Nothing,   // a spurious wake-up: nothing to read
  };
  void report(Report what);
  // The report of one read(2) of the timerfd: its result and errno.
  static Report reportOfRead(long result, int error);
  // Whether the timer runs on a timerfd (false: a plain Qt timer, which no clock set wakes).
  bool onWallClock() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
  QSocketNotifier* notifier_ = nullptr;
  QTimer* fallback_ = nullptr;  // where no timerfd can be made
  int interval_ = 0;
  bool active_ = false;
  std::function<void()> handler_;
  void readTimer();
};

}  // namespace tessaron::qt
