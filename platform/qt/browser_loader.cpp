#include "platform/qt/browser_loader.h"

#include <unistd.h>

#include <QLibrary>

#include "platform/qt/program_files.h"

namespace tessaron::qt {

namespace {

using OpenFunction = void (*)(const char*);

QString& moduleFolder() {
  static QString folder;
  return folder;
}

OpenFunction loadModule() {
  static OpenFunction open = nullptr;
  if (open != nullptr) return open;
  // The web engine's sandbox refuses to start for the superuser; it must be off
  // before the engine loads.
  if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QLibrary module(moduleFolder().isEmpty() ? privateProgramFile(kBrowserModule)
                                           : moduleFolder() + "/" + kBrowserModule);
  // Stays loaded: its windows and the engine live until the program ends.
  module.setLoadHints(QLibrary::PreventUnloadHint);
  open = reinterpret_cast<OpenFunction>(module.resolve("tessaronOpenBrowserWindow"));
  return open;
}

}  // namespace

void setBrowserModuleFolder(const QString& folder) { moduleFolder() = folder; }

bool openBrowserWindow(const std::string& startingAddress) {
  const OpenFunction open = loadModule();
  if (open == nullptr) return false;
  open(startingAddress.c_str());
  return true;
}

}  // namespace tessaron::qt
