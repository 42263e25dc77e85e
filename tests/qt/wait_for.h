#pragma once
// Runs the event loop until `done` holds or `ms` have passed: tests wait on what they
// expect, never for a fixed time.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

namespace tessaron::qt::test {

inline bool waitFor(const std::function<bool()>& done, int ms = 10000) {
  const QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return true;
}

}  // namespace tessaron::qt::test
