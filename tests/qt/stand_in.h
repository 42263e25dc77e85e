#pragma once
// Stand-in helper programs for the Qt side's tests: a shell script written into a test's
// folder, executable by its owner.
//
// Example: standInProgram(dir, "sound", "read -r line\n") gives dir/sound, which reads one
// line and ends.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace tessaron::qt::test {

inline QString standInProgram(const QTemporaryDir& dir, const char* name, const QByteArray& body) {
  const QString path = dir.filePath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return {};
  f.write("#!/bin/sh\n" + body);
  f.close();
  f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

}  // namespace tessaron::qt::test
