#include "platform/qt/program_files.h"

#include <pwd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <vector>

namespace tessaron::qt {

namespace {

// Relative to the executable's folder in an installed tree; set by the build from the
// install layout, so the tree can be moved as a whole.
constexpr const char* kPrivateFromBin = TESSARON_PRIVATE_FROM_BIN;
constexpr const char* kDataFromBin = TESSARON_DATA_FROM_BIN;

QString fromFolder(const QString& folder, const char* relative) {
  return QDir::cleanPath(folder + "/" + relative);
}

// XDG_CONFIG_HOME or XDG_DATA_HOME, else its place under the home folder; a relative path
// there is to be ignored, or the files would follow the working folder about.
QString userLocation(const char* variable, const char* underHome) {
  QString where = qEnvironmentVariable(variable);
  if (where.isEmpty() || QDir::isRelativePath(where)) where = userHome() + underHome;
  return QDir::cleanPath(where);
}

// What an autostart entry runs: the command's bare name where the search path finds this
// very program by it, else its whole path (a copy, or a tree outside the search path).
std::string startCommandFor(const QString& folder) {
  const QString program = QDir::cleanPath(folder + "/tessaron");
  const QString found = QStandardPaths::findExecutable("tessaron");
  if (!found.isEmpty() &&
      QFileInfo(found).canonicalFilePath() == QFileInfo(program).canonicalFilePath()) {
    return "tessaron";
  }
  return program.toStdString();
}

}  // namespace

QString userHome() {
  const QString home = qEnvironmentVariable("HOME");
  if (!home.isEmpty() && !QDir::isRelativePath(home)) return QDir::cleanPath(home);
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
  passwd entry{};
  passwd* found = nullptr;
  while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
         buffer.size() < (1u << 20)) {
    buffer.resize(buffer.size() * 2);
  }
  if (found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
    return QDir::cleanPath(QString::fromLocal8Bit(found->pw_dir));
  }
  return QDir::rootPath();
}

QString privateProgramFile(const QString& name) {
  const QString beside = QCoreApplication::applicationDirPath() + "/" + name;
  if (QFileInfo::exists(beside)) return beside;
  return fromFolder(QCoreApplication::applicationDirPath(), kPrivateFromBin) + "/" + name;
}

void findProgramFolders(ProgramInfo& info) {
  const QString folder = QCoreApplication::applicationDirPath();
  findProgramFolders(info, folder, QFileInfo(folder).isWritable());
}

void findProgramFolders(ProgramInfo& info, const QString& folder, bool writable) {
  const QString installedData = fromFolder(folder, kDataFromBin);
  // The shipped data folder marks an installed tree, whoever runs it: the superuser can
  // write to /usr/bin, and a test's installed copy is writable too.
  const bool installed = QFileInfo(installedData).isDir();
  info.dataFolder = (installed ? installedData : folder).toStdString();
  info.autostartFolder = (userLocation("XDG_CONFIG_HOME", "/.config") + "/autostart").toStdString();
  info.startCommand = startCommandFor(folder);
  if (!installed && writable) {
    info.settingsFolder = info.userFolder = folder.toStdString();
    return;
  }
  if (!installed) info.portableFolder = folder.toStdString();
  info.settingsFolder = (userLocation("XDG_CONFIG_HOME", "/.config") + "/tessaron").toStdString();
  info.userFolder = (userLocation("XDG_DATA_HOME", "/.local/share") + "/tessaron").toStdString();
}

}  // namespace tessaron::qt
