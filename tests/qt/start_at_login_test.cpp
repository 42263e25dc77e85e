// Start at Login in the real window: the desktop's autostart entry written (and valid by
// the desktop's own checker) and removed, and the mark read from the folder at each start.

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tests/qt/scripted_window.h"

namespace tessaron::qt::start_at_login_test {
namespace {

QAction* startAtLogin(ScriptedWindow& w) { return w.window.findChild<QAction*>("StartAtLogin"); }

TEST(StartAtLoginWindow, OnWritesAValidEntryOffRemovesItAndTheMarkFollowsTheFolder) {
  QTemporaryDir config;
  const QString folder = config.path() + "/autostart";
  const QString entry = folder + "/org.tessaron.Tessaron.desktop";
  {
    ScriptedWindow w({}, true, folder.toStdString());
    QAction* item = startAtLogin(w);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Start at L&ogin");
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    ASSERT_TRUE(QFile::exists(entry)) << "the folder is made for it";

    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    if (validator.isEmpty()) {
      ADD_FAILURE() << "desktop-file-validate is missing (desktop-file-utils)";
    } else {
      QProcess check;
      check.setProcessChannelMode(QProcess::MergedChannels);
      check.start(validator, {entry});
      ASSERT_TRUE(check.waitForFinished(10000));
      EXPECT_EQ(check.exitCode(), 0);
      EXPECT_EQ(check.readAll().toStdString(), "") << "no warning either";
    }
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // A copy in a build folder is started by its own path.
    EXPECT_TRUE(
        file.readAll().contains("\nExec=" + QCoreApplication::applicationDirPath().toUtf8()))
        << "the test's own folder stands in for the clock's";

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(QFile::exists(entry));
  }
  // Made while the clock was closed, then removed again.
  for (const bool present : {true, false}) {
    SCOPED_TRACE(present ? "made" : "removed");
    if (present) {
      QFile made(entry);
      ASSERT_TRUE(made.open(QIODevice::WriteOnly));
      made.write("[Desktop Entry]\nType=Application\nName=Tessaron\nExec=tessaron\n");
    } else {
      ASSERT_TRUE(QFile::remove(entry));
    }
    ScriptedWindow w({}, true, folder.toStdString());
    EXPECT_EQ(startAtLogin(w)->isChecked(), present);
  }
}

}  // namespace
}  // namespace tessaron::qt::start_at_login_test
