#pragma once
// What the clock needs of the desktop, in the clock's own units: twips for every
// position and size, colours as 32-bit values. The core calls only this; the Qt
// side implements it, and tests fake it.
//
// Example: a window whose outer frame is 330 x 133 logical pixels reports
// width() == 4950 and height() == 1995 twips (15 twips per logical pixel).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaron {

// red + 256 * green + 65536 * blue; a negative value refers to a system colour
// (0x80000000 | index) and is passed through unchanged.
using Colour = std::int32_t;

constexpr Colour kSystemColourFlag = static_cast<Colour>(0x80000000u);
constexpr Colour kButtonFace = static_cast<Colour>(0x8000000Fu);  // the window-face colour

constexpr Colour rgb(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

struct TimeOfDay {
  int hour;    // [0:23]
  int minute;  // [0:59]
  int second;  // [0:59]
};

struct LocalDateTime {
  int year;    // e.g. 2026
  int month;   // [1:12]
  int day;     // [1:31]
  int hour;    // [0:23]
  int minute;  // [0:59]
  int second;  // [0:59]
};

// Message box styles.
enum class MessageStyle { Plain = 0, Exclamation = 48, Information = 64 };

// A screen's area on the desktop, in twips.
struct ScreenArea {
  double left;
  double top;
  double width;
  double height;
};

// One zone of the catalogue: its 44-byte rule block (offsets and the two yearly
// changes, little-endian) and its four texts.
struct ZoneKey {
  bool opened = false;  // false: the zone could not be read; everything else stays empty
  std::array<std::uint8_t, 44> TZI{};
  std::string Display;  // e.g. "(UTC-05:00) America/New York"
  std::string Std;      // the zone's identifier, e.g. "America/New_York"
  std::string Dlt;      // its daylight abbreviation, e.g. "EDT"; empty without daylight time
  std::string MapID;    // country code and coordinates from the zone table
};

struct ZoneCatalogueSource {
  std::string location;            // where the catalogue lives, for the failure message
  bool found = false;              // false: there is no catalogue at all
  std::vector<ZoneKey> zones;      // in the source's own order, west to east
  std::string systemStandardName;  // Std of the zone the system clock runs in; may be empty
};

struct ProgramInfo {
  std::string folder;  // the running program's folder, no trailing separator
  int major = 0;
  int minor = 0;
  int revision = 0;
  std::string companyName;
  std::string legalCopyright;
  std::string fileDescription;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Clock.
  virtual TimeOfDay localTimeOfDay() = 0;
  virtual LocalDateTime localNow() = 0;

  // The screen that holds the main window, in desktop twips.
  virtual ScreenArea windowScreen() = 0;
  // Every screen of the desktop; the first is the primary one.
  virtual std::vector<ScreenArea> screens() = 0;

  // The main window's outer frame, in screen twips.
  virtual double windowLeft() = 0;
  virtual double windowTop() = 0;
  virtual double windowWidth() = 0;
  virtual double windowHeight() = 0;
  virtual void setWindowLeft(double twips) = 0;
  virtual void setWindowTop(double twips) = 0;
  virtual void setWindowWidth(double twips) = 0;
  virtual void setWindowHeight(double twips) = 0;
  virtual Colour windowBackgroundColour() = 0;
  // Keeps the window above all others (true) or returns it to normal stacking,
  // without moving or resizing it.
  virtual void setTopmost(bool topmost) = 0;

  // Dialogs, all modal to the main window.
  // The chosen colour, or nothing when the user cancels.
  virtual std::optional<Colour> chooseColour(Colour initial) = 0;
  // The typed text, or an empty text on Cancel. left/top: upper-left corner in screen twips.
  virtual std::string inputBox(const std::string& message, const std::string& title,
                               const std::string& defaultText, double left, double top) = 0;
  // An empty title shows the application's title.
  virtual void messageBox(const std::string& text, MessageStyle style,
                          const std::string& title) = 0;

  // Sound: every request replaces the sound that was playing.
  virtual void playOnce(const std::string& path) = 0;
  virtual void playLoop(const std::string& path) = 0;
  virtual void stopSound() = 0;

  // Opens a help file at its contents; false when it cannot be shown.
  virtual bool showHelp(const std::string& path) = 0;

  // Files.
  virtual bool isOrdinaryFile(const std::string& path) = 0;
  virtual std::optional<std::string> readFile(const std::string& path) = 0;
  // Replaces the file whole or not at all; false (and the old file intact) on failure.
  virtual bool writeFileReplacing(const std::string& path, const std::string& contents) = 0;

  virtual ProgramInfo programInfo() = 0;

  // The zone catalogue, with each zone's rules as they stand in `year`.
  virtual ZoneCatalogueSource readZoneCatalogue(int year) = 0;
};

}  // namespace tessaron
