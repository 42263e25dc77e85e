// The clock's side of the browser program, with stand-ins in its place: one that shows a
// window at once, one that starts but never shows one. The second is ended within the
// start limit and Support is told it could not start; no browser without a window
// outlives the clock.

#include "platform/qt/browser_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

#include "tests/qt/stand_in.h"
#include "tests/qt/wait_for.h"

namespace tessaron::qt::browser_process_test {
namespace {

constexpr int kLimitMs = 300;

class BrowserProcessTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;

  QString standIn(const char* name, const QByteArray& body) {
    return test::standInProgram(dir, name, body);
  }
  static bool waitFor(const std::function<bool()>& done, int ms = 10000) {
    return test::waitFor(done, ms);
  }
  // Gone, or a zombie nobody will reap: either way no longer running.
  static bool gone(pid_t pid) {
    ::waitpid(pid, nullptr, WNOHANG);
    QFile status(QString("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return true;
    const QByteArray stat = status.readAll();
    return stat.mid(stat.lastIndexOf(')') + 2, 1) == "Z";
  }
};

// Answers the first request as a browser whose window opened, then stays.
const QByteArray kOpens = "read n verb rest <&3\necho \"$n opened\" >&3\nexec sleep 100\n";
// Starts, and never shows a window nor says a word.
const QByteArray kSilent = "exec sleep 100\n";

TEST_F(BrowserProcessTest, ABrowserThatShowsNoWindowInTimeIsEndedAndReported) {
  BrowserProcess browser(standIn("silent", kSilent), nullptr, kLimitMs);
  int failures = 0;
  browser.open("http://127.0.0.1/tessa/tssupport.php", [&] { ++failures; });
  const pid_t pid = browser.pid();
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(waitFor([&] { return failures == 1; })) << "Support is told it could not start";
  EXPECT_TRUE(waitFor([&] { return gone(pid); })) << "the silent browser is ended";
  EXPECT_EQ(browser.pid(), -1);
}

TEST_F(BrowserProcessTest, OnlyABrowserWithAWindowOutlivesTheClock) {
  struct Case {
    const char* name;
    QByteArray body;
    bool outlives;
  };
  const Case cases[] = {
      {"a window is open", kOpens, true},
      {"no window yet", kSilent, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto browser = std::make_unique<BrowserProcess>(standIn(c.name, c.body), nullptr, 60000);
    int failures = 0;
    browser->open("http://127.0.0.1/tessa/tssupport.php", [&] { ++failures; });
    const pid_t pid = browser->pid();
    ASSERT_GT(pid, 0);
    if (c.outlives) {
      // Its answer read: the window is open.
      QFile stat(QString("/proc/%1/cmdline").arg(pid));
      EXPECT_TRUE(waitFor([&] {
        stat.open(QIODevice::ReadOnly);
        const bool sleeping = stat.readAll().startsWith("sleep");
        stat.close();
        return sleeping;
      }));
      // The answer was written before the stand-in went to sleep: it is there to read.
      QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    }
    browser.reset();  // the clock closes
    if (c.outlives) {
      EXPECT_FALSE(gone(pid)) << "its window stays open";
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    } else {
      EXPECT_TRUE(waitFor([&] { return gone(pid); })) << "no browser without a window is left";
    }
    EXPECT_EQ(failures, 0);
  }
}

}  // namespace
}  // namespace tessaron::qt::browser_process_test
