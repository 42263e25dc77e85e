// The Options menu: each switch flips its mark and hands the work to the subsystem
// that owns it; the preferences and the zoom are kept in their files.

#include <algorithm>

#include "commands/command_bar.h"
#include "commands/confirmations.h"
#include "commands/music.h"
#include "core/autostart.h"
#include "core/preferences.h"
#include "core/tessaron.h"
#include "core/zoom.h"
#include "i18n/i18n.h"
#include "layout/dot_layout.h"
#include "timezones/alternate_zone.h"

namespace tessaron {

Colour Tessaron::chooseColour(Colour current, const std::string& title) {
  return platform_.chooseColour(current, title).value_or(current);
}

Twips Tessaron::belowToolbar() const {
  return commands->toolbar().Top + commands->toolbar().Height + layout->labelOffset();
}

void Tessaron::On_Click() {
  OnColor = chooseColour(OnColor, i18n("On Color"));
  redrawTime();
}

void Tessaron::Off_Click() {
  OffColor = chooseColour(OffColor, i18n("Off Color"));
  redrawTime();
}

void Tessaron::Transparent_Click() {
  OffColor = BackgroundColor;
  redrawTime();
}

void Tessaron::Always_Click() {
  const bool topmost = !commands->checked(Command::Always);
  commands->setChecked(Command::Always, topmost);
  // Where the desktop cannot keep it above others, the saved choice stays for the next
  // session that can, and the switch is shown unavailable.
  if (!commands->enabled(Command::Always)) return;
  platform_.setTopmost(topmost);
}

void Tessaron::Music_Click() {
  if (commands->checked(Command::Music)) {
    commands->setChecked(Command::Music, false);
    music->StopMusic(platform_, AppFolder);
    commands->setMusicCaption(false, music->musicFile());
    return;
  }
  commands->setChecked(Command::Music, true);
  std::string notFound;
  const bool playing = music->choose(
      platform_, UserFolder, AppFolder,
      [this](const std::string& reason) { MusicUnplayable(reason); }, &notFound);
  commands->setChecked(Command::Music, playing);
  commands->setMusicCaption(playing, music->musicFile());
  // An empty answer is a change of mind; a name that finds nothing gets told as a file
  // that cannot play does.
  if (!playing && !notFound.empty()) {
    // TRANSLATORS: %1 is the file name typed, %2 the folder it was looked for in.
    platform_.messageBox(i18n("The music cannot play: %1 was not found in %2. The music is "
                              "switched off.",
                              notFound, UserFolder),
                         MessageStyle::Exclamation, Caption);
  }
}

void Tessaron::MusicUnplayable(const std::string& reason) {
  // Turned off (or on again with another file) since: that request is not this one's.
  if (!commands->checked(Command::Music)) return;
  commands->setChecked(Command::Music, false);
  commands->setMusicCaption(false, music->musicFile());
  // TRANSLATORS: %1 says why, e.g. "it is not a .WAV file".
  platform_.messageBox(i18n("The music cannot play: %1. The music is switched off.", reason),
                       MessageStyle::Exclamation, Caption);
}

void Tessaron::Numbers_Click() {
  const bool hints = !commands->checked(Command::Numbers);
  commands->setChecked(Command::Numbers, hints);
  layout->show(commands->checked(Command::Vertical), commands->checked(Command::Seconds), hints);
  // Hints in the old colour may not read well on dots of a new colour.
  if (hints && (OnColor != StartOnColor || OffColor != StartOffColor)) {
    HintColor = chooseColour(HintColor, i18n("Hint Color"));
    layout->colourLabels(HintColor);
  }
}

void Tessaron::moveWindow(const WindowChange& change) {
  if (change.width) platform_.setWindowWidth(*change.width);
  if (change.height) platform_.setWindowHeight(*change.height);
  if (change.left) platform_.setWindowLeft(*change.left);
  if (change.top) platform_.setWindowTop(*change.top);
}

void Tessaron::Seconds_Click() {
  const bool seconds = !commands->checked(Command::Seconds);
  commands->setChecked(Command::Seconds, seconds);
  moveWindow(layout->showSeconds(seconds, commands->checked(Command::Vertical),
                                 commands->checked(Command::Numbers), platform_.windowLeft(),
                                 platform_.windowScreen()));
  redrawTime();
}

void Tessaron::Vertical_Click() {
  const bool columns = !commands->checked(Command::Vertical);
  commands->setChecked(Command::Vertical, columns);
  const bool seconds = commands->checked(Command::Seconds),
             hints = commands->checked(Command::Numbers);
  if (columns) {
    moveWindow(layout->enterColumns(seconds, hints, HintColor, platform_.windowTop(),
                                    platform_.windowScreen()));
  } else {
    moveWindow(
        layout->enterRow(zone->selectorMiddle(), seconds, hints, HintColor, platform_.windowTop()));
  }
  redrawTime();
}

void Tessaron::AltTimeZone_Click() {
  // Asked for before start-up got to the catalogue: it is read now, once.
  if (!loadZoneCatalogue()) return;
  const bool shown = !commands->checked(Command::AltTimeZone);
  commands->setChecked(Command::AltTimeZone, shown);
  if (shown) {
    zone->showSelector(platform_, belowToolbar());
  } else {
    zone->hideLabel();
  }
  redrawTime();
}

void Tessaron::Combo1_Click(int Index) {
  zone->Combo1_Click(Index, belowToolbar());
  redrawTime();
}

void Tessaron::selectZone(int Index, int listIndex) {
  zone->selectZone(Index, listIndex, belowToolbar());
  redrawTime();
}

void Tessaron::Preferences_Click() {
  SavedPreferences p;
  p.OnColor = OnColor;
  p.OffColor = OffColor;
  p.HintColor = HintColor;
  p.Numbers = commands->checked(Command::Numbers);
  p.Seconds = commands->checked(Command::Seconds);
  p.Music = commands->checked(Command::Music);
  p.Always = commands->checked(Command::Always);
  // Where the window system never tells the position, the one saved before stays.
  const bool known = platform_.knowsWindowPosition();
  p.Top = static_cast<float>((known ? platform_.windowTop() : SavedTop).count());
  p.Left = (known ? platform_.windowLeft() : SavedLeft).count();
  p.MusicFile = music->musicFile();
  p.Vertical = commands->checked(Command::Vertical);
  const std::string path = SettingsFolder + kPreferencesFileName;
  if (const auto error = platform_.writeFileReplacing(path, formatPreferences(p))) {
    // A failed save leaves what was there: say which of the two that is.
    const bool hadSaved =
        platform_.readFile(path, kMaxPreferencesBytes).status != FileRead::Status::Missing;
    // TRANSLATORS: %1 is the file, %2 the system's reason.
    platform_.messageBox(
        hadSaved
            ? i18n("Unable to save the preferences to %1 (%2). The preferences saved "
                   "before are unchanged.",
                   path, *error)
            : i18n("Unable to save the preferences to %1 (%2). Nothing was saved.", path, *error),
        MessageStyle::Exclamation, Caption);
    return;
  }
  platform_.announce(translate(kPreferencesSaved));
  if (!PortableFolder.empty() && !SavedElsewhereTold) {
    SavedElsewhereTold = true;
    // TRANSLATORS: %1 is the program's folder, %2 the file the preferences went to.
    platform_.messageBox(i18n("The program's folder %1 cannot be written to, so the "
                              "preferences were saved to %2, where the clock will find them "
                              "at its next start.",
                              PortableFolder, path),
                         MessageStyle::Information, Caption);
  }
}

void Tessaron::loadZoom() {
  FileRead file = platform_.readFile(SettingsFolder + kViewSettingsFileName, 256);
  // A read-only portable copy starts at the size kept beside it, as it does with its
  // "Tessa.sav", until a size is kept in the settings folder.
  if (file.status == FileRead::Status::Missing && !PortableFolder.empty()) {
    file = platform_.readFile(PortableFolder + kViewSettingsFileName, 256);
  }
  // A damaged or strange file costs only the size: the clock starts at its normal one.
  Zoom = file.status == FileRead::Status::Read
             ? parseViewSettings(file.contents).value_or(kNormalZoom)
             : kNormalZoom;
}

void Tessaron::setZoom(int percent) {
  if (percent == Zoom) return;
  Zoom = percent;
  const std::string path = SettingsFolder + kViewSettingsFileName;
  const auto error = platform_.writeFileReplacing(path, formatViewSettings(Zoom));
  // Said once a run: the next changes fail alike, and a dialog at each step would stand
  // between the user and every zoom.
  if (error && !ZoomNotKeptTold) {
    ZoomNotKeptTold = true;
    // TRANSLATORS: %1 is the file, %2 the system's reason.
    platform_.messageBox(i18n("The clock's size could not be kept in %1 (%2). It shows at "
                              "this size until the clock closes.",
                              path, *error),
                         MessageStyle::Exclamation, Caption);
  }
}

void Tessaron::fitZoom(bool keepInside) {
  const ScreenArea area = platform_.windowWorkArea();
  const auto fits = [&](int percent) {
    const WindowSize size = platform_.windowSizeAt(percent);
    return size.width <= area.width && size.height <= area.height;
  };
  // The normal size stays, fitting or not: there is no smaller one.
  ShownZoom = kZoomSteps.front();
  for (int step : kZoomSteps) {
    if (step <= Zoom && fits(step)) ShownZoom = step;
  }
  const int larger = stepZoom(ShownZoom, +1);
  commands->setEnabled(Command::ZoomIn, larger != ShownZoom && fits(larger));
  // At the normal size the arrangements' own rules place the window.
  if (!keepInside || ShownZoom == kNormalZoom) return;
  const WindowSize size = platform_.windowSizeAt(ShownZoom);
  const Twips L = platform_.windowLeft(), T = platform_.windowTop();
  const Twips left = std::max(area.left, std::min(L, area.left + area.width - size.width));
  const Twips top = std::max(area.top, std::min(T, area.top + area.height - size.height));
  if (left != L) platform_.setWindowLeft(left);
  if (top != T) platform_.setWindowTop(top);
}

// Each step starts from the size shown, which may be below the one chosen.
void Tessaron::ZoomIn_Click() {
  if (!commands->enabled(Command::ZoomIn)) return;
  setZoom(stepZoom(ShownZoom, +1));
  fitZoom(true);
}
void Tessaron::ZoomOut_Click() {
  setZoom(stepZoom(ShownZoom, -1));
  fitZoom(true);
}
void Tessaron::ZoomReset_Click() {
  setZoom(kNormalZoom);
  fitZoom(true);
}

std::string Tessaron::autostartPath() const {
  return AutostartFolder.empty() ? "" : AutostartFolder + kAutostartFileName;
}

void Tessaron::StartAtLogin_Click() {
  const std::string path = autostartPath();
  if (path.empty()) return;
  const bool on = !commands->checked(Command::StartAtLogin);
  const auto error = on ? platform_.writeFileReplacing(path, formatAutostartEntry(StartCommand))
                        : platform_.removeFile(path);
  if (error) {
    // TRANSLATORS: %1 is the desktop's autostart file, %2 the system's reason.
    platform_.messageBox(
        on ? i18n("The clock could not be set to start at login: %1 could not be written (%2).",
                  path, *error)
           : i18n("The clock could not be kept from starting at login: %1 could not be "
                  "removed (%2).",
                  path, *error),
        MessageStyle::Exclamation, Caption);
    return;
  }
  commands->setChecked(Command::StartAtLogin, on);
}

}  // namespace tessaron
