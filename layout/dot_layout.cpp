// The two arrangements of the dots and the options that show and hide them.
//
// Normal row (R = the zone selector's top plus half its height; S = WidthWithoutSeconds):
//   hour 240..1200, minute 1680..2880, second S+10..S+1210, 240 twips apart, all at top R.
// Columns (weights 8, 4, 2, 1 at tops 720, 960, 1200, 1440):
//   hour 960 | 1200, minute 2160 | 2400, second S+10 | S+250.

#include "layout/dot_layout.h"

#include <algorithm>

#include "layout/dot_table.h"

namespace tessaron {

namespace {

constexpr Twips kColumnsHeight = 2760_tw;  // outer window height
constexpr Twips kRowHeight = 2000_tw;
constexpr Twips kRaise = 760_tw;
constexpr Twips kDotStep = 240_tw;

// Where each dot of the columns stands (its meaning is the dot table's).
struct ColumnDot {
  Twips left;  // for seconds, the offset from WidthWithoutSeconds
  Twips top;
  bool fromWidth;
};

constexpr std::array<ColumnDot, kDotCount> kColumns = {{
    {960_tw, 1200_tw, false},  {960_tw, 1440_tw, false},  // hour tens
    {1200_tw, 720_tw, false},  {1200_tw, 960_tw, false},  {1200_tw, 1200_tw, false},
    {1200_tw, 1440_tw, false},                                                        // units
    {2160_tw, 960_tw, false},  {2160_tw, 1200_tw, false}, {2160_tw, 1440_tw, false},  // minute tens
    {2400_tw, 720_tw, false},  {2400_tw, 960_tw, false},  {2400_tw, 1200_tw, false},
    {2400_tw, 1440_tw, false},                                                     // units
    {10_tw, 960_tw, true},     {10_tw, 1200_tw, true},    {10_tw, 1440_tw, true},  // second tens
    {250_tw, 720_tw, true},    {250_tw, 960_tw, true},    {250_tw, 1200_tw, true},
    {250_tw, 1440_tw, true},  // units
}};

constexpr int kLastRowDot = lastDotOf(false, true);

// Each dot's hint caption in an arrangement: its weight in its run.
template <std::size_t N>
void captionDots(std::array<Label, kDotCount>& labels, const std::array<DotRun, N>& runs) {
  for (const DotRun& run : runs) {
    for (int i = run.first; i <= run.last(); ++i) labels[i].Caption = run.caption(i);
  }
}

// Left edge of dot i in the row: hour, a gap of one dot, minute, then the seconds from
// `secondsLeft` (the dots past 16, which only the columns use, continue the run).
Twips rowLeft(int i, Twips secondsLeft) {
  if (i <= 4) return 240_tw + kDotStep * i;
  if (i <= 10) return 1680_tw + kDotStep * (i - 5);
  return secondsLeft + kDotStep * (i - 11);
}

// As built, the seconds follow the minutes after a gap of one dot.
constexpr Twips kBuiltSecondsLeft = 1680_tw + kDotStep * 7;

}  // namespace

DotLayout::DotLayout(Twips rowTop) {
  for (int i = 0; i < kDotCount; ++i) {
    Shape1[i].Left = rowLeft(i, kBuiltSecondsLeft);
    Shape1[i].Top = rowTop;
    Shape1[i].Visible = i <= kLastRowDot;
    Label1[i].Left = Shape1[i].Left;
    Label1[i].Top = rowTop;
    Label1[i].Visible = false;
  }
}

int DotLayout::lastShownDot(bool columns, bool seconds) { return lastDotOf(columns, seconds); }

void DotLayout::measure(Twips buttonWidth) {
  LabelOffset = 20_tw;
  const Twips DotsWidth = Shape1[10].Left + Shape1[10].Width + Shape1[0].Left;
  const Twips B = buttonWidth;
  const Twips ToolbarWidth = roundHalfEven(B * 10.5);
  if (DotsWidth > B * 10.5 - LabelOffset) {
    WidthWithoutSeconds = roundHalfEven(DotsWidth);
  } else {
    WidthWithoutSeconds = ToolbarWidth;
  }
  WidthWithSeconds = 8 * Shape1[16].Width + WidthWithoutSeconds;
}

void DotLayout::placeLabel(int i, Colour hint) {
  Label1[i].Top = Shape1[i].Top + LabelOffset;
  Label1[i].Left = Shape1[i].Left;
  Label1[i].ForeColor = hint;
}

void DotLayout::hangRowLabels(Colour hint) {
  captionDots(Label1, kRowRuns);
  for (int i = 0; i <= kLastRowDot; ++i) placeLabel(i, hint);
}

void DotLayout::show(bool columns, bool seconds, bool hints) {
  const int last = lastShownDot(columns, seconds);
  for (int i = 0; i < kDotCount; ++i) {
    Shape1[i].Visible = i <= last;
    Label1[i].Visible = hints && i <= last;
  }
}

WindowChange DotLayout::enterColumns(bool seconds, bool hints, Colour hint, Twips windowTop,
                                     const ScreenArea& screen) {
  const Twips S = WidthWithoutSeconds;
  captionDots(Label1, kColumnRuns);
  for (int i = 0; i < kDotCount; ++i) {
    const ColumnDot& c = kColumns[i];
    Shape1[i].Top = c.top;
    Shape1[i].Left = c.fromWidth ? S + c.left : c.left;
    placeLabel(i, hint);
  }
  show(true, seconds, hints);
  WindowChange change;
  change.height = kColumnsHeight;
  RaisedForAlternate = windowTop + kColumnsHeight >= screen.top + screen.height;
  if (RaisedForAlternate) change.top = windowTop - kRaise;
  return change;
}

WindowChange DotLayout::enterRow(Twips rowTop, bool seconds, bool hints, Colour hint,
                                 Twips windowTop) {
  captionDots(Label1, kRowRuns);
  for (int i = 0; i < kDotCount; ++i) {
    if (i <= kLastRowDot) Shape1[i].Left = rowLeft(i, WidthWithoutSeconds + 10_tw);
    // The row hangs from the zone selector, wherever the alternate zone has put it.
    Shape1[i].Top = rowTop;
    placeLabel(i, hint);
  }
  show(false, seconds, hints);
  WindowChange change;
  change.height = kRowHeight;
  if (RaisedForAlternate) {
    RaisedForAlternate = false;
    change.top = windowTop + kRaise;
  }
  return change;
}

WindowChange DotLayout::showSeconds(bool shown, bool columns, bool hints, Twips windowLeft,
                                    const ScreenArea& screen) {
  const Twips screenRight = screen.left + screen.width;
  WindowChange change;
  if (shown) {
    change.width = WidthWithSeconds;
    if (windowLeft + WidthWithSeconds > screenRight) change.left = screenRight - WidthWithSeconds;
  } else {
    change.width = WidthWithoutSeconds;
    // A wide window against the screen's right edge stays against it when it narrows.
    if (windowLeft == screenRight - WidthWithSeconds)
      change.left = screenRight - WidthWithoutSeconds;
  }
  show(columns, shown, hints);
  return change;
}

void DotLayout::colourLabels(Colour hint) {
  for (Label& label : Label1) label.ForeColor = hint;
}

void DotLayout::fillDots(int first, int last, Colour colour) {
  for (int i = first; i <= last; ++i) Shape1[i].FillColor = colour;
}

void DotLayout::light(int value, int first, int n, int p, Colour on, Colour off) {
  fillDots(first, first + n, off);
  for (int i = first; i <= first + n; ++i) {
    if (p >= 0 && p < 31 && value >= (1 << p)) {
      Shape1[i].FillColor = on;
      value -= 1 << p;
    }
    --p;
  }
}

}  // namespace tessaron
