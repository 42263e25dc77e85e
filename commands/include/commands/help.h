#pragma once
// The help files, shown at their contents by the desktop's help viewer.
//
// Example: showHelpFile(platform, "/opt/tessaron/Tessa.hlp", "Tessaron") opens the
// viewer, or, when the file is not there, says "Unable to display Help." under the
// caption "Tessaron". Under LANGUAGE=de, helpFile(platform, "/opt/tessaron/", "Tessa.hlp")
// is "/opt/tessaron/help/de/Tessa.hlp" where that file is there.

#include <string>

#include "platform/platform.h"

namespace tessaron {

void showHelpFile(Platform& platform, const std::string& path, const std::string& caption);

// The help file `name` of the program's `folder` (ending in "/") in the language the texts
// are shown in, where one is shipped (folder + "help/de/Tessa.hlp"), else the English one.
std::string helpFile(Platform& platform, const std::string& folder, const std::string& name);

}  // namespace tessaron
