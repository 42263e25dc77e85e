// The clock's helper programs as the clock runs them, with stand-ins that log what they
// are asked: one browser process serves every Support window, and the closing sound is
// heard out before the program ends.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/qt/scripted_window.h"
#include "tests/qt/stand_in.h"

namespace tessaron::qt::helper_programs_test {
namespace {

class HelperPrograms : public ::testing::Test {
 protected:
  QTemporaryDir dir;

  // A stand-in program: `body` as a shell script.
  QString program(const char* name, const QByteArray& body) {
    return test::standInProgram(dir, name, body);
  }
  QList<QByteArray> logLines() {
    QFile f(dir.filePath("log"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().trimmed().split('\n');
  }
  QByteArray log() const { return dir.filePath("log").toUtf8(); }
  // The test's own child processes that are running.
  static int childProcesses() {
    int n = 0;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
      QFile stat("/proc/" + pid + "/stat");
      if (!stat.open(QIODevice::ReadOnly)) continue;
      // "pid (comm) state ppid ...": the fields after the name.
      const QByteArray line = stat.readAll();
      const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
      n += rest.size() > 1 && rest[0] != "Z" &&
           rest[1].toLongLong() == QCoreApplication::applicationPid();
    }
    return n;
  }
};

TEST_F(HelperPrograms, TwoSupportWindowsShareOneBrowserProcess) {
  // Answers each request on the clock's socket, as the real browser does once its window
  // is up, and logs its process id with each.
  const QString browser = program("browser", "echo \"start $$\" >> '" + log() +
                                                 "'\n"
                                                 "while read -r n verb address <&3; do\n"
                                                 "  echo \"$$ $verb\" >> '" +
                                                 log() +
                                                 "'\n"
                                                 "  echo \"$n opened\" >&3\n"
                                                 "done\n");
  QtPlatform platform;
  platform.setHelperPrograms({}, browser);
  int failures = 0;
  platform.openBrowserWindow("http://localhost/one", [&] { ++failures; });
  ASSERT_TRUE(waitUntil([&] { return logLines().size() == 2; }));
  platform.openBrowserWindow("http://localhost/two", [&] { ++failures; });
  ASSERT_TRUE(waitUntil([&] { return logLines().size() == 3; }));
  const QList<QByteArray> lines = logLines();
  const QByteArray pid = lines[0].split(' ').value(1);
  EXPECT_EQ(lines, (QList<QByteArray>{"start " + pid, pid + " open", pid + " open"}));
  EXPECT_EQ(failures, 0);
}

TEST_F(HelperPrograms, TheClosingSoundIsHeardOutBeforeTheClockEnds) {
  // Plays each one-shot sound to its end once its input ends, as the real helper does, and
  // logs when the last one is over.
  const QString sound = program("sound",
                                "while read -r n verb path; do\n"
                                "  echo \"$verb $path\" >> '" +
                                    log() +
                                    "'\n"
                                    "  case $verb in once) echo \"$n playing\";; *) echo \"$n "
                                    "idle\";; esac\n"
                                    "done\n"
                                    "sleep 0.3\n"  // the ding playing out
                                    "echo heard out >> '" +
                                    log() + "'\n");
  QtPlatform platform;
  platform.setHelperPrograms(sound, {});
  Tessaron core(platform);
  platform.closeClock(core);
  ASSERT_FALSE(logLines().isEmpty());
  EXPECT_TRUE(logLines().front().startsWith("once ")) << logLines().front().toStdString();
  EXPECT_EQ(logLines().value(logLines().size() - 1), "heard out")
      << "the program would end while the closing sound plays";
}

// Start-up holds its sounds until the first frame: no helper runs before the release,
// and then every request reaches it in the order made.
TEST_F(HelperPrograms, HeldSoundsWaitForTheReleaseAndKeepTheirOrder) {
  const QString sound = program("sound", "echo started >> '" + log() +
                                             "'\n"
                                             "while read -r n verb path; do\n"
                                             "  echo \"$verb $path\" >> '" +
                                             log() +
                                             "'\n"
                                             "  echo \"$n idle\"\n"
                                             "done\n");
  QtPlatform platform;
  platform.setHelperPrograms(sound, {});
  platform.holdSounds();
  platform.playOnce("/x/ding.wav");
  platform.stopSound();
  platform.playOnce("/x/second.wav");
  // A helper is forked as the request is made: none may be there while held.
  EXPECT_EQ(childProcesses(), 0) << "a helper started while held";
  platform.releaseSounds();
  EXPECT_EQ(childProcesses(), 1);
  ASSERT_TRUE(waitUntil([&] { return logLines().size() == 4; })) << logLines().size();
  EXPECT_EQ(logLines(), (QList<QByteArray>{"started", "once file:///x/ding.wav", "stop ",
                                           "once file:///x/second.wav"}));
}

}  // namespace
}  // namespace tessaron::qt::helper_programs_test
