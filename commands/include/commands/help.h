#pragma once
// The help files, shown at their contents by the desktop's help viewer.
//
// Example: showHelpFile(platform, "/opt/tessaron/Tessa.hlp", "Tessaron") opens the
// viewer, or, when the file is not there, says "Unable to display Help." under the
// caption "Tessaron".

#include <string>

#include "platform/platform.h"

namespace tessaron {

void showHelpFile(Platform& platform, const std::string& path, const std::string& caption);

}  // namespace tessaron
