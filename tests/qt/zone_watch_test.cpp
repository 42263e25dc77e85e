// The system's zone replaced under a running clock, in a zone folder of the test's own: the
// desktop side reads the new zone, and the local time it gives the dots is the new zone's,
// within a second; a change no watch sees, within a minute; timedated's word on the bus.
// Also a zone file or a TZ naming a pipe, which the C library would block on.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "platform/qt/qt_platform.h"

namespace tessaron::qt::zone_watch_test {
namespace {

namespace fs = std::filesystem;
constexpr const char* kZoneinfo = "/usr/share/zoneinfo";

// TZ for the test's span, as it was before afterwards.
class ScopedTz {
 public:
  explicit ScopedTz(const std::string& value) {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    // Not read here: the clock reads it first.
    ::setenv("TZ", value.c_str(), 1);
  }
  ~ScopedTz() {
    if (saved_) {
      ::setenv("TZ", saved_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::optional<std::string> saved_;
};

class ZoneWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zone_watch_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    scratch_ = pattern;
  }
  void TearDown() override { fs::remove_all(scratch_); }
  // The local clock's offset from UTC, in seconds, as the dots take it.
  static std::int64_t localOffset(QtPlatform& platform) {
    const ClockReading now = platform.clockNow();
    return (now.local.time_since_epoch() - now.utc.time_since_epoch()).count();
  }
  // Waits for `done` at most `ms`, the event loop running; how long it took, or -1.
  template <class Done>
  static qint64 waitFor(Done done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > ms) return -1;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return timer.elapsed();
  }
  fs::path scratch_;
};

TEST_F(ZoneWatchTest, AReplacedLinkOrARewrittenFileIsReadWithinASecond) {
  const fs::path localtime = scratch_ / "localtime";
  fs::create_symlink(std::string(kZoneinfo) + "/Asia/Tokyo", localtime);
  // TZ naming the file: the C library reads it once and never again by itself.
  const ScopedTz tz(":" + localtime.string());
  QtPlatform platform(kZoneinfo, localtime.string());
  int changes = 0;
  platform.watchSystemZone([&] { ++changes; });
  ASSERT_EQ(localOffset(platform), 9 * 3600);

  // As timedatectl does it: a new link renamed over the old one.
  fs::create_symlink(std::string(kZoneinfo) + "/Asia/Kolkata", scratch_ / "localtime.new");
  fs::rename(scratch_ / "localtime.new", localtime);
  const qint64 replaced = waitFor([&] { return changes == 1; }, 1000);
  EXPECT_GE(replaced, 0) << "no change seen within 1 s";
  EXPECT_EQ(localOffset(platform), 5 * 3600 + 1800);
  EXPECT_EQ(platform.readZoneCatalogue(platform.clockNow().utc).systemStandardName, "Asia/Kolkata");

  // A copied zone file rewritten in place, twice within one second.
  fs::remove(localtime);
  fs::copy_file(std::string(kZoneinfo) + "/Europe/Paris", localtime);
  ASSERT_GE(waitFor([&] { return changes == 2; }, 1000), 0);
  const auto rewrite = [&](const char* zone) {
    std::ifstream in(std::string(kZoneinfo) + "/" + zone, std::ios::binary);
    std::ofstream out(localtime, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
  };
  rewrite("America/Sao_Paulo");
  rewrite("Asia/Tokyo");
  const qint64 rewritten = waitFor([&] { return localOffset(platform) == 9 * 3600; }, 1000);
  EXPECT_GE(rewritten, 0) << "the rewritten file was not read within 1 s";
  std::printf("replaced link read after %lld ms, rewritten file after %lld ms\n",
              static_cast<long long>(replaced), static_cast<long long>(rewritten));
}

// Should the clock open the pipe (the C library blocks in the open until a writer comes),
// opens it for writing after a while, so that a failing test ends instead of hanging.
class PipeWatchdog {
 public:
  explicit PipeWatchdog(fs::path pipe) : pipe_(std::move(pipe)) {
    thread_ = std::thread([this] {
      for (int waited = 0; waited < 1500 && !done_; waited += 50) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      while (!done_) {
        const int fd = ::open(pipe_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
          blocked_ = true;  // a reader was waiting in its open
          ::close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
    });
  }
  ~PipeWatchdog() {
    done_ = true;
    thread_.join();
  }
  bool blocked() const { return blocked_; }

 private:
  fs::path pipe_;
  std::atomic<bool> done_{false};
  std::atomic<bool> blocked_{false};
  std::thread thread_;
};

// The zone file linked to a pipe under a running clock: the clock keeps its last zone and
// goes on; linked to a zone again, it follows.
TEST_F(ZoneWatchTest, AZoneFileLinkedToAPipeKeepsTheLastZoneUntilItIsFixed) {
  const fs::path localtime = scratch_ / "localtime";
  const fs::path fifo = scratch_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(std::string(kZoneinfo) + "/Asia/Tokyo", localtime);
  const ScopedTz tz(":" + localtime.string());
  PipeWatchdog watchdog(fifo);
  QtPlatform platform(kZoneinfo, localtime.string());
  int changes = 0;
  platform.watchSystemZone([&] { ++changes; });
  ASSERT_EQ(localOffset(platform), 9 * 3600);

  const auto relink = [&](const fs::path& to) {
    fs::create_symlink(to, scratch_ / "localtime.new");
    fs::rename(scratch_ / "localtime.new", localtime);
  };
  relink(fifo);
  ASSERT_GE(waitFor([&] { return changes == 1; }, 1000), 0) << "no change seen within 1 s";
  EXPECT_EQ(localOffset(platform), 9 * 3600) << "the last good zone";
  EXPECT_EQ(platform.readZoneCatalogue(platform.clockNow().utc).systemStandardName, "Asia/Tokyo");
  relink(std::string(kZoneinfo) + "/Asia/Kolkata");
  ASSERT_GE(waitFor([&] { return changes == 2; }, 1000), 0);
  EXPECT_EQ(localOffset(platform), 5 * 3600 + 1800);
  EXPECT_FALSE(watchdog.blocked()) << "the clock opened the pipe";
}

// The zone file linked to a file with a zone's head grown to 100 MB (sparse): not a zone,
// so the C library, which would hold the whole file, is not handed it; the last zone stays.
TEST_F(ZoneWatchTest, AZoneFileOfManyMegabytesIsNotReadAndTheLastZoneStays) {
  const fs::path localtime = scratch_ / "localtime";
  const fs::path huge = scratch_ / "huge";
  fs::copy_file(std::string(kZoneinfo) + "/Asia/Kolkata", huge);
  fs::resize_file(huge, 100 << 20);
  fs::create_symlink(std::string(kZoneinfo) + "/Asia/Tokyo", localtime);
  const ScopedTz tz(":" + localtime.string());
  QtPlatform platform(kZoneinfo, localtime.string());
  int changes = 0;
  platform.watchSystemZone([&] { ++changes; });
  ASSERT_EQ(localOffset(platform), 9 * 3600);
  fs::create_symlink(huge, scratch_ / "localtime.new");
  fs::rename(scratch_ / "localtime.new", localtime);
  ASSERT_GE(waitFor([&] { return changes == 1; }, 1000), 0) << "no change seen within 1 s";
  EXPECT_EQ(localOffset(platform), 9 * 3600) << "the last good zone, not the file's Kolkata";
}

// Started with the zone file a pipe: the clock runs on UTC, never opens the pipe, and takes
// the zone once the link is fixed.
TEST_F(ZoneWatchTest, AClockStartedOnAPipeRunsOnUtcAndFollowsTheFix) {
  const fs::path localtime = scratch_ / "localtime";
  const fs::path fifo = scratch_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, localtime);
  const ScopedTz tz(":" + localtime.string());
  PipeWatchdog watchdog(fifo);
  QtPlatform platform(kZoneinfo, localtime.string());
  int changes = 0;
  platform.watchSystemZone([&] { ++changes; });
  EXPECT_EQ(localOffset(platform), 0);
  const QDateTime now = QDateTime::currentDateTime();  // Qt's own reading of the zone
  EXPECT_EQ(now.offsetFromUtc(), 0);
  fs::remove(localtime);
  fs::create_symlink(std::string(kZoneinfo) + "/Asia/Tokyo", localtime);
  ASSERT_GE(waitFor([&] { return changes >= 1; }, 1000), 0);
  EXPECT_EQ(localOffset(platform), 9 * 3600);
  EXPECT_FALSE(watchdog.blocked()) << "the clock opened the pipe";
}

// The wall clock scripted, to reach the next minute at once.
class ScriptedWallPlatform : public QtPlatform {
 public:
  using QtPlatform::QtPlatform;
  timespec wall{1'795'999'980, 0};  // the start of a minute

 protected:
  timespec wallClock() override { return wall; }
};

// A change no watch sees (the folder mounted over): found at the first reading of the
// clock in the next minute, whether a watch exists or not, and told afterwards.
TEST_F(ZoneWatchTest, AChangeNoWatchSeesIsFoundInTheNextMinute) {
  for (bool watched : {false, true}) {
    SCOPED_TRACE(watched ? "with a watch" : "without a watch");
    const fs::path localtime = scratch_ / (watched ? "localtime_watched" : "localtime");
    fs::create_symlink(std::string(kZoneinfo) + "/Asia/Tokyo", localtime);
    const ScopedTz tz(":" + localtime.string());
    ScriptedWallPlatform platform(kZoneinfo, localtime.string());
    int changes = 0;
    platform.watchSystemZone([&] { ++changes; });
    ASSERT_EQ(localOffset(platform), 9 * 3600);
    // The event loop does not run: the watch, if any, has not told of it yet.
    fs::create_symlink(std::string(kZoneinfo) + "/Asia/Kolkata", scratch_ / "localtime.new");
    fs::rename(scratch_ / "localtime.new", localtime);
    platform.wall.tv_sec += 30;  // the same minute: nothing looked at
    EXPECT_EQ(localOffset(platform), 9 * 3600);
    platform.wall.tv_sec += 30;
    EXPECT_EQ(localOffset(platform), 5 * 3600 + 1800);
    EXPECT_EQ(changes, 0) << "told after the reading, not inside it";
    EXPECT_GE(waitFor([&] { return changes >= 1; }, 1000), 0);
    // The link replaced by a copy of another zone: a new file where the link was.
    fs::remove(localtime);
    fs::copy_file(std::string(kZoneinfo) + "/Asia/Tokyo", localtime);
    platform.wall.tv_sec += 60;
    EXPECT_EQ(localOffset(platform), 9 * 3600);
  }
}

// A bus of the test's own, standing in for the system bus that timedated speaks on.
class PrivateBus {
 public:
  PrivateBus() {
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000)) {
      address = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
  }
  ~PrivateBus() {
    daemon_.terminate();
    daemon_.waitForFinished(5000);
  }
  QString address;

 private:
  QProcess daemon_;
};

// timedated's new zone has the zone file read again, though no watch saw the file change;
// its other properties do not.
TEST_F(ZoneWatchTest, TimedatedTellingOfANewZoneHasItRead) {
  PrivateBus bus;
  ASSERT_FALSE(bus.address.isEmpty()) << "no dbus-daemon";
  const fs::path localtime = scratch_ / "localtime";
  fs::create_symlink(std::string(kZoneinfo) + "/Asia/Tokyo", localtime);
  const ScopedTz tz(":" + localtime.string());
  QtPlatform platform(kZoneinfo, localtime.string());
  platform.setSystemBus(bus.address);
  int changes = 0;
  platform.watchSystemZone([&] { ++changes; });
  ASSERT_TRUE(platform.hearsTimedated());
  QDBusConnection timedated = QDBusConnection::connectToBus(bus.address, "timedated");
  ASSERT_TRUE(timedated.isConnected());
  const auto tell = [&](const QString& interface, const QVariantMap& changed,
                        const QStringList& invalidated) {
    QDBusMessage signal = QDBusMessage::createSignal(
        "/org/freedesktop/timedate1", "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << interface << changed << invalidated;
    ASSERT_TRUE(timedated.send(signal));
  };
  tell("org.freedesktop.timedate1", {{"NTP", true}}, {});
  tell("org.freedesktop.hostname1", {{"Timezone", "Asia/Kolkata"}}, {});
  EXPECT_EQ(waitFor([&] { return changes > 0; }, 400), -1) << "another property, or service";
  tell("org.freedesktop.timedate1", {{"Timezone", "Asia/Tokyo"}}, {});
  EXPECT_GE(waitFor([&] { return changes == 1; }, 1000), 0);
  tell("org.freedesktop.timedate1", {}, {"Timezone"});
  EXPECT_GE(waitFor([&] { return changes == 2; }, 1000), 0);
  QDBusConnection::disconnectFromBus("timedated");

  // A machine without that bus: nothing heard, nothing started.
  QtPlatform deaf(kZoneinfo, localtime.string());
  deaf.setSystemBus("unix:path=" + QString::fromStdString((scratch_ / "no_bus").string()));
  deaf.watchSystemZone([] {});
  EXPECT_FALSE(deaf.hearsTimedated());
}

TEST_F(ZoneWatchTest, ATzNamingAPipeIsTakenAsUtcWithoutReadingIt) {
  const fs::path fifo = scratch_ / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const ScopedTz tz(":" + fifo.string());
  QtPlatform::refuseUnreadableTz(kZoneinfo);
  EXPECT_STREQ(std::getenv("TZ"), "UTC");
  QtPlatform platform(kZoneinfo, (scratch_ / "absent").string());
  EXPECT_EQ(localOffset(platform), 0);
  EXPECT_EQ(platform.readZoneCatalogue(platform.clockNow().utc).systemStandardName, "UTC");
}

}  // namespace
}  // namespace tessaron::qt::zone_watch_test
