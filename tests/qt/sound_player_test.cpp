// The clock's side of the sound helper, with stand-in helpers that misbehave on purpose:
// one that dies, one that floods its output, one that never answers, one that cannot be
// started. Each is dropped, a loop it was playing is reported as failed once, and the next
// request starts another helper.

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <string>
#include <vector>

#include "platform/qt/sound.h"
#include "tests/qt/stand_in.h"
#include "tests/qt/wait_for.h"

namespace tessaron::qt::sound_player_test {
namespace {

class SoundPlayerTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;

  // A helper script; each start appends a line to "starts".
  QString helper(const char* name, const QByteArray& body) {
    return test::standInProgram(
        dir, name, "echo started >> '" + dir.filePath("starts").toUtf8() + "'\n" + body);
  }
  int starts() {
    QFile f(dir.filePath("starts"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return static_cast<int>(f.readAll().count('\n'));
  }
  static bool waitFor(const std::function<bool()>& done, int ms = 10000) {
    return test::waitFor(done, ms);
  }
  static int running(const SoundPlayer& player) {
    int n = 0;
    for (QProcess* p : player.findChildren<QProcess*>()) n += p->state() != QProcess::NotRunning;
    return n;
  }
};

TEST_F(SoundPlayerTest, MisbehavingHelpersAreDroppedAndTheLoopReportedOnce) {
  struct Case {
    const char* name;
    QByteArray body;
    const char* reason;
  };
  const Case cases[] = {
      {"dies", "read line\nexit 3\n", "the sound helper stopped"},
      {"floods", "read line\nwhile :; do echo '1 playing'; done\n", "the sound helper misbehaved"},
      {"talks nonsense", "read line\necho 'hello there'\nexec sleep 100\n",
       "the sound helper misbehaved"},
      {"never answers", "exec sleep 100\n", "the sound helper stopped answering"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(dir.filePath("starts"));
    SoundPlayer player(helper(c.name, c.body), 1000);
    std::vector<std::string> failures;
    player.playLoop("/nowhere/loop.wav", [&](const std::string& r) { failures.push_back(r); });
    EXPECT_TRUE(waitFor([&] { return !failures.empty(); }));
    EXPECT_TRUE(waitFor([&] { return running(player) == 0; })) << "the helper is gone";
    QCoreApplication::processEvents();
    EXPECT_EQ(failures, std::vector<std::string>{c.reason});
    // The next request starts another helper.
    player.playOnce("/nowhere/ding.wav");
    EXPECT_TRUE(waitFor([&] { return starts() == 2; }));
  }
}

TEST_F(SoundPlayerTest, AHelperThatCannotStartReportsTheLoop) {
  SoundPlayer player(dir.filePath("missing"), 1000);
  std::vector<std::string> failures;
  player.playLoop("/nowhere/loop.wav", [&](const std::string& r) { failures.push_back(r); });
  EXPECT_TRUE(waitFor([&] { return !failures.empty(); }));
  EXPECT_EQ(failures, std::vector<std::string>{"the sound helper could not start"});
}

// A stand-in that answers as the real helper does and keeps a loop "playing": requests
// sent faster than it answers all reach it, and only the last one decides.
TEST_F(SoundPlayerTest, ALaterRequestIsNeverLostToTheIdleOfAnEarlierOne) {
  const QString log = dir.filePath("log");
  const QByteArray body =
      "while read n verb rest; do\n"
      "  echo \"$n $verb\" >> '" +
      log.toUtf8() +
      "'\n"
      "  case $verb in loop) echo \"$n playing\";; *) echo \"$n idle\";; esac\n"
      "done\n";
  SoundPlayer player(helper("echo", body), 5000);
  std::vector<std::string> failures;
  auto fail = [&](const std::string& r) { failures.push_back(r); };
  for (int i = 0; i < 20; ++i) {
    player.playOnce("/x/ding.wav");
    player.stopSound();
    player.playLoop("/x/loop.wav", fail);
  }
  QFile f(log);
  auto logged = [&] {
    QFile now(log);
    return now.open(QIODevice::ReadOnly) ? now.readAll().count('\n') : 0;
  };
  // Each of the 60 requests reaches a helper once, the last one (a loop) last.
  EXPECT_TRUE(waitFor([&] { return logged() == 60; })) << logged();
  // Every answer read, and time for a wrongly let-go helper to end.
  waitFor([] { return false; }, 500);
  EXPECT_EQ(running(player), 1) << "the helper playing the loop is kept";
  f.open(QIODevice::ReadOnly);
  const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
  EXPECT_EQ(lines.back().split(' ').value(1), "loop");
  EXPECT_TRUE(failures.empty());
  player.waitForOneShot(0);
}

}  // namespace
}  // namespace tessaron::qt::sound_player_test
