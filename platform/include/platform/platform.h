#pragma once
// What the clock needs of the desktop, in the clock's own units: twips for every
// position and size, colours as 32-bit values. The core calls only this; the Qt
// side implements it, and tests fake it.
//
// Example: a window whose outer frame is 330 x 133 logical pixels reports
// width() == 4950 and height() == 1995 twips (15 twips per logical pixel).

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/twips.h"

namespace tessaron {

// red + 256 * green + 65536 * blue; a negative value refers to a system colour
// (0x80000000 | index) and is passed through unchanged.
using Colour = std::int32_t;

constexpr Colour kSystemColourFlag = static_cast<Colour>(0x80000000u);
constexpr Colour kButtonFace = static_cast<Colour>(0x8000000Fu);  // the window-face colour

constexpr Colour rgb(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

// An instant, in whole seconds (Unix time), and a wall time on some zone's clock: two types,
// so that one is never passed for the other. Civil dates and times are read off either with
// std::chrono::year_month_day and hh_mm_ss.
using UtcTime = std::chrono::sys_seconds;
using ZoneTime = std::chrono::local_seconds;

// How far a clock is ahead of UTC, east positive: every offset inside the program is one.
// Only a zone's rules count minutes west (Bias), as the zone catalogue lays them out, and
// turn into offsets here.
using UtcOffset = std::chrono::duration<std::int32_t>;
constexpr UtcOffset offsetOfBias(std::int32_t biasMinutesWest) {
  return std::chrono::duration_cast<UtcOffset>(std::chrono::minutes(-biasMinutesWest));
}
// The wall time at `offset` of an instant.
constexpr ZoneTime wallTimeAt(UtcTime t, UtcOffset offset) {
  return ZoneTime{t.time_since_epoch() + offset};
}
// The instant at which a clock `offset` ahead of UTC shows `wall`.
constexpr UtcTime instantOfWall(ZoneTime wall, UtcOffset offset) {
  return UtcTime{wall.time_since_epoch() - offset};
}

// The system clock read once: the instant, the local wall time at it, and how far into
// its second it is (the same for both, zones being whole minutes apart).
//
// Example: 2026-11-01 05:30:00.250 UTC in New York: {utc 05:30:00, local 01:30:00 (EDT),
// millisecond 250}; an hour later {utc 06:30:00, local 01:30:00 (EST), 250}.
struct ClockReading {
  UtcTime utc;
  ZoneTime local;
  int millisecond = 0;  // [0:999]
};

// Message box styles.
enum class MessageStyle { Plain = 0, Exclamation = 48, Information = 64 };

// A screen's area on the desktop, in twips.
struct ScreenArea {
  Twips left;
  Twips top;
  Twips width;
  Twips height;
};

// The outer size of a window, in twips.
struct WindowSize {
  Twips width;
  Twips height;
};

// When a change happens, as the platform's SYSTEMTIME lays it out.
struct TransitionRule {
  std::uint16_t Year = 0;       // 0: weekday form; otherwise the fixed date Month/Day every year
  std::uint16_t Month = 0;      // [1:12]; 0 = the zone has no daylight time
  std::uint16_t DayOfWeek = 0;  // [0:6], 0 = Sunday (weekday form)
  std::uint16_t Day = 0;   // weekday form: occurrence [1:5], 5 = last; fixed form: day of month
  std::uint16_t Hour = 0;  // wall-clock time of the change [0:23]
  std::uint16_t Minute = 0;
  std::uint16_t Second = 0;
  std::uint16_t Milliseconds = 0;  // ignored

  bool operator==(const TransitionRule&) const = default;
};

// A zone's offsets and its two yearly changes, named as in a Windows zone's TZI value.
struct ZoneRules {
  std::int32_t Bias = 0;          // minutes: UTC = local standard time + Bias
  std::int32_t StandardBias = 0;  // kept, never applied
  std::int32_t DaylightBias = 0;  // minutes added to Bias in daylight time
  TransitionRule StandardDate;    // daylight ends; in daylight wall time
  TransitionRule DaylightDate;    // daylight begins; in standard wall time

  bool operator==(const ZoneRules&) const = default;
};

// One zone of the catalogue: its rules and its four texts. A zone that could not be read is
// an empty record, listed as an empty entry that converts as UTC.
//
// Example, New York in 2026: Bias 300, DaylightBias -60, DaylightDate {Year 0, Month 3,
// DayOfWeek 0, Day 2, 2:00:00} (second Sunday of March, 02:00 EST), StandardDate {Year 0,
// Month 11, DayOfWeek 0, Day 1, 2:00:00} (first Sunday of November, 02:00 EDT), Display
// "(UTC-05:00) America/New York", Std "America/New_York", Dlt "EDT", MapID
// "US +404251-0740023".
struct ZoneRecord : ZoneRules {
  std::string Display;  // e.g. "(UTC-05:00) America/New York"
  std::string Std;      // the zone's identifier, e.g. "America/New_York"; empty: not read
  std::string Dlt;      // its daylight abbreviation, e.g. "EDT"; empty without daylight time
  std::string MapID;    // country code and coordinates from the zone table

  bool operator==(const ZoneRecord&) const = default;
};

struct ZoneCatalogueSource {
  std::string location;            // where the catalogue lives, for the failure message
  bool found = false;              // false: there is no catalogue at all
  std::vector<ZoneRecord> zones;   // in the source's own order, west to east
  std::string systemStandardName;  // Std of the zone the system clock runs in; may be empty
  // Up to here every entry's name holds; from here some entry names another offset.
  UtcTime listedUntil = UtcTime::max();
};

// One zone through one year, as the zone database gives it: the year's two yearly rules,
// and the file's own offsets for the years those rules cannot hold.
//
// Example: America/New_York in 2026 is {found, TZI of Bias 300 / DaylightBias -60 / second
// Sunday of March 02:00 / first Sunday of November 02:00, exact}; America/Havana in 2027
// (daylight time since March 2026, standard time from 7 November) is {found, TZI of its best
// pair, not exact, from 2026-12-30 00:00 UTC at -14400 s, one change at 2027-11-07 05:00 UTC
// to -18000 s, to 2028-01-03 00:00 UTC}.
struct ZoneYear {
  struct Change {
    UtcTime at;
    UtcOffset offset{0};  // from `at` on
  };
  bool found = false;  // false: no such zone, or its file cannot be read
  ZoneRules TZI;       // the year's rules, as a catalogue entry gives them
  // true: TZI gives every instant from two days before the year to two days after it the
  // offset the zone file gives, so the yearly rules serve the whole local year.
  bool exact = false;
  UtcTime from;                 // the offsets below hold from here...
  UtcTime to;                   // ...up to here (exclusive)
  UtcOffset initialOffset{0};   // at `from`
  std::vector<Change> changes;  // from < at < to, ascending
};

// Where the program's files live, no trailing separator. A build folder or a portable
// copy keeps everything in its own folder; an installed program reads what it ships from
// its data folder and keeps the user's files in the user's own folders.
//
// Example, installed under /usr: dataFolder "/usr/share/tessaron", settingsFolder
// "/home/ann/.config/tessaron", userFolder "/home/ann/.local/share/tessaron"; run from
// /home/ann/tessaron/build, all three are "/home/ann/tessaron/build".
struct ProgramInfo {
  std::string dataFolder;      // the sounds and help files shipped with it; read-only
  std::string settingsFolder;  // where "Tessa.sav" is kept; may not exist yet
  std::string userFolder;      // the user's own .WAV files, named in the music prompt
  int major = 0;
  int minor = 0;
  int revision = 0;
  std::string companyName;
  std::string legalCopyright;
  std::string fileDescription;
  // A portable copy whose folder cannot be written: its "Tessa.sav" is still read at start
  // while settingsFolder has none. Empty otherwise.
  std::string portableFolder;
  // The desktop's autostart folder ("$XDG_CONFIG_HOME/autostart"), and the command that
  // starts this clock from there: "tessaron" installed, a copy's own path otherwise.
  // Empty: the desktop has no such folder for this user.
  std::string autostartFolder;
  std::string startCommand;
};

// A control of a small fixed window (a form), in twips from its client area's top-left.
struct FormControl {
  enum class Kind { Label, CommandButton };
  Kind kind = Kind::Label;
  std::string Name;  // e.g. "Label2", "Label1(6)", "WebSupport"
  Twips Left;
  Twips Top;
  Twips Width;
  Twips Height;
  std::string Caption;
  bool Bold = false;
  bool Centred = false;  // a label's text centred in its box; otherwise left-aligned
  // What a screen reader says for it where the caption alone says too little (a bare
  // number); empty: the caption.
  std::string AccessibleName;
};

// A small fixed window: its caption, client size and controls, and where it stands.
//
// Example: {"frmAbout", "About Tessaron", 3348 x 984, four labels} placed at
// Left 3000, Top 1200, Width 5542 opens as wide as the clock with seconds shown.
struct Form {
  std::string Name;
  std::string Caption;
  Twips ClientWidth;   // twips, as designed
  Twips ClientHeight;  // twips
  Twips Left;          // outer frame, screen twips
  Twips Top;
  Twips Width;
  // How much larger than designed its boxes are drawn (the clock's zoom and the font's
  // scale together), and its text against the desktop's font (the zoom alone, in percent).
  double Scale = 1;
  int Zoom = 100;
  std::vector<FormControl> Controls;

  const FormControl* control(const std::string& name) const {
    for (const FormControl& c : Controls) {
      if (c.Name == name) return &c;
    }
    return nullptr;
  }
  FormControl* control(const std::string& name) {
    return const_cast<FormControl*>(static_cast<const Form&>(*this).control(name));
  }
};

// What reading a file found.
//
// Example: a folder named "Tessa.sav" reads as {Failed, "", "it is a folder"}; a 1 GB
// file read with a limit of 64 KiB as {Failed, "", "it is larger than 65536 bytes"},
// without a byte of it read.
struct FileRead {
  enum class Status { Missing, Read, Failed };
  Status status = Status::Missing;  // Missing: nothing at all has that name
  std::string contents;             // Read: the file's bytes
  std::string reason;               // Failed: why, for the user
};

// The web browser control embedded in a browser window. It loads pages in the
// background; its window reports when a navigation or a download completes.
class WebBrowserControl {
 public:
  virtual ~WebBrowserControl() = default;
  // Starts loading `address`; false when the control rejects the request (not an address).
  virtual bool Navigate(const std::string& address) = 0;
  virtual std::string LocationName() = 0;  // the current page's title
  virtual std::string LocationURL() = 0;   // the current page's address
  virtual bool Busy() = 0;                 // true while a page loads
  // The window's own history, and the load in progress.
  virtual bool CanGoBack() = 0;
  virtual bool CanGoForward() = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Stop() = 0;
  virtual void Refresh() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Clock.
  virtual ClockReading clockNow() = 0;
  // The desktop's local date and time now, as its own calendar shows it.
  virtual ZoneTime localNow() = 0;

  // The screen that holds the main window, in desktop twips.
  virtual ScreenArea windowScreen() = 0;
  // Every screen of the desktop; the first is the primary one.
  virtual std::vector<ScreenArea> screens() = 0;
  // The part of the window's screen that windows may cover: its panels and docks left out.
  virtual ScreenArea windowWorkArea() = 0;

  // The main window's outer frame, in screen twips.
  virtual Twips windowLeft() = 0;
  virtual Twips windowTop() = 0;
  virtual Twips windowWidth() = 0;
  virtual Twips windowHeight() = 0;
  virtual void setWindowLeft(Twips twips) = 0;
  virtual void setWindowTop(Twips twips) = 0;
  virtual void setWindowWidth(Twips twips) = 0;
  virtual void setWindowHeight(Twips twips) = 0;
  virtual Colour windowBackgroundColour() = 0;
  // The main window's outer frame, in screen twips, were the clock drawn at `zoomPercent`:
  // the clock's face grows with the zoom and the font's scale, its frame and menu bar do not.
  // At 100 % with the design's font it is windowWidth() x windowHeight().
  virtual WindowSize windowSizeAt(int zoomPercent) = 0;
  // How much larger than designed the application font draws the clock; at least 1.
  virtual double fontScale() = 0;
  // Keeps the window above all others (true) or returns it to normal stacking,
  // without moving or resizing it.
  virtual void setTopmost(bool topmost) = 0;
  // Whether the window system lets a program keep its window above others, and tells it
  // where its window stands (a Wayland compositor does neither).
  virtual bool canKeepOnTop() { return true; }
  virtual bool knowsWindowPosition() { return true; }

  // Dialogs, all modal to the main window.
  // The chosen colour, or nothing when the user cancels. `title` says which colour it is.
  virtual std::optional<Colour> chooseColour(Colour initial, const std::string& title) = 0;
  // The typed text, or an empty text on Cancel. left/top: upper-left corner in screen twips.
  virtual std::string inputBox(const std::string& message, const std::string& title,
                               const std::string& defaultText, Twips left, Twips top) = 0;
  // An empty title shows the application's title.
  virtual void messageBox(const std::string& text, MessageStyle style,
                          const std::string& title) = 0;
  // Says `text` through the desktop's screen reader, if one runs, without a window or a
  // change of focus: the word after a command whose effect is only seen.
  virtual void announce(const std::string& text) { (void)text; }

  // Sound: every request replaces the sound that was playing.
  virtual void playOnce(const std::string& path) = 0;
  // Loops `path` until the next request. When it cannot play (no sound device, a file
  // that is not a playable .WAV) `onFailure` runs later, once, with the reason.
  virtual void playLoop(const std::string& path,
                        std::function<void(const std::string& reason)> onFailure) = 0;
  virtual void stopSound() = 0;

  // Opens a help file at its contents, in a viewer that does not block the clock.
  // Nothing when the viewer took it; otherwise the viewer's error, described for the user.
  virtual std::optional<std::string> showHelp(const std::string& path) = 0;

  // Forms. What a form's title bar and borders add to its client height, in twips.
  virtual Twips formFrameHeight() = 0;
  // Shows `form` modal to the main window and returns once it is closed. A click on one
  // of its command buttons runs `onClick` with the button's name while the form is open.
  virtual void showModalForm(const Form& form,
                             const std::function<void(const std::string& button)>& onClick) = 0;
  // Closes the form that showModalForm has open, at once; its modal state ends.
  virtual void closeModalForm() = 0;
  // A new browser window, not modal and owned by no other window, that opens
  // `startingAddress` when it loads. Every call makes another one. When the browser
  // cannot start, `onFailure` runs later, once.
  virtual void openBrowserWindow(const std::string& startingAddress,
                                 std::function<void()> onFailure) = 0;

  // Files.
  virtual bool isOrdinaryFile(const std::string& path) = 0;
  // The same, and where its links lead still lies below `folder`.
  virtual bool isOrdinaryFileBelow(const std::string& path, const std::string& folder) = 0;
  // The whole of a small ordinary file, never more than `maxBytes` of it.
  virtual FileRead readFile(const std::string& path, std::size_t maxBytes) = 0;
  // Replaces the file whole or not at all, making its folder first when it is missing:
  // nothing on success, otherwise the reason (e.g. "No space left on device") with the
  // old file left byte for byte.
  virtual std::optional<std::string> writeFileReplacing(const std::string& path,
                                                        const std::string& contents) = 0;
  // Nothing once no file has that name (it was removed, or there was none); otherwise the
  // reason, e.g. "Permission denied".
  virtual std::optional<std::string> removeFile(const std::string& path) = 0;
  // Makes the folder and those above it that are missing; false when it cannot be made.
  virtual bool makeFolder(const std::string& path) = 0;

  virtual ProgramInfo programInfo() = 0;

  // The zone catalogue at the instant `now`: each zone's rules for its year, its name with
  // the offset it lists then, and the zone the system clock runs in now.
  virtual ZoneCatalogueSource readZoneCatalogue(UtcTime now) = 0;
  // Whether there is a catalogue to read, without reading it: location and found only.
  virtual ZoneCatalogueSource findZoneCatalogue() = 0;
  // One zone (by its catalogue Std) through `year`.
  virtual ZoneYear readZoneYear(const std::string& zoneId, int year) = 0;

  // The other names a zone is known by, for finding it by typing: its city and its country,
  // in English and in the user's language. Example, in German: "Asia/Tokyo" with "JP" gives
  // {"Tokyo", "Tokio", "Japan"}. `countryCode` is the zone table's ISO 3166 code; may be empty.
  virtual std::vector<std::string> placeNames(const std::string& zoneId,
                                              const std::string& countryCode) {
    (void)zoneId, (void)countryCode;
    return {};
  }
  // `text` as a search compares it, letter case and accents set aside: "São Paulo" gives
  // "sao paulo". Without the desktop's Unicode tables only ASCII letters are lowered.
  virtual std::string searchForm(const std::string& text) {
    std::string form = text;
    for (char& c : form) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return form;
  }
};

}  // namespace tessaron
