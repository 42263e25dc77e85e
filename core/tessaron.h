#pragma once
// The main window "Tessaron": every field, control and handler of the clock, in
// plain C++. The desktop side forwards its events here (Form_Load once, then
// Timer1_Timer every 850 ms, menu and toolbar clicks) and draws the controls.
//
// Example: at 12:34:56 in the normal row, a full redraw lights Shape1(1) and
// Shape1(2) (hour 12 = 8 + 4), Shape1(5) and Shape1(9) (minute 34 = 32 + 2) and
// Shape1(11..13) (second 56 = 32 + 16 + 8); every other dot gets OffColor.

#include <array>
#include <string>
#include <vector>

#include "core/controls.h"
#include "platform/platform.h"
#include "timezones/conversion.h"
#include "timezones/zone_record.h"

namespace tessaron {

constexpr int kDotCount = 20;
constexpr int kToolbarButtonCount = 10;

// Toolbar button indexes (1-based), as the switch handlers address them.
enum ToolbarIndex : int {
  kButtonAlways = 1,
  kButtonMusic = 2,
  kButtonNumbers = 3,
  kButtonSeconds = 4,
  kButtonOn = 5,
  kButtonOff = 6,
  kButtonTransparent = 7,
  kButtonAltTimeZone = 8,
  kButtonPreferences = 9,
  kButtonVertical = 10,
};

class Tessaron {
 public:
  explicit Tessaron(Platform& platform);

  // Window handlers.
  void Form_Load();
  void Form_Terminate();
  void Timer1_Timer();

  // Menu handlers (Options, then Help).
  void Always_Click();
  void Music_Click();
  void Numbers_Click();
  void Seconds_Click();
  void On_Click();
  void Off_Click();
  void Transparent_Click();
  void AltTimeZone_Click();
  void Preferences_Click();
  void Vertical_Click();
  void HelpFile_Click();
  void ShortCut_Click();
  void About_Click();
  void Support_Click();

  // The toolbar's click notification; a check-style button has already flipped its Value.
  void Toolbar1_ButtonClick(ToolbarButton& button);
  // What the toolkit does on a click of button `index` (1-based): flips a check-style
  // button, then notifies.
  void ClickToolbarButton(int index);

  void DisplayTime(int value, int f, int n, int p);

  // Time zones.
  void LoadZoneCatalogue();
  void Combo1_Click(int Index);
  void UpdateAltTime();
  // What the list does when its selection is set, by a user's choice or by the program.
  void SelectZone(int Index, int listIndex);

  // Fields.
  Colour OnColor = 0;
  Colour OffColor = 0;
  Colour HintColor = 0;
  Colour StartOnColor = 0;
  Colour StartOffColor = 0;
  Colour BackgroundColor = 0;
  std::string MusicFile;
  std::string AppFolder;
  bool RedrawAll = false;
  short LabelOffset = 0;
  short WidthWithoutSeconds = 0;
  float WidthWithSeconds = 0;
  bool RaisedForAlternate = false;  // entering the columns moved the window up 760 twips
  ZoneTime AltTime{0};
  std::array<ZoneRecord, 2> ZonePair;  // [0] the local zone, [1] the alternate one
  std::vector<ZoneRecord> ZoneCatalogue;
  bool Unloaded = false;  // start-up found no zone catalogue: the program ends

  // Controls.
  std::array<Shape, kDotCount> Shape1;
  std::array<Label, kDotCount> Label1;
  Label ATZ;
  std::array<ComboBox, 2> Combo1;
  Toolbar Toolbar1;
  MenuItem Always, Music, Numbers, Seconds, On, Off, Transparent, AltTimeZone, Preferences,
      Vertical, HelpFile, ShortCut, About, Support;
  std::string Caption = "Tessaron";

  // The design's client area, before start-up sets the window's size.
  static constexpr double kDesignClientWidth = 4956;
  static constexpr double kDesignClientHeight = 1248;

 private:
  Platform& platform_;

  void fillDots(int first, int last, Colour colour);
  void placeLabel(int i);
  void StopMusic();
  bool musicFileFound(const std::string& name);
  void readPreferences();
  void keepWindowOnScreen();
  // The colour the user picks, starting from `current`; `current` again on Cancel.
  Colour chooseColour(Colour current);
};

// Rounds to the nearest integer, halves to even (1234.5 -> 1234, 1235.5 -> 1236).
double roundHalfEven(double value);

}  // namespace tessaron
