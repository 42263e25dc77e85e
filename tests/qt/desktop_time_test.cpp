// The window's own tick and what a screen reader hears of it, on a scripted clock: the
// tick timer is armed for just after each second begins whatever the phase it starts in
// and however late it fired, every second reaches the dots, and a new time is told to
// assistive technology as changed text at most once a second, and as a new value once a
// minute.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleEvent>
#include <QComboBox>
#include <QTime>
#include <string>
#include <vector>

#include "tests/qt/scripted_window.h"

namespace tessaron::qt {
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
    QTimer* timer = w.timer();
    ASSERT_NE(timer, nullptr);
    for (int late : c.lateness) {
      ASSERT_TRUE(timer->isActive());
      ASSERT_TRUE(timer->isSingleShot()) << "re-armed from the clock at every tick";
      const std::int64_t due = w.platform.nowMs + timer->interval();
      const std::int64_t nextSecond = (w.platform.nowMs / 1000 + 1) * 1000;
      EXPECT_GE(due, nextSecond) << "armed to fire before the next second begins";
      EXPECT_LE(due, nextSecond + kShownWithinMs) << "armed to fire late into the second";
      w.platform.advance(timer->interval() + late);
      w.fire();
      const CivilTime now = w.platform.localNow();
      EXPECT_EQ(w.window.clockView()->shownTimeText().toStdString(),
                QTime(now.hour, now.minute, now.second).toString("hh:mm:ss").toStdString());
    }
  }
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
}  // namespace tessaron::qt
