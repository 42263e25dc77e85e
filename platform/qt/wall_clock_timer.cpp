#include "platform/qt/wall_clock_timer.h"

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>

namespace tessaron::qt {

WallClockTimer::WallClockTimer(QObject* parent) : QObject(parent) {
  fd_ = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
  if (fd_ >= 0) {
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &WallClockTimer::readTimer);
  } else {
    fallback_ = new QTimer(this);
    fallback_->setSingleShot(true);
    fallback_->setTimerType(Qt::PreciseTimer);
    connect(fallback_, &QTimer::timeout, this, [this] { report(Report::Expired); });
  }
}

WallClockTimer::~WallClockTimer() {
  delete notifier_;
  if (fd_ >= 0) ::close(fd_);
}

void WallClockTimer::start(int ms) {
  interval_ = ms;
  active_ = true;
  if (fd_ < 0) {
    fallback_->start(ms);
    return;
  }
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::int64_t ns = static_cast<std::int64_t>(now.tv_nsec) + std::int64_t{ms} * 1'000'000;
  itimerspec due{};
  due.it_value.tv_sec = now.tv_sec + static_cast<time_t>(ns / 1'000'000'000);
  due.it_value.tv_nsec = static_cast<long>(ns % 1'000'000'000);
  // Re-arming also clears a cancellation already reported.
  ::timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &due, nullptr);
}

WallClockTimer::Report WallClockTimer::reportOfRead(long result, int error) {
  if (result > 0) return Report::Expired;
  return result < 0 && error == ECANCELED ? Report::ClockSet : Report::Nothing;
}

void WallClockTimer::readTimer() {
  std::uint64_t expirations = 0;
  const long n = ::read(fd_, &expirations, sizeof expirations);
  report(reportOfRead(n, errno));
}

void WallClockTimer::report(Report what) {
  // Once run, the timerfd still tells of each clock set (the kernel keeps its cancel flag
  // past the expiry): nothing for a timer not started again.
  if (what == Report::Nothing || !active_) return;
  active_ = false;
  if (handler_) handler_();
}

}  // namespace tessaron::qt
