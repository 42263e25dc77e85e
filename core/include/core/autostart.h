#pragma once
// The desktop's entry that starts the clock with the session: a file of the XDG autostart
// folder, the same name as the program's desktop entry. Its presence is the switch.
//
// Example: for a copy in "/home/ann/My Clock" the entry's command line is
//   Exec="/home/ann/My Clock/tessaron"
// and for the installed clock, Exec=tessaron.

#include <string>

namespace tessaron {

constexpr const char* kAutostartFileName = "org.tessaron.Tessaron.desktop";

// The command that runs `program` as an Exec key holds it: quoted where the desktop entry
// rules ask for it (a blank, a quote, "$", "\"...), "%" doubled, and as a string value
// escaped ("\\", "\n").
std::string execValue(const std::string& program);
// The whole entry, for the file of that name.
std::string formatAutostartEntry(const std::string& program);

}  // namespace tessaron
