#pragma once
// The main window "Tessaron": the design's handlers over the clock's subsystems (the
// dots, the alternate zone, the menus and toolbar, the music). The desktop forwards
// its events here (Form_Load once, Timer1_Timer just after each second begins, clicks)
// and draws them.
//
// Example: at 12:34:56 in the row, a full redraw lights layout.Shape1(1) and (2)
// (hour 12 = 8 + 4), (5) and (9) (minute 34 = 32 + 2) and (11..13) (second 56 =
// 32 + 16 + 8); every other dot gets OffColor.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "commands/menu.h"
#include "core/readout.h"
#include "i18n/i18n.h"
#include "layout/dot_table.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace tessaron {

class AlternateZone;
class BackgroundMusic;
class CommandBar;
class DotLayout;
struct WindowChange;

namespace test {
struct Internals;
}

class Tessaron {
 public:
  explicit Tessaron(Platform& platform);
  ~Tessaron();
  Tessaron(const Tessaron&) = delete;
  Tessaron& operator=(const Tessaron&) = delete;

  // Start-up whole: the window, then the zone catalogue.
  void Form_Load();
  // Start-up in two steps, so that the window shows the time before the zone catalogue
  // (hundreds of zone files) is read: the window's state and the first tick, then, once
  // the first frame is on screen, the catalogue. The alternate zone is always off at start,
  // so nothing shown waits for it; the zone option reads it first should it come sooner.
  // The catalogue is read once; false when there is none (the program ends).
  void loadWindow();
  bool loadZoneCatalogue();
  // What start-up does instead of loadZoneCatalogue where the catalogue can wait for the
  // zone option: the user is told at start that there is none (false, the program ends),
  // and a clock whose zone option is never used never holds it.
  bool checkZoneCatalogue();
  void Form_Terminate();
  // Shows the time and sets timerInterval_ for the next tick.
  void Timer1_Timer();
  // Shows `value` in binary on dots f..f+n, bit p on dot f and down from there; the dot
  // table gives each run's triple (the row's minute: f 5, n 5, p 5).
  void DisplayTime(int value, int f, int n, int p);
  // Repaints every dot at once with the time now: for any change of what the dots mean
  // (the zone shown) or how they look (colours, arrangement, seconds).
  void redrawTime();
  // The system's zone was changed under the running clock: the local list follows it and
  // every dot shows the time now, at once.
  void systemZoneChanged();
  // The window was framed and placed on the desktop for the first time: the zoom shown
  // fits its screen, and a zoomed window stands wholly on it.
  void windowShown();
  // The window's screen, that screen's free area or the window's frame changed: the zoom
  // shown is again the largest step up to the chosen one that fits.
  void screenChanged();

  // Menu handlers, Options then Help; run() reaches the one a command names.
  void Always_Click(), Music_Click(), Numbers_Click(), Seconds_Click(), On_Click(), Off_Click();
  void Transparent_Click(), AltTimeZone_Click(), Preferences_Click(), Vertical_Click();
  void ZoomIn_Click(), ZoomOut_Click(), ZoomReset_Click(), StartAtLogin_Click();
  void HelpFile_Click(), ShortCut_Click(), About_Click(), Support_Click();
  // The user's command: its handler, then a word for a screen reader when its effect is
  // only seen (start-up runs the handlers themselves, and says nothing).
  void run(Command command);

  // The toolbar's click notification; a check-style button has already flipped its Value.
  void Toolbar1_ButtonClick(const ToolbarButton& button);
  // What the toolkit does on a click of button `index` (1-based): flips, then notifies.
  void clickToolbarButton(int index);

  void Combo1_Click(int Index);
  // What the zone list does when its selection is set, by the user or the program.
  void selectZone(int Index, int listIndex);
  // The selector's entries that hold the typed text in their name, city or country, best
  // first; nothing for an empty text.
  std::vector<int> findZones(const std::string& typed) const;

  // What the desktop draws, read-only: the dots and their hints, the zone selector and the
  // label that stands in for it, the menus and toolbar, the title, the zoom.
  const std::array<Shape, kDotCount>& dots() const;
  const std::array<Label, kDotCount>& hints() const;
  const ComboBox& zoneSelector() const;
  const Label& zoneLabel() const;
  // The alternate zone as its list names it: "(UTC+09:00) Asia/Tokyo".
  const std::string& chosenZone() const;
  const MenuItem& item(Command command) const;
  const Toolbar& toolbar() const;
  const std::string& caption() const { return Caption; }
  // The zoom the clock is drawn at: the chosen one, or the largest step below it that fits
  // the screen the window is on.
  int zoom() const { return shownZoom_; }
  int chosenZoom() const { return chosenZoom_; }
  // Milliseconds from the last reading of the clock to the next tick.
  int timerInterval() const { return timerInterval_; }
  // Counts every new setting of the interval (a tick, a redraw), so that the desktop re-arms
  // its timer when a command changes what the next tick must catch.
  std::uint64_t timerSettings() const { return timerSettings_; }
  // Start-up found no zone catalogue: the program ends.
  bool unloaded() const { return unloaded_; }
  // What the last tick drew, for the readout and screen readers.
  const ShownTime& shown() const { return shown_; }
  // The readout of what the last tick drew, dated by the desktop's local date while the
  // dots show the local time.
  std::string readout() const;

  // The subsystems whole, read-only, for readers that check them (tests, the behaviour dump).
  const AlternateZone& alternateZone() const { return *zone_; }
  const DotLayout& dotLayout() const { return *layout_; }
  const CommandBar& commandBar() const { return *commands_; }
  const BackgroundMusic& backgroundMusic() const { return *music_; }
  struct Colours {
    Colour OnColor, OffColor, HintColor, StartOnColor, StartOffColor, BackgroundColor;
  };
  Colours colours() const {
    return {OnColor, OffColor, HintColor, StartOnColor, StartOffColor, BackgroundColor};
  }
  const std::string& appFolder() const { return AppFolder; }

  // In English; shown through translate().
  static constexpr const char* kNoKeepOnTop = I18N_NOOP(
      "Always on Top is not available: this desktop does not let a program keep its "
      "window above others");
  // The design's client area, before start-up sets the window's size.
  static constexpr Twips kDesignClientWidth = 4956_tw, kDesignClientHeight = 1248_tw;

 private:
  // Tests set up what no command reaches (a stale dot, a narrower toolbar) through this.
  friend struct test::Internals;

  Colour OnColor = 0, OffColor = 0, HintColor = 0;
  Colour StartOnColor = 0, StartOffColor = 0, BackgroundColor = 0;
  std::string AppFolder;         // the sounds and help files shipped with the program, with "/"
  std::string settingsFolder_;   // the folder of "Tessa.sav", with "/"
  std::string userFolder_;       // the user's own .WAV files, searched before AppFolder
  std::string portableFolder_;   // a read-only portable copy's folder, or empty
  std::string autostartFolder_;  // the desktop's autostart entries, with "/"; may be empty
  std::string startCommand_;     // what an autostart entry runs to start this clock
  Twips SavedTop;                // as read at start (or the first-start values)
  Twips SavedLeft;
  bool savedElsewhereTold_ = false;  // the user knows saves go to settingsFolder_
  bool zoomNotKeptTold_ = false;     // the user knows the zoom is not kept this run
  std::string Caption = "Tessaron";
  bool RedrawAll = false;
  // Milliseconds from the last reading to the next tick: just after the wall clock's next
  // second begins while the seconds are shown, so that each is shown from its start and
  // for all of it; else just after the next minute begins.
  int timerInterval_ = 1000;
  std::uint64_t timerSettings_ = 0;
  int chosenZoom_ = 100;  // percent, one of kZoomSteps: the user's choice, kept in its file
  int shownZoom_ = 100;   // the step the desktop draws the clock at: chosenZoom_, or less to fit
  bool unloaded_ = false;
  ShownTime shown_;  // what the last tick drew, for the readout and screen readers

  // Each room owns its state; the core changes it only through the room's verbs.
  std::unique_ptr<AlternateZone> zone_;
  std::unique_ptr<DotLayout> layout_;  // after zone: the row hangs from its selector
  std::unique_ptr<CommandBar> commands_;
  std::unique_ptr<BackgroundMusic> music_;

  Platform& platform_;
  bool catalogueRead_ = false;     // read once, at start-up or at the zone option if sooner
  void dispatch(Command command);  // the command's handler
  // The sound service could not play the music: the switch falls back to off, with word why.
  void MusicUnplayable(const std::string& reason);
  void keepWindowOnScreen();
  // Gives the window what the layout asks of it: size first, then place.
  void moveWindow(const WindowChange& change);
  void loadZoom();
  void setZoom(int percent);  // and keeps it for the next start
  // shownZoom_ and Zoom In's state from what fits the window's screen; `keepInside` also
  // moves a zoomed window that would reach past the screen's edges back onto it.
  void fitZoom(bool keepInside);
  std::string autostartPath() const;  // empty: the desktop has no autostart folder
  void showTime(const ClockReading& now);
  int drawnHourMinute_ = -1;   // hour * 60 + minute on the dots; -1 before the first
  Twips belowToolbar() const;  // where the zone selector and its label stand
  // The colour the user picks, starting from `current`; `current` again on Cancel. The
  // chooser's title names the colour it changes, e.g. "On Color".
  Colour chooseColour(Colour current, const std::string& title);
};

}  // namespace tessaron
