#include "commands/confirmations.h"

#include "i18n/i18n.h"

namespace tessaron {

std::string confirmation(Command command, bool checked, int zoomPercent) {
  switch (command) {
    case Command::Always:
      return checked ? i18n("Kept on top") : i18n("Not kept on top");
    case Command::Music:
      return checked ? i18n("Music on") : i18n("Music off");
    case Command::Numbers:
      return checked ? i18n("Hints shown") : i18n("Hints hidden");
    case Command::Seconds:
      return checked ? i18n("Seconds shown") : i18n("Seconds hidden");
    case Command::Transparent:
      return i18n("Off color transparent");
    case Command::AltTimeZone:
      // Shown, the zone list takes the keyboard and is read.
      return checked ? "" : i18n("Alternate time zone hidden");
    case Command::Vertical:
      return checked ? i18n("Alternate form on") : i18n("Alternate form off");
    case Command::StartAtLogin:
      return checked ? i18n("Starts at login") : i18n("Does not start at login");
    case Command::ZoomIn:
    case Command::ZoomOut:
    case Command::ZoomReset:
      return i18n("Zoom %1 percent", zoomPercent);
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
