// The system's zone replaced under a running clock, in a zone folder of the test's own: the
// desktop side reads the new zone, and the local time it gives the dots is the new zone's,
// within a second. Also a TZ naming a pipe, which the C library would block on.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/qt/qt_platform.h"

namespace tessaron::qt {
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
    return now.local.seconds - now.utc.seconds;
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
}  // namespace tessaron::qt
