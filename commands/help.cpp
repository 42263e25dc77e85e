// The two help files, shown at their contents by the desktop's help viewer.

#include <string>

#include "core/tessaron.h"

namespace tessaron {

namespace {

void showHelpFile(Platform& platform, const std::string& path, const std::string& caption) {
  // The viewer would only show an empty page for a file that is not there.
  if (!platform.isOrdinaryFile(path)) {
    platform.messageBox("Unable to display Help.", MessageStyle::Information, caption);
    return;
  }
  if (const auto error = platform.showHelp(path)) {
    platform.messageBox(*error, MessageStyle::Plain, "");
  }
}

}  // namespace

void Tessaron::HelpFile_Click() { showHelpFile(platform_, AppFolder + "Tessa.hlp", Caption); }

void Tessaron::ShortCut_Click() { showHelpFile(platform_, AppFolder + "TSShortcut.hlp", Caption); }

}  // namespace tessaron
