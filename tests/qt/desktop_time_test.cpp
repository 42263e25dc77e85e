// The window's own tick and what a screen reader hears of it, on a scripted clock: the
// tick timer is armed for just after each second begins whatever the phase it starts in
// and however late it fired, every second reaches the dots, or every minute with the
// seconds hidden; a set of the clock or a resume, as the kernel tells the wall-clock
// timer, shows at once; and a new time is told to assistive technology as changed text
// at most once a second, and as a new value once a minute.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTime>
#include <cerrno>
#include <string>
#include <vector>

#include "commands/command_bar.h"
#include "tests/civil_time.h"
#include "tests/qt/scripted_window.h"

namespace tessaron::qt::desktop_time_test {
namespace {

// Each second must be on the dots within this long of its start.
constexpr int kShownWithinMs = 20;

TEST(DesktopTick, EverySecondReachesTheDotsJustAfterItBegins) {
  struct Case {
    const char* name;
    int startMs;                // where in its second the clock starts
    std::vector<int> lateness;  // how late the timer fires at each tick, ms
  };
  const Case cases[] = {
      {"started at a second's start, timer on time", 0, {0, 0, 0, 0}},
      {"started late in a second", 700, {0, 0, 0}},
      {"started just before a second ends", 999, {0, 0}},
      {"timer firing a little late each time", 300, {7, 7, 7, 7, 7, 7}},
      {"timer once very late", 10, {0, 600, 0, 0}},
      {"timer firing a little early", 500, {-3, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedWindow w;
    w.run(Command::Seconds);
    w.platform.at(12, 34, 30, c.startMs);
    w.window.startClock();
    WallClockTimer* timer = w.timer();
    ASSERT_NE(timer, nullptr);
    for (int late : c.lateness) {
      ASSERT_TRUE(timer->isActive());
      const std::int64_t due = w.platform.nowMs + timer->interval();
      const std::int64_t nextSecond = (w.platform.nowMs / 1000 + 1) * 1000;
      EXPECT_GE(due, nextSecond) << "armed to fire before the next second begins";
      EXPECT_LE(due, nextSecond + kShownWithinMs) << "armed to fire late into the second";
      w.platform.advance(timer->interval() + late);
      w.fire();
      const CivilTime now = toCivil(w.platform.localNow());
      EXPECT_EQ(w.window.clockView()->shownTimeText().toStdString(),
                QTime(now.hour, now.minute, now.second).toString("hh:mm:ss").toStdString());
    }
  }
}

// The time the dots show now, as the readout words it: "12:35" or "12:35:07".
std::string expected(const ScriptedWindow& w) {
  const CivilTime now = toCivil(ZoneTime{std::chrono::seconds(w.platform.nowMs / 1000)});
  const bool seconds = w.core.commandBar().item(Command::Seconds).Checked;
  return QTime(now.hour, now.minute, now.second)
      .toString(seconds ? "hh:mm:ss" : "hh:mm")
      .toStdString();
}

// With the seconds hidden the clock wakes once a minute, just after it begins, and every
// minute still reaches the dots; shown again, the seconds are caught from the next second.
TEST(DesktopTick, WithTheSecondsHiddenTheClockWakesOnceAMinute) {
  for (int startMs : {0, 700, 59'999}) {
    SCOPED_TRACE(startMs);
    ScriptedWindow w;
    ASSERT_FALSE(w.core.commandBar().item(Command::Seconds).Checked);
    w.platform.at(12, 34, 0);
    w.platform.advance(startMs);
    w.window.startClock();
    const std::int64_t minuteStarted = w.platform.nowMs / 60'000 * 60'000;
    for (int wakeUp = 0; wakeUp < 5; ++wakeUp) {
      ASSERT_TRUE(w.timer()->isActive());
      const std::int64_t due = w.platform.nowMs + w.timer()->interval();
      EXPECT_GE(due % 60'000, 1) << "armed for before the minute begins";
      EXPECT_LE(due % 60'000, kShownWithinMs) << "armed for late into the minute";
      w.platform.advance(w.timer()->interval());
      w.fire();
      EXPECT_EQ(w.window.clockView()->shownTimeText().toStdString(), expected(w));
    }
    // Five wake-ups, five minutes.
    EXPECT_EQ(w.platform.nowMs, minuteStarted + 5 * 60'000 + 2);
  }
  ScriptedWindow w;
  w.platform.at(12, 34, 20, 400);
  w.window.startClock();
  EXPECT_EQ(w.timer()->interval(), 39'602);
  w.platform.advance(10'000);
  w.run(Command::Seconds);  // at 12:34:30.400
  EXPECT_EQ(w.timer()->interval(), 602) << "the timer re-armed for the next second";
  EXPECT_EQ(w.window.clockView()->shownTimeText().toStdString(), "12:34:30");
}

// The wall clock set, or the machine resumed, while the timer waits: the kernel wakes it
// (a cancelled timer, or an instant long past) and the new time is on the dots before the
// wake-up returns, in both modes; the next tick is armed from the new time.
TEST(DesktopTick, AClockStepOrAResumeIsShownAtOnce) {
  using Report = WallClockTimer::Report;
  struct Case {
    const char* name;
    std::int64_t stepMs;  // how far the wall clock moves
    Report report;        // what the kernel says of the timer
  };
  const Case cases[] = {
      {"set an hour back", -3'600'000, Report::ClockSet},
      {"set 61.3 s on", 61'300, Report::ClockSet},
      {"set a day on to the same minute", 86'400'000, Report::ClockSet},
      {"resumed 90 min later", 5'400'000 + 250, Report::Expired},
  };
  for (bool seconds : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (seconds ? ", seconds shown" : ", seconds hidden"));
      ScriptedWindow w;
      if (seconds) w.run(Command::Seconds);
      w.platform.at(12, 34, 20, 400);
      w.window.startClock();
      w.platform.advance(3'000);
      w.platform.step(c.stepMs);
      w.timer()->report(c.report);
      EXPECT_EQ(w.window.clockView()->shownTimeText().toStdString(), expected(w));
      EXPECT_EQ(w.window.clockView()->readoutText().toStdString().substr(0, 2),
                expected(w).substr(0, 2));
      ASSERT_TRUE(w.timer()->isActive());
      const std::int64_t due = w.platform.nowMs + w.timer()->interval();
      EXPECT_EQ(due % (seconds ? 1000 : 60'000), 2) << "re-armed from the new time";
    }
  }
  // Nothing to read: no tick.
  ScriptedWindow w;
  w.window.startClock();
  const int readings = w.platform.readings;
  w.timer()->report(Report::Nothing);
  EXPECT_EQ(w.platform.readings, readings);
}

// What one read of the timerfd tells: an expiry count, the clock set (ECANCELED), or
// nothing yet (EAGAIN, EINTR).
TEST(WallClockTimer, EachReadOfTheTimerIsOneReport) {
  using Report = WallClockTimer::Report;
  struct Case {
    const char* name;
    long result;
    int error;
    Report report;
  };
  const Case cases[] = {
      {"one expiry", 8, 0, Report::Expired},
      {"cancelled by a clock set", -1, ECANCELED, Report::ClockSet},
      {"nothing to read", -1, EAGAIN, Report::Nothing},
      {"interrupted", -1, EINTR, Report::Nothing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WallClockTimer::reportOfRead(c.result, c.error), c.report);
  }
}

// The real timer on the real wall clock: due in 40 ms, it runs once, through the event
// loop, not before its instant; a clock set after it ran (some machines' clocks are set
// many times a second) does not run it again.
TEST(WallClockTimer, RunsOnceAtItsInstant) {
  QObject owner;
  WallClockTimer timer(&owner);
  EXPECT_TRUE(timer.onWallClock());
  int runs = 0;
  timer.setHandler([&] { ++runs; });
  QElapsedTimer elapsed;
  elapsed.start();
  timer.start(40);
  ASSERT_TRUE(waitUntil([&] { return runs == 1; }, 2000));
  EXPECT_GE(elapsed.elapsed(), 39);
  EXPECT_FALSE(timer.isActive());
  waitUntil([] { return false; }, 100);
  EXPECT_EQ(runs, 1);
  timer.report(WallClockTimer::Report::ClockSet);
  EXPECT_EQ(runs, 1);
}

// Every event the view sends to assistive technology, in order, with the text or value it
// carries.
class AccessibleEventLog {
 public:
  struct Entry {
    QAccessible::Event type;
    std::string name;  // the accessible name of the object it is about
    std::string inserted;
    std::string removed;
    int value = -1;  // a value change's new value
    bool operator==(const Entry&) const = default;
    friend void PrintTo(const Entry& e, std::ostream* os) {
      *os << "{" << e.type << " \"" << e.name << "\" +\"" << e.inserted << "\" -\"" << e.removed
          << "\" " << e.value << "}";
    }
  };
  std::function<void(QAccessibleEvent*)> recorder() {
    return [this](QAccessibleEvent* event) { record(event); };
  }
  std::vector<Entry> take() { return std::exchange(entries_, {}); }

 private:
  void record(QAccessibleEvent* event) {
    QAccessibleInterface* about = event->accessibleInterface();
    Entry entry{event->type(), about ? about->text(QAccessible::Name).toStdString() : "", {}, {}};
    if (event->type() == QAccessible::TextUpdated) {
      const auto* update = static_cast<QAccessibleTextUpdateEvent*>(event);
      entry.inserted = update->textInserted().toStdString();
      entry.removed = update->textRemoved().toStdString();
    }
    if (event->type() == QAccessible::ValueChanged) {
      entry.value = static_cast<QAccessibleValueChangeEvent*>(event)->value().toInt();
    }
    entries_.push_back(entry);
  }
  std::vector<Entry> entries_;
};

TEST(AccessibleEvents, ANewTimeIsToldAsChangedTextAtMostOnceASecond) {
  using E = AccessibleEventLog::Entry;
  AccessibleEventLog log;
  ScriptedWindow w(log.recorder());
  w.run(Command::Seconds);
  w.platform.advance(2000);  // the telling at start-up is long past
  w.platform.at(12, 34, 31);
  log.take();
  w.tick();
  EXPECT_EQ(log.take(),
            (std::vector<E>{{QAccessible::TextUpdated, "12:34:31", "12:34:31", "12:34"}}));
  w.platform.advance(400);
  w.run(Command::Seconds);  // the seconds hidden within the second: told at the next tick
  // Only the command's word at once, as a notification.
  EXPECT_EQ(log.take(), (std::vector<E>{{QAccessible::ObjectShow, "Seconds hidden", "", "", -1}}));
  EXPECT_EQ(w.window.clockView()->announcedTime(), "12:34:31");
  w.platform.advance(600);
  w.tick();
  EXPECT_EQ(log.take(), (std::vector<E>{{QAccessible::TextUpdated, "12:34", "12:34", "12:34:31"}}));
  w.platform.advance(1000);
  w.tick();  // the same minute: nothing new to tell
  EXPECT_EQ(log.take(), std::vector<E>{});
}

// Orca speaks the focused dots anew at each new value: a new minute, never a new second.
TEST(AccessibleEvents, ANewMinuteIsANewValueOnceAndANewSecondIsNot) {
  using E = AccessibleEventLog::Entry;
  AccessibleEventLog log;
  ScriptedWindow w(log.recorder());
  w.run(Command::Seconds);
  w.platform.advance(2000);
  w.platform.at(12, 34, 57);
  w.tick();
  log.take();
  std::vector<std::string> valueChanges;  // the name at each value change
  std::vector<int> values;
  int textChanges = 0;
  for (int second = 0; second < 70; ++second) {  // 12:34:58 to 12:36:07
    w.platform.advance(1000);
    w.tick();
    for (const E& e : log.take()) {
      if (e.type == QAccessible::TextUpdated) ++textChanges;
      if (e.type == QAccessible::ValueChanged) {
        valueChanges.push_back(e.name);
        values.push_back(e.value);
      }
    }
  }
  EXPECT_EQ(textChanges, 70) << "every second is still told as text";
  EXPECT_EQ(valueChanges, (std::vector<std::string>{"12:35:00", "12:36:00"}));
  EXPECT_EQ(values, (std::vector<int>{12 * 60 + 35, 12 * 60 + 36}));
  // Hiding the seconds changes the text, not the minute: no new value.
  w.platform.advance(1000);
  w.run(Command::Seconds);
  w.tick();
  for (const E& e : log.take()) EXPECT_NE(e.type, QAccessible::ValueChanged) << e.name;
}

TEST(AccessibleEvents, AChosenZoneRenamesTheZoneLabel) {
  using E = AccessibleEventLog::Entry;
  AccessibleEventLog log;
  ScriptedWindow w(log.recorder());
  w.run(Command::AltTimeZone);
  log.take();
  QComboBox* list = w.window.clockView()->zoneSelector();
  ASSERT_NE(list, nullptr);
  const int tokyo = list->findText("(UTC+09:00) Asia/Tokyo", Qt::MatchEndsWith);
  ASSERT_GE(tokyo, 0);
  w.platform.advance(2000);
  emit list->activated(tokyo);
  const std::vector<E> events = log.take();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), (E{QAccessible::NameChanged, "(UTC+09:00)", {}, {}}));
}

}  // namespace
}  // namespace tessaron::qt::desktop_time_test
