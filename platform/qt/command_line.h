#pragma once
// The clock's command line: "--help" and "--version" print and end the program; the
// clock itself takes no argument, so anything else is refused.
//
// Example: "tessaron --version" prints "Tessaron 1.0.0" and ends with status 0;
// "tessaron --colour=red" prints why it is refused and ends with status 2.

#include <optional>

namespace tessaron::qt {

inline constexpr int kRefusedArguments = 2;

// The exit status when the arguments end the program before the clock starts; nothing
// when there are none and the clock should start.
std::optional<int> handleCommandLine(int argc, char* argv[]);

}  // namespace tessaron::qt
