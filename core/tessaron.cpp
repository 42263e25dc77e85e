#include "core/tessaron.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "commands/command_bar.h"
#include "commands/confirmations.h"
#include "commands/dialogs.h"
#include "commands/help.h"
#include "commands/music.h"
#include "core/preferences.h"
#include "i18n/i18n.h"
#include "layout/dot_layout.h"
#include "timezones/alternate_zone.h"

namespace tessaron {

namespace {
// How long after the start of a second the tick comes: enough for a timer that rounds its
// wait, and well within what the eye takes for the second's start.
constexpr int kTickAfterSecond = 2;  // ms
}  // namespace

Tessaron::Tessaron(Platform& platform)
    : zone_(std::make_unique<AlternateZone>()),
      layout_(std::make_unique<DotLayout>(zone_->selectorMiddle())),
      commands_(std::make_unique<CommandBar>()),
      music_(std::make_unique<BackgroundMusic>()),
      platform_(platform) {}

Tessaron::~Tessaron() = default;

const std::array<Shape, kDotCount>& Tessaron::dots() const { return layout_->dots(); }
const std::array<Label, kDotCount>& Tessaron::hints() const { return layout_->hints(); }
const ComboBox& Tessaron::zoneSelector() const { return zone_->selector(); }
const Label& Tessaron::zoneLabel() const { return zone_->label(); }
std::vector<int> Tessaron::findZones(const std::string& typed) const {
  return zone_->find(platform_, typed);
}
const std::string& Tessaron::chosenZone() const { return zone_->zonePair()[1].Display; }
const MenuItem& Tessaron::item(Command command) const { return commands_->item(command); }
const Toolbar& Tessaron::toolbar() const { return commands_->toolbar(); }

std::string Tessaron::readout() const { return readoutText(shown_, platform_.localNow()); }

void Tessaron::Form_Load() {
  loadWindow();
  loadZoneCatalogue();
}

void Tessaron::loadWindow() {
  RedrawAll = true;
  const ProgramInfo program = platform_.programInfo();
  AppFolder = program.dataFolder + "/";
  settingsFolder_ = program.settingsFolder + "/";
  userFolder_ = program.userFolder + "/";
  portableFolder_ = program.portableFolder.empty() ? "" : program.portableFolder + "/";
  autostartFolder_ = program.autostartFolder.empty() ? "" : program.autostartFolder + "/";
  startCommand_ = program.startCommand;
  layout_->measure(commands_->toolbar().ButtonWidth);
  zone_->hideLabel();

  SavedPreferences saved;  // the first-start values
  loadZoom();
  std::string savePath = settingsFolder_ + kPreferencesFileName;
  FileRead file = platform_.readFile(savePath, kMaxPreferencesBytes);
  // A portable copy on a read-only medium still starts with the choices beside it until
  // the user has saved elsewhere.
  if (file.status == FileRead::Status::Missing && !portableFolder_.empty()) {
    savePath = portableFolder_ + kPreferencesFileName;
    file = platform_.readFile(savePath, kMaxPreferencesBytes);
  }
  if (file.status != FileRead::Status::Missing) {
    const auto read =
        file.status == FileRead::Status::Read ? parsePreferences(file.contents) : std::nullopt;
    if (read) {
      saved = *read;
    } else {
      // Nothing is promised of saving: a folder or an unwritable file would refuse it.
      const std::string reason =
          file.status == FileRead::Status::Read ? i18n("it is damaged") : file.reason;
      // TRANSLATORS: %1 is the preferences file, %2 why it could not be read.
      platform_.messageBox(i18n("The preferences in %1 could not be read (%2). The clock starts "
                                "with its first-start settings and leaves the file as it is.",
                                savePath, reason),
                           MessageStyle::Exclamation, Caption);
    }
  }
  OnColor = saved.OnColor;
  OffColor = saved.OffColor;
  HintColor = saved.HintColor;
  music_->useSaved(saved.MusicFile);

  // Each switch starts inverted, so that its handler below turns it to the saved state.
  commands_->setChecked(Command::Numbers, !saved.Numbers);
  commands_->setChecked(Command::Seconds, !saved.Seconds);
  commands_->setChecked(Command::Music, !saved.Music);
  commands_->setChecked(Command::Always, !saved.Always);
  commands_->setChecked(Command::Vertical, !saved.Vertical);

  // A desktop that never says where the window stands keeps these for the next save.
  SavedTop = Twips(saved.Top);
  SavedLeft = Twips(saved.Left);
  if (!platform_.canKeepOnTop()) {
    commands_->makeUnavailable(Command::Always, translate(kNoKeepOnTop));
  }
  platform_.setWindowTop(Twips(saved.Top));
  // Read back as the 32-bit whole twips the file's reader stored.
  platform_.setWindowLeft(Twips(static_cast<std::int32_t>(roundHalfEven(saved.Left))));
  // Before anything is placed against the window, such as the music prompt.
  keepWindowOnScreen();

  StartOnColor = OnColor;
  StartOffColor = OffColor;
  layout_->hangRowLabels(HintColor);

  Numbers_Click();
  Seconds_Click();
  Music_Click();
  Always_Click();
  Vertical_Click();
  keepWindowOnScreen();
  fitZoom(true);
  // The entry may have been made or removed while the clock was closed.
  if (autostartPath().empty()) {
    commands_->setEnabled(Command::StartAtLogin, false);
  } else {
    commands_->setChecked(Command::StartAtLogin, platform_.isOrdinaryFile(autostartPath()));
  }

  BackgroundColor = platform_.windowBackgroundColour();
  // The selector, shown as built, waits hidden for the catalogue's start-up selection.
  zone_->hideSelector();
  // The window's first frame already shows the time.
  Timer1_Timer();
}

bool Tessaron::checkZoneCatalogue() {
  if (!catalogueRead_ && !zone_->catalogueFound(platform_)) {
    catalogueRead_ = true;
    unloaded_ = true;
  }
  return !unloaded_;
}

bool Tessaron::loadZoneCatalogue() {
  if (!catalogueRead_) {
    catalogueRead_ = true;
    unloaded_ = !zone_->LoadZoneCatalogue(platform_, belowToolbar());
  }
  return !unloaded_;
}

void Tessaron::keepWindowOnScreen() {
  const Twips L = platform_.windowLeft(), T = platform_.windowTop();
  const Twips W = platform_.windowWidth(), H = platform_.windowHeight();
  const std::vector<ScreenArea> screens = platform_.screens();
  for (const ScreenArea& s : screens) {
    if (L < s.left + s.width && L + W > s.left && T < s.top + s.height && T + H > s.top) return;
  }
  if (screens.empty()) return;
  // Saved on a screen that is gone: bring it back onto the primary one, as near as fits.
  const ScreenArea& s = screens.front();
  const Twips left = std::max(s.left, std::min(L, s.left + s.width - W));
  const Twips top = std::max(s.top, std::min(T, s.top + s.height - H));
  platform_.setWindowTop(top);
  platform_.setWindowLeft(left);
}

void Tessaron::windowShown() { fitZoom(true); }
void Tessaron::screenChanged() { fitZoom(false); }

void Tessaron::Form_Terminate() { music_->StopMusic(platform_, AppFolder); }

void Tessaron::Timer1_Timer() { showTime(platform_.clockNow()); }

void Tessaron::redrawTime() {
  RedrawAll = true;
  showTime(platform_.clockNow());
}

void Tessaron::systemZoneChanged() {
  if (unloaded_) return;
  // Not read yet: it will be read with the system's zone of then.
  if (catalogueRead_) zone_->followSystem(platform_, platform_.clockNow().utc);
  redrawTime();
}

void Tessaron::showTime(const ClockReading& now) {
  // A zone's standard offset changed (a zone moving to year-round daylight time): the list
  // and the label name the new one.
  if (now.utc >= zone_->listedUntil()) zone_->followSystem(platform_, now.utc);
  using namespace std::chrono;
  ZoneTime wall = now.local;
  if (commands_->checked(Command::AltTimeZone)) {
    zone_->UpdateAltTime(platform_, now.utc);
    wall = zone_->altTime();
  }
  const hh_mm_ss<seconds> t{wall - floor<days>(wall)};
  const int H = static_cast<int>(t.hours().count());
  const int M = static_cast<int>(t.minutes().count());
  const int S = static_cast<int>(t.seconds().count());
  // Besides the design's seconds 0 and 1: whenever the hour or minute shown is not the
  // one now, as after a jump of the clock.
  const bool hourMinute = RedrawAll || S <= 1 || H * 60 + M != drawnHourMinute_;
  if (hourMinute) drawnHourMinute_ = H * 60 + M;

  // The words take this tick's own instant, not the last redraw's: across a fall-back the
  // same wall time comes again an hour later at another offset, and a clock that slept
  // over it has drawn no dot in between.
  shown_.drawn = true;
  shown_.hour = H;
  shown_.minute = M;
  shown_.alternate = commands_->checked(Command::AltTimeZone);
  if (shown_.alternate) {
    shown_.alternateAt = wall;
    shown_.alternateOffset = zone_->altOffset();
    shown_.zone = zoneName(zone_->zonePair()[1]);
  }
  shown_.withSeconds = commands_->checked(Command::Seconds);
  if (commands_->checked(Command::Seconds)) shown_.second = S;

  // A timer that fires a little early shows the same second once more and comes back a few
  // milliseconds later. With the seconds hidden no dot changes before the next minute.
  const int toNextSecond = 1000 - now.millisecond + kTickAfterSecond;
  timerInterval_ =
      commands_->checked(Command::Seconds) ? toNextSecond : (59 - S) * 1000 + toNextSecond;
  ++timerSettings_;

  const bool columns = commands_->checked(Command::Vertical);
  if (hourMinute) {
    RedrawAll = false;
    layout_->fillDots(0, lastDotOf(columns, true), OffColor);
  }
  // Each run of the arrangement's dots shows its number, highest bit first: the hour and
  // minute runs when they are redrawn, the seconds' while they show.
  auto showRuns = [&](const auto& runs) {
    for (const DotRun& run : runs) {
      const bool second = run.field == TimeField::Second;
      if (second ? !commands_->checked(Command::Seconds) : !hourMinute) continue;
      const int value = run.field == TimeField::Hour ? H : run.field == TimeField::Minute ? M : S;
      DisplayTime(run.valueOf(value), run.first, run.bits - 1, run.bits - 1);
    }
  };
  if (columns) {
    showRuns(kColumnRuns);
  } else {
    showRuns(kRowRuns);
  }
}

void Tessaron::DisplayTime(int value, int f, int n, int p) {
  layout_->light(value, f, n, p, OnColor, OffColor);
}

void Tessaron::run(Command command) {
  const bool wasChecked = item(command).Checked;
  dispatch(command);
  const MenuItem& after = item(command);
  // A switch the desktop cannot apply says why; one left as it was (a prompt cancelled, a
  // file that cannot play) has nothing to confirm.
  if (command == Command::Always && !after.Enabled) {
    platform_.announce(translate(kNoKeepOnTop));
    return;
  }
  if (menuEntry(command).isSwitch && after.Checked == wasChecked) return;
  const std::string text = confirmation(command, after.Checked, shownZoom_);
  if (!text.empty()) platform_.announce(text);
}

void Tessaron::dispatch(Command command) {
  switch (command) {
    case Command::Always:
      return Always_Click();
    case Command::Music:
      return Music_Click();
    case Command::Numbers:
      return Numbers_Click();
    case Command::Seconds:
      Seconds_Click();
      // A wider window may no longer fit the screen at its zoom.
      return fitZoom(true);
    case Command::On:
      return On_Click();
    case Command::Off:
      return Off_Click();
    case Command::Transparent:
      return Transparent_Click();
    case Command::AltTimeZone:
      return AltTimeZone_Click();
    case Command::Preferences:
      return Preferences_Click();
    case Command::Vertical:
      Vertical_Click();
      return fitZoom(true);
    case Command::ZoomIn:
      return ZoomIn_Click();
    case Command::ZoomOut:
      return ZoomOut_Click();
    case Command::ZoomReset:
      return ZoomReset_Click();
    case Command::StartAtLogin:
      return StartAtLogin_Click();
    case Command::HelpFile:
      return HelpFile_Click();
    case Command::ShortCut:
      return ShortCut_Click();
    case Command::About:
      return About_Click();
    case Command::Support:
      return Support_Click();
  }
}

void Tessaron::clickToolbarButton(int index) {
  if (const ToolbarButton* button = commands_->press(index)) Toolbar1_ButtonClick(*button);
}

void Tessaron::Toolbar1_ButtonClick(const ToolbarButton& button) {
  const MenuEntry* entry = toolbarEntry(button.Key);
  if (entry == nullptr) return;
  run(entry->command);
  // The button shows the switch's mark, whatever the handler made of the click.
  if (entry->isSwitch) commands_->setChecked(entry->command, commands_->checked(entry->command));
}

void Tessaron::HelpFile_Click() {
  showHelpFile(platform_, helpFile(platform_, AppFolder, "Tessa.hlp"), Caption);
}
void Tessaron::ShortCut_Click() {
  showHelpFile(platform_, helpFile(platform_, AppFolder, "TSShortcut.hlp"), Caption);
}
void Tessaron::About_Click() { showAbout(platform_, shownZoom_); }
void Tessaron::Support_Click() { showSupport(platform_, shownZoom_); }

}  // namespace tessaron
