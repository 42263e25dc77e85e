#include "commands/help.h"

namespace tessaron {

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

}  // namespace tessaron
