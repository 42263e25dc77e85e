#pragma once
// The web browser lives in a module of its own (the Qt WebEngine and everything it
// maps), loaded from the program's private folder when the first browser window opens: a
// clock that never opens one runs at the memory of a plain Qt program.

#include <QString>
#include <string>

namespace tessaron::qt {

// The module's file name (see privateProgramFile).
inline constexpr const char* kBrowserModule = "tessaron_browser.so";

// Opens a new browser window on `startingAddress`; false when the module cannot be loaded.
bool openBrowserWindow(const std::string& startingAddress);

// Where the module is looked for: privateProgramFile's folder unless a test says otherwise.
void setBrowserModuleFolder(const QString& folder);

}  // namespace tessaron::qt
