#include "commands/help.h"

#include "i18n/i18n.h"

namespace tessaron {

void showHelpFile(Platform& platform, const std::string& path, const std::string& caption) {
  // The viewer would only show an empty page for a file that is not there.
  if (!platform.isOrdinaryFile(path)) {
    platform.messageBox(i18n("Unable to display Help."), MessageStyle::Information, caption);
    return;
  }
  if (const auto error = platform.showHelp(path)) {
    platform.messageBox(*error, MessageStyle::Plain, "");
  }
}

std::string helpFile(Platform& platform, const std::string& folder, const std::string& name) {
  if (const std::string language = catalogLanguage(); !language.empty()) {
    const std::string translated = folder + "help/" + language + "/" + name;
    if (platform.isOrdinaryFile(translated)) return translated;
  }
  return folder + name;
}

}  // namespace tessaron
