#include "commands/confirmations.h"

namespace tessaron {

std::string confirmation(Command command, bool checked, int zoomPercent) {
  switch (command) {
    case Command::Always:
      return checked ? "Kept on top" : "Not kept on top";
    case Command::Music:
      return checked ? "Music on" : "Music off";
    case Command::Numbers:
      return checked ? "Hints shown" : "Hints hidden";
    case Command::Seconds:
      return checked ? "Seconds shown" : "Seconds hidden";
    case Command::Transparent:
      return "Off color transparent";
    case Command::AltTimeZone:
      // Shown, the zone list takes the keyboard and is read.
      return checked ? "" : "Alternate time zone hidden";
    case Command::Vertical:
      return checked ? "Alternate form on" : "Alternate form off";
    case Command::StartAtLogin:
      return checked ? "Starts at login" : "Does not start at login";
    case Command::ZoomIn:
    case Command::ZoomOut:
    case Command::ZoomReset:
      return "Zoom " + std::to_string(zoomPercent) + " percent";
    case Command::On:
    case Command::Off:
    case Command::Preferences:  // said by the save itself, which may fail
    case Command::HelpFile:
    case Command::ShortCut:
    case Command::About:
    case Command::Support:
      return "";
  }
  return "";
}

}  // namespace tessaron
