// The two arrangements of the dots and the options that show and hide them.
//
// Normal row (R = the zone selector's top plus half its height, 828 as built;
// S = WidthWithoutSeconds):
//   hour 240..1200, minute 1680..2880, second S+10..S+1210, 240 twips apart, all at top R.
// Columns (weights 8, 4, 2, 1 at tops 720, 960, 1200, 1440):
//   hour 960 | 1200, minute 2160 | 2400, second S+10 | S+250.

#include <array>

#include "core/tessaron.h"

namespace tessaron {

namespace {

constexpr double kColumnsHeight = 2760;  // outer window height, twips
constexpr double kRowHeight = 2000;
constexpr double kRaise = 760;

struct ColumnDot {
  const char* caption;
  double left;  // for seconds, the offset from WidthWithoutSeconds
  double top;
  bool fromWidth;
};

constexpr std::array<ColumnDot, kDotCount> kColumns = {{
    {"2", 960, 1200, false},  {"1", 960, 1440, false},                            // hour tens
    {"8", 1200, 720, false},  {"4", 1200, 960, false}, {"2", 1200, 1200, false},  // hour units
    {"1", 1200, 1440, false}, {"4", 2160, 960, false}, {"2", 2160, 1200, false},
    {"1", 2160, 1440, false},                                                     // minute tens
    {"8", 2400, 720, false},  {"4", 2400, 960, false}, {"2", 2400, 1200, false},  // minute units
    {"1", 2400, 1440, false}, {"4", 10, 960, true},    {"2", 10, 1200, true},
    {"1", 10, 1440, true},                                                      // second tens
    {"8", 250, 720, true},    {"4", 250, 960, true},   {"2", 250, 1200, true},  // second units
    {"1", 250, 1440, true},
}};

constexpr std::array<const char*, 17> kRowCaptions = {
    "16", "8", "4", "2", "1", "32", "16", "8", "4", "2", "1", "32", "16", "8", "4", "2", "1"};

double rowLeft(int i, double S) {
  if (i <= 4) return 240 + 240.0 * i;
  if (i <= 10) return 1680 + 240.0 * (i - 5);
  return S + 10 + 240.0 * (i - 11);
}

}  // namespace

void Tessaron::placeLabel(int i) {
  Label1[i].Top = Shape1[i].Top + LabelOffset;
  Label1[i].Left = Shape1[i].Left;
  Label1[i].ForeColor = HintColor;
}

void Tessaron::Vertical_Click() {
  const double S = WidthWithoutSeconds;
  if (!Vertical.Checked) {
    Vertical.Checked = true;
    RedrawAll = true;
    for (int i = 0; i < kDotCount; ++i) {
      const ColumnDot& c = kColumns[i];
      Label1[i].Caption = c.caption;
      Shape1[i].Top = c.top;
      Shape1[i].Left = c.fromWidth ? S + c.left : c.left;
      Shape1[i].Visible = i <= 12 || Seconds.Checked;
      placeLabel(i);
      Label1[i].Visible = Numbers.Checked && Shape1[i].Visible;
    }
    platform_.setWindowHeight(kColumnsHeight);
    const double top = platform_.windowTop();
    const ScreenArea screen = platform_.windowScreen();
    if (top + kColumnsHeight >= screen.top + screen.height) {
      platform_.setWindowTop(top - kRaise);
      RaisedForAlternate = true;
    } else {
      RaisedForAlternate = false;
    }
    return;
  }

  Vertical.Checked = false;
  RedrawAll = true;
  for (int i = 0; i <= 16; ++i) Shape1[i].Left = rowLeft(i, S);
  for (int i = 0; i < kDotCount; ++i) {
    if (i <= 16) {
      Label1[i].Caption = kRowCaptions[i];
    } else {
      Label1[i].Visible = false;
      Shape1[i].Visible = false;
    }
    // The row hangs from the zone selector, wherever the alternate zone has put it.
    Shape1[i].Top = Combo1[1].Top + Combo1[1].Height / 2;
    placeLabel(i);
  }
  if (!Seconds.Checked) {
    for (int i = 11; i <= 16; ++i) {
      Shape1[i].Visible = false;
      Label1[i].Visible = false;
    }
  }
  platform_.setWindowHeight(kRowHeight);
  if (RaisedForAlternate) {
    RaisedForAlternate = false;
    platform_.setWindowTop(platform_.windowTop() + kRaise);
  }
}

void Tessaron::Seconds_Click() {
  const int first = Vertical.Checked ? 13 : 11;
  const int last = Vertical.Checked ? 19 : 16;
  // The right edge of the screen that holds the window.
  const ScreenArea screen = platform_.windowScreen();
  const double screenWidth = screen.left + screen.width;
  if (Seconds.Checked) {
    Seconds.Checked = false;
    Toolbar1.button(kButtonSeconds).Value = 0;
    platform_.setWindowWidth(WidthWithoutSeconds);
    // A wide window against the screen's right edge stays against it when it narrows.
    if (platform_.windowLeft() == screenWidth - WidthWithSeconds) {
      platform_.setWindowLeft(screenWidth - WidthWithoutSeconds);
    }
    for (int i = first; i <= last; ++i) {
      Shape1[i].Visible = false;
      Label1[i].Visible = false;
    }
  } else {
    Seconds.Checked = true;
    Toolbar1.button(kButtonSeconds).Value = 1;
    platform_.setWindowWidth(WidthWithSeconds);
    const double W = platform_.windowWidth();
    if (platform_.windowLeft() + W > screenWidth) platform_.setWindowLeft(screenWidth - W);
    for (int i = first; i <= last; ++i) {
      Shape1[i].Visible = true;
      if (Numbers.Checked) Label1[i].Visible = true;
    }
  }
}

void Tessaron::Numbers_Click() {
  const int LastVisibleDot =
      Vertical.Checked ? (Seconds.Checked ? 19 : 12) : (Seconds.Checked ? 16 : 10);
  if (Numbers.Checked) {
    Numbers.Checked = false;
    Toolbar1.button(kButtonNumbers).Value = 0;
    for (Label& label : Label1) label.Visible = false;
    return;
  }
  Numbers.Checked = true;
  Toolbar1.button(kButtonNumbers).Value = 1;
  for (int i = 0; i <= LastVisibleDot; ++i) Label1[i].Visible = true;
  // Hints in the old colour may not read well on dots of a new colour.
  if (OnColor != StartOnColor || OffColor != StartOffColor) {
    HintColor = chooseColour(HintColor);
    for (Label& label : Label1) label.ForeColor = HintColor;
  }
}

}  // namespace tessaron
