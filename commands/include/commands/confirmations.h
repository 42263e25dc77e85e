#pragma once
// What a command whose effect is only seen says once it has run, for a user who does not
// see the window: a switch by its new state, the transparent colour and the zoom by what
// they did. A command that opens a window (a colour chooser, help, a prompt) says nothing:
// the window is read as it opens.
//
// Example: Seconds switched off says "Seconds hidden"; Zoom In to 150 % says
// "Zoom 150 percent"; On Color says "".

#include <string>

#include "commands/menu.h"
#include "i18n/i18n.h"

namespace tessaron {

// `checked`: the command's check mark once it has run; `zoomPercent`: the zoom then.
std::string confirmation(Command command, bool checked, int zoomPercent);

// Said after a save that wrote the file (in English; shown through translate()).
inline constexpr const char* kPreferencesSaved = I18N_NOOP("Preferences saved");

}  // namespace tessaron
