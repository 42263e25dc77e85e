#pragma once
// Where the program's own files are, found from the running executable so that a build
// folder, a portable copy and an installed tree all work wherever they lie.
//
// Example: /usr/bin/tessaron is installed (/usr/share/tessaron exists): its helpers are
// in /usr/libexec/tessaron, its sounds and help files in /usr/share/tessaron, and the
// user's files under $XDG_CONFIG_HOME/tessaron and $XDG_DATA_HOME/tessaron. A build
// folder or a writable portable copy keeps all of them beside the executable.

#include <QString>

#include "platform/platform.h"

namespace tessaron::qt {

// The user's home folder: HOME when it is an absolute path, else the one the password
// database gives the user, as the XDG rules and GLib take it.
QString userHome();

// The helper program or module `name`: beside the executable in a build folder or a
// portable copy, else in the installed tree's private folder.
QString privateProgramFile(const QString& name);

// The folders of ProgramInfo for the running executable.
void findProgramFolders(ProgramInfo& info);

// The same for an executable in `folder`, which the user can write to or not.
void findProgramFolders(ProgramInfo& info, const QString& folder, bool writable);

}  // namespace tessaron::qt
