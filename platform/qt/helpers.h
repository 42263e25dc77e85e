#pragma once
// The programs the clock runs: the sound helper and the support browser, found where
// privateProgramFile finds the program's private files.
//
// Example: a build at build/tessaron finds build/tessaron_sound and build/tessaron_browser;
// /usr/bin/tessaron finds /usr/libexec/tessaron/tessaron_sound and .../tessaron_browser.

#include <QString>

namespace tessaron::qt {

inline constexpr const char* kSoundHelper = "tessaron_sound";
inline constexpr const char* kBrowserHelper = "tessaron_browser";

QString soundHelperPath();
QString browserHelperPath();

}  // namespace tessaron::qt
