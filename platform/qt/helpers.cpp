#include "platform/qt/helpers.h"

#include "platform/qt/program_files.h"

namespace tessaron::qt {

QString soundHelperPath() { return privateProgramFile(kSoundHelper); }

QString browserHelperPath() { return privateProgramFile(kBrowserHelper); }

}  // namespace tessaron::qt
