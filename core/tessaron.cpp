#include "core/tessaron.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/preferences.h"

namespace tessaron {

namespace {

constexpr double kRowTop = 828;  // the zone selector's top plus half its height, as built

// Left edges of the normal row as the window is built: hour, a gap of one dot,
// minute, then the seconds and the three dots that only the columns use.
constexpr std::array<double, kDotCount> kBuiltLeft = {240,  480,  720,  960,  1200,        // hour
                                                      1680, 1920, 2160, 2400, 2640, 2880,  // minute
                                                      3360, 3600, 3840, 4080, 4320, 4560,  // second
                                                      4800, 5040, 5280};  // columns only

// Bit weights of the normal row, as hint captions.
constexpr std::array<const char*, 17> kNormalCaptions = {
    "16", "8", "4", "2", "1", "32", "16", "8", "4", "2", "1", "32", "16", "8", "4", "2", "1"};

}  // namespace

double roundHalfEven(double value) {
  // The default floating-point environment rounds to nearest, ties to even.
  return std::nearbyint(value);
}

Tessaron::Tessaron(Platform& platform) : platform_(platform) {
  for (int i = 0; i < kDotCount; ++i) {
    Shape1[i].Left = kBuiltLeft[i];
    Shape1[i].Top = kRowTop;
    Shape1[i].Visible = i <= 16;
    Label1[i].Left = kBuiltLeft[i];
    Label1[i].Top = kRowTop;
    Label1[i].Visible = false;
  }
  Combo1[0].Visible = false;  // holds the local zone; never shown
  ATZ = Label{120, 480, 1332, 252, "", static_cast<Colour>(0x80000012u), false};  // button text

  Always.Caption = "&Always on Top";
  Music.Caption = "&Music";
  Numbers.Caption = "Display Numbers (&Hint)";
  Seconds.Caption = "Display &Seconds";
  On.Caption = "O&n Color";
  Off.Caption = "O&ff Color";
  Transparent.Caption = "&Transparent";
  AltTimeZone.Caption = "Alternate Time &Zone";
  Preferences.Caption = "Save &Preferences";
  Vertical.Caption = "Alternate Form";
  HelpFile.Caption = "Help";
  ShortCut.Caption = "Short Cut keys";
  About.Caption = "About";
  Support.Caption = "Support";

  using S = ButtonStyle;
  Toolbar1.Buttons = {
      {"Always", "Keep window on top ", 2, S::Check, 0},
      {"Music", "Background .WAV music file", 10, S::Check, 0},
      {"Numbers", "Display numbers for a hint", 8, S::Check, 0},
      {"Seconds", "Display seconds", 3, S::Check, 0},
      {"On", "Change on color", 5, S::Plain, 0},
      {"Off", "Change off color", 6, S::Plain, 0},
      {"Transparent", "Change off color to transparent", 7, S::Check, 0},
      {"AltTimeZone", "Display alternate time zone", 4, S::Check, 0},
      {"Preferences", "Save preferences", 9, S::Plain, 0},
      {"Vertical", "Alternate Form", 11, S::Plain, 0},
  };
}

void Tessaron::Form_Load() {
  RedrawAll = true;
  AppFolder = platform_.programInfo().folder + "/";
  LabelOffset = 20;

  const double DotsWidth = Shape1[10].Left + Shape1[10].Width + Shape1[0].Left;
  const double B = Toolbar1.ButtonWidth;
  const auto ToolbarWidth = static_cast<short>(roundHalfEven(B * 10.5));
  if (DotsWidth > B * 10.5 - LabelOffset) {
    WidthWithoutSeconds = static_cast<short>(roundHalfEven(DotsWidth));
  } else {
    WidthWithoutSeconds = ToolbarWidth;
  }
  WidthWithSeconds = static_cast<float>(8 * Shape1[16].Width + WidthWithoutSeconds);

  ATZ.Visible = false;

  SavedPreferences saved;  // the first-start values
  const std::string savePath = AppFolder + "Tessa.sav";
  if (platform_.isOrdinaryFile(savePath)) {
    const auto text = platform_.readFile(savePath);
    const auto read = text ? parsePreferences(*text) : std::nullopt;
    if (read) {
      saved = *read;
    } else {
      // The file stays as it is until the user saves again.
      platform_.messageBox("The preferences in " + savePath +
                               " could not be read. The clock starts with its first-start "
                               "settings; saving the preferences will replace the file.",
                           MessageStyle::Exclamation, Caption);
    }
  }
  OnColor = saved.OnColor;
  OffColor = saved.OffColor;
  HintColor = saved.HintColor;
  MusicFile = saved.MusicFile;
  const bool SavedNumbers = saved.Numbers, SavedSeconds = saved.Seconds, SavedMusic = saved.Music,
             SavedAlways = saved.Always, SavedVertical = saved.Vertical;
  const float SavedTop = saved.Top;
  const auto SavedLeft = static_cast<std::int32_t>(roundHalfEven(saved.Left));

  Numbers.Checked = !SavedNumbers;
  Seconds.Checked = !SavedSeconds;
  Music.Checked = !SavedMusic;
  Always.Checked = !SavedAlways;
  Vertical.Checked = !SavedVertical;

  platform_.setWindowTop(SavedTop);
  platform_.setWindowLeft(SavedLeft);
  // Before anything is placed against the window, such as the music prompt.
  keepWindowOnScreen();

  StartOnColor = OnColor;
  StartOffColor = OffColor;

  for (int i = 0; i <= 16; ++i) {
    Label1[i].Caption = kNormalCaptions[i];
    Label1[i].Top = Shape1[i].Top + LabelOffset;
    Label1[i].Left = Shape1[i].Left;
    Label1[i].ForeColor = HintColor;
  }

  if (MusicFile.size() < 5) MusicFile = "smallworld.wav";

  Numbers_Click();
  Seconds_Click();
  Music_Click();
  Always_Click();
  Vertical_Click();
  keepWindowOnScreen();

  BackgroundColor = platform_.windowBackgroundColour();
  LoadZoneCatalogue();
}

void Tessaron::keepWindowOnScreen() {
  const double L = platform_.windowLeft(), T = platform_.windowTop();
  const double W = platform_.windowWidth(), H = platform_.windowHeight();
  const std::vector<ScreenArea> screens = platform_.screens();
  for (const ScreenArea& s : screens) {
    if (L < s.left + s.width && L + W > s.left && T < s.top + s.height && T + H > s.top) return;
  }
  if (screens.empty()) return;
  // Saved on a screen that is gone: bring it back onto the primary one, as near as fits.
  const ScreenArea& s = screens.front();
  const double left = std::max(s.left, std::min(L, s.left + s.width - W));
  const double top = std::max(s.top, std::min(T, s.top + s.height - H));
  platform_.setWindowTop(top);
  platform_.setWindowLeft(left);
}

void Tessaron::Timer1_Timer() {
  TimeOfDay t;
  if (AltTimeZone.Checked) {
    UpdateAltTime();
    const CivilTime alt = toCivil(AltTime.seconds);
    t = {alt.hour, alt.minute, alt.second};
  } else {
    t = platform_.localTimeOfDay();
  }
  const int H = t.hour;
  const int M = t.minute;
  const int S = t.second;

  if (Vertical.Checked) {
    if (RedrawAll || S <= 1) {
      RedrawAll = false;
      fillDots(0, 19, OffColor);
      DisplayTime(H / 10, 0, 1, 1);
      DisplayTime(H % 10, 2, 3, 3);
      DisplayTime(M / 10, 6, 2, 2);
      DisplayTime(M % 10, 9, 3, 3);
    }
    if (Seconds.Checked) {
      DisplayTime(S / 10, 13, 2, 2);
      DisplayTime(S % 10, 16, 3, 3);
    }
  } else {
    if (RedrawAll || S <= 1) {
      RedrawAll = false;
      fillDots(0, 16, OffColor);
      DisplayTime(H, 0, 4, 4);
      DisplayTime(M, 5, 5, 5);
    }
    if (Seconds.Checked) DisplayTime(S, 11, 5, 5);
  }
}

void Tessaron::DisplayTime(int value, int f, int n, int p) {
  fillDots(f, f + n, OffColor);
  for (int i = f; i <= f + n; ++i) {
    if (p >= 0 && p < 31 && value >= (1 << p)) {
      Shape1[i].FillColor = OnColor;
      value -= 1 << p;
    }
    --p;
  }
}

void Tessaron::fillDots(int first, int last, Colour colour) {
  for (int i = first; i <= last; ++i) Shape1[i].FillColor = colour;
}

}  // namespace tessaron
