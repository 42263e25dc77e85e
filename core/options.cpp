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
  return commands_->toolbar().Top + commands_->toolbar().Height + layout_->labelOffset();
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
  const bool topmost = !commands_->checked(Command::Always);
  commands_->setChecked(Command::Always, topmost);
  // Where the desktop cannot keep it above others, the saved choice stays for the next
  // session that can, and the switch is shown unavailable.
  if (!commands_->enabled(Command::Always)) return;
  platform_.setTopmost(topmost);
}

void Tessaron::Music_Click() {
  if (commands_->checked(Command::Music)) {
    commands_->setChecked(Command::Music, false);
    music_->StopMusic(platform_, AppFolder);
    commands_->setMusicCaption(false, music_->musicFile());
    return;
  }
  commands_->setChecked(Command::Music, true);
  std::string notFound;
  const bool playing = music_->choose(
      platform_, userFolder_, AppFolder,
      [this](const std::string& reason) { MusicUnplayable(reason); }, &notFound);
  commands_->setChecked(Command::Music, playing);
  commands_->setMusicCaption(playing, music_->musicFile());
  // An empty answer is a change of mind; a name that finds nothing gets told as a file
  // that cannot play does.
  if (!playing && !notFound.empty()) {
    // TRANSLATORS: %1 is the file name typed, %2 the folder it was looked for in.
    platform_.messageBox(i18n("The music cannot play: %1 was not found in %2. The music is "
                              "switched off.",
                              notFound, userFolder_),
                         MessageStyle::Exclamation, Caption);
  }
}

void Tessaron::MusicUnplayable(const std::string& reason) {
  // Turned off (or on again with another file) since: that request is not this one's.
  if (!commands_->checked(Command::Music)) return;
  commands_->setChecked(Command::Music, false);
  commands_->setMusicCaption(false, music_->musicFile());
  // TRANSLATORS: %1 says why, e.g. "it is not a .WAV file".
  platform_.messageBox(i18n("The music cannot play: %1. The music is switched off.", reason),
                       MessageStyle::Exclamation, Caption);
}

void Tessaron::Numbers_Click() {
  const bool hints = !commands_->checked(Command::Numbers);
  commands_->setChecked(Command::Numbers, hints);
  layout_->show(commands_->checked(Command::Vertical), commands_->checked(Command::Seconds), hints);
  // Hints in the old colour may not read well on dots of a new colour.
  if (hints && (OnColor != StartOnColor || OffColor != StartOffColor)) {
    HintColor = chooseColour(HintColor, i18n("Hint Color"));
    layout_->colourLabels(HintColor);
  }
}

void Tessaron::moveWindow(const WindowChange& change) {
  if (change.width) platform_.setWindowWidth(*change.width);
  if (change.height) platform_.setWindowHeight(*change.height);
  if (change.left) platform_.setWindowLeft(*change.left);
  if (change.top) platform_.setWindowTop(*change.top);
}

void Tessaron::Seconds_Click() {
  const bool seconds = !commands_->checked(Command::Seconds);
  commands_->setChecked(Command::Seconds, seconds);
  moveWindow(layout_->showSeconds(seconds, commands_->checked(Command::Vertical),
                                  commands_->checked(Command::Numbers), platform_.windowLeft(),
                                  platform_.windowScreen()));
  redrawTime();
}

void Tessaron::Vertical_Click() {
  const bool columns = !commands_->checked(Command::Vertical);
  commands_->setChecked(Command::Vertical, columns);
  const bool seconds = commands_->checked(Command::Seconds),
             hints = commands_->checked(Command::Numbers);
  if (columns) {
    moveWindow(layout_->enterColumns(seconds, hints, HintColor, platform_.windowTop(),
                                     platform_.windowScreen()));
  } else {
    moveWindow(layout_->enterRow(zone_->selectorMiddle(), seconds, hints, HintColor,
                                 platform_.windowTop()));
  }
  redrawTime();
}

void Tessaron::AltTimeZone_Click() {
  // Asked for before start-up got to the catalogue: it is read now, once.
  if (!loadZoneCatalogue()) return;
  const bool shown = !commands_->checked(Command::AltTimeZone);
  commands_->setChecked(Command::AltTimeZone, shown);
  if (shown) {
    zone_->showSelector(platform_, belowToolbar());
  } else {
    zone_->hideLabel();
  }
  redrawTime();
}

void Tessaron::Combo1_Click(int Index) {
  zone_->Combo1_Click(Index, belowToolbar());
  redrawTime();
}

void Tessaron::selectZone(int Index, int listIndex) {
  zone_->selectZone(Index, listIndex, belowToolbar());
  redrawTime();
}

void Tessaron::Preferences_Click() {
  SavedPreferences p;
  p.OnColor = OnColor;
  p.OffColor = OffColor;
  p.HintColor = HintColor;
  p.Numbers = commands_->checked(Command::Numbers);
  p.Seconds = commands_->checked(Command::Seconds);
  p.Music = commands_->checked(Command::Music);
  p.Always = commands_->checked(Command::Always);
  // Where the window system never tells the position, the one saved before stays.
  const bool known = platform_.knowsWindowPosition();
  p.Top = static_cast<float>((known ? platform_.windowTop() : SavedTop).count());
  p.Left = (known ? platform_.windowLeft() : SavedLeft).count();
  p.MusicFile = music_->musicFile();
  p.Vertical = commands_->checked(Command::Vertical);
  const std::string path = settingsFolder_ + kPreferencesFileName;
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
  if (!portableFolder_.empty() && !savedElsewhereTold_) {
    savedElsewhereTold_ = true;
    // TRANSLATORS: %1 is the program's folder, %2 the file the preferences went to.
    platform_.messageBox(i18n("The program's folder %1 cannot be written to, so the "
                              "preferences were saved to %2, where the clock will find them "
                              "at its next start.",
                              portableFolder_, path),
                         MessageStyle::Information, Caption);
  }
}

void Tessaron::loadZoom() {
  FileRead file = platform_.readFile(settingsFolder_ + kViewSettingsFileName, 256);
  // A read-only portable copy starts at the size kept beside it, as it does with its
  // "Tessa.sav", until a size is kept in the settings folder.
  if (file.status == FileRead::Status::Missing && !portableFolder_.empty()) {
    file = platform_.readFile(portableFolder_ + kViewSettingsFileName, 256);
  }
  // A damaged or strange file costs only the size: the clock starts at its normal one.
  chosenZoom_ = file.status == FileRead::Status::Read
                    ? parseViewSettings(file.contents).value_or(kNormalZoom)
                    : kNormalZoom;
}

void Tessaron::setZoom(int percent) {
  if (percent == chosenZoom_) return;
  chosenZoom_ = percent;
  const std::string path = settingsFolder_ + kViewSettingsFileName;
  const auto error = platform_.writeFileReplacing(path, formatViewSettings(chosenZoom_));
  // Said once a run: the next changes fail alike, and a dialog at each step would stand
  // between the user and every zoom.
  if (error && !zoomNotKeptTold_) {
    zoomNotKeptTold_ = true;
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
  shownZoom_ = kZoomSteps.front();
  for (int step : kZoomSteps) {
    if (step <= chosenZoom_ && fits(step)) shownZoom_ = step;
  }
  const int larger = stepZoom(shownZoom_, +1);
  commands_->setEnabled(Command::ZoomIn, larger != shownZoom_ && fits(larger));
  // At the normal size the arrangements' own rules place the window.
  if (!keepInside || shownZoom_ == kNormalZoom) return;
  const WindowSize size = platform_.windowSizeAt(shownZoom_);
  const Twips L = platform_.windowLeft(), T = platform_.windowTop();
  const Twips left = std::max(area.left, std::min(L, area.left + area.width - size.width));
  const Twips top = std::max(area.top, std::min(T, area.top + area.height - size.height));
  if (left != L) platform_.setWindowLeft(left);
  if (top != T) platform_.setWindowTop(top);
}

// Each step starts from the size shown, which may be below the one chosen.
void Tessaron::ZoomIn_Click() {
  if (!commands_->enabled(Command::ZoomIn)) return;
  setZoom(stepZoom(shownZoom_, +1));
  fitZoom(true);
}
void Tessaron::ZoomOut_Click() {
  setZoom(stepZoom(shownZoom_, -1));
  fitZoom(true);
}
void Tessaron::ZoomReset_Click() {
  setZoom(kNormalZoom);
  fitZoom(true);
}

std::string Tessaron::autostartPath() const {
  return autostartFolder_.empty() ? "" : autostartFolder_ + kAutostartFileName;
}

void Tessaron::StartAtLogin_Click() {
  const std::string path = autostartPath();
  if (path.empty()) return;
  const bool on = !commands_->checked(Command::StartAtLogin);
  const auto error = on ? platform_.writeFileReplacing(path, formatAutostartEntry(startCommand_))
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
  commands_->setChecked(Command::StartAtLogin, on);
}

}  // namespace tessaron
