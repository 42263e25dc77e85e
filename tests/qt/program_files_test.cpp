// Which folders a clock uses, by where its executable lies: a build folder or a portable
// copy keeps everything beside it when it may write there; an installed tree (it has
// share/tessaron beside bin) or a read-only copy keeps the user's files in the XDG folders.

#include "platform/qt/program_files.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>
#include <string>

namespace tessaron::qt::program_files_test {
namespace {

TEST(ProgramFolders, ByLayoutAndWhetherTheFolderIsWritable) {
  QTemporaryDir root;
  const QString base = root.path();
  ASSERT_TRUE(QDir().mkpath(base + "/portable"));
  ASSERT_TRUE(QDir().mkpath(base + "/usr/bin"));
  ASSERT_TRUE(QDir().mkpath(base + "/usr/share/tessaron"));
  qputenv("XDG_CONFIG_HOME", (base + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (base + "/data").toUtf8());
  const std::string b = base.toStdString();
  const std::string config = b + "/config/tessaron", data = b + "/data/tessaron";

  struct Case {
    const char* name;
    const char* folder;
    bool writable;
    std::string dataFolder, settingsFolder, userFolder;
  };
  const Case cases[] = {
      {"a build folder or portable copy: today's place", "/portable", true, b + "/portable",
       b + "/portable", b + "/portable"},
      {"a read-only portable copy", "/portable", false, b + "/portable", config, data},
      {"installed", "/usr/bin", false, b + "/usr/share/tessaron", config, data},
      {"installed, run by the superuser", "/usr/bin", true, b + "/usr/share/tessaron", config,
       data},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramInfo info;
    findProgramFolders(info, base + c.folder, c.writable);
    EXPECT_EQ(info.dataFolder, c.dataFolder);
    EXPECT_EQ(info.settingsFolder, c.settingsFolder);
    EXPECT_EQ(info.userFolder, c.userFolder);
  }
  qunsetenv("XDG_CONFIG_HOME");
  qunsetenv("XDG_DATA_HOME");
}

// A read-only portable copy still names its folder, whose "Tessa.sav" is read at start;
// relative XDG folders are ignored, as the XDG rules say, for ~/.config and ~/.local/share.
TEST(ProgramFolders, AReadOnlyCopyKeepsItsFolderAndRelativeXdgFoldersAreIgnored) {
  QTemporaryDir root;
  const QString base = root.path();
  ASSERT_TRUE(QDir().mkpath(base + "/portable"));
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", (base + "/home").toUtf8());
  qputenv("XDG_CONFIG_HOME", "relative/config");
  qputenv("XDG_DATA_HOME", "data");
  ProgramInfo info;
  findProgramFolders(info, base + "/portable", false);
  const std::string b = base.toStdString();
  EXPECT_EQ(info.portableFolder, b + "/portable");
  EXPECT_EQ(info.settingsFolder, b + "/home/.config/tessaron");
  EXPECT_EQ(info.userFolder, b + "/home/.local/share/tessaron");

  ProgramInfo writable;
  findProgramFolders(writable, base + "/portable", true);
  EXPECT_EQ(writable.portableFolder, "") << "a writable copy saves beside itself";
  qputenv("HOME", home);
  qunsetenv("XDG_CONFIG_HOME");
  qunsetenv("XDG_DATA_HOME");
}

// With HOME unset, empty or relative, the XDG folders lie in the home the password
// database gives the user, never under the root folder or the working folder.
TEST(ProgramFolders, WithoutAUsableHomeTheUsersOwnHomeFromThePasswordDatabase) {
  const passwd* user = ::getpwuid(::getuid());
  ASSERT_NE(user, nullptr);
  const std::string home = QDir::cleanPath(QString::fromLocal8Bit(user->pw_dir)).toStdString();
  const QByteArray savedHome = qgetenv("HOME");
  qunsetenv("XDG_CONFIG_HOME");
  qunsetenv("XDG_DATA_HOME");
  struct Case {
    const char* name;
    std::optional<const char*> home;
  };
  const Case cases[] = {{"unset", std::nullopt}, {"empty", ""}, {"relative", "home/me"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.home) {
      qputenv("HOME", *c.home);
    } else {
      qunsetenv("HOME");
    }
    ProgramInfo info;
    findProgramFolders(info, "/usr/bin", false);
    EXPECT_EQ(info.settingsFolder, home + "/.config/tessaron");
    EXPECT_EQ(info.userFolder, home + "/.local/share/tessaron");
  }
  qputenv("HOME", savedHome);
}

// The autostart entry's place, and the command it runs: the bare name where the search path
// finds this very program by it, the whole path of any other copy.
TEST(ProgramFolders, AutostartRunsTheCommandTheSearchPathFindsElseTheCopysPath) {
  QTemporaryDir root;
  const QString base = root.path();
  for (const char* bin : {"/usr/bin", "/opt/other/bin", "/my copy"}) {
    ASSERT_TRUE(QDir().mkpath(base + bin));
    QFile program(base + bin + "/tessaron");
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  ASSERT_TRUE(QDir().mkpath(base + "/usr/share/tessaron"));
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", (base + "/usr/bin:/bin").toUtf8());
  qputenv("XDG_CONFIG_HOME", (base + "/config").toUtf8());
  const std::string b = base.toStdString();
  struct Case {
    const char* name;
    const char* folder;
    std::string command;
  };
  const Case cases[] = {
      {"installed on the search path", "/usr/bin", "tessaron"},
      {"another tree, its program not the one found", "/opt/other/bin",
       b + "/opt/other/bin/tessaron"},
      {"a copy", "/my copy", b + "/my copy/tessaron"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramInfo info;
    findProgramFolders(info, base + c.folder, true);
    EXPECT_EQ(info.autostartFolder, b + "/config/autostart");
    EXPECT_EQ(info.startCommand, c.command);
  }
  qputenv("PATH", path);
  qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace tessaron::qt::program_files_test
