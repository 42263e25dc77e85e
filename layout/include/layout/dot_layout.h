#pragma once
// The twenty dots and their hint labels: where they stand in the two arrangements,
// which of them show, and the window's size and place that each arrangement needs.
//
// Example: the row with WidthWithoutSeconds 3622 hanging from top 828 puts the hour at
// lefts 240..1200, the minute at 1680..2880 and the second at 3632..4832, 240 apart;
// without seconds and with hints, dots and labels 0..10 show and 11..19 are hidden.

#include <array>
#include <optional>

#include "layout/dot_table.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace tessaron {

// What an arrangement asks of the window, in twips: a size, and a move should it need one.
// What is empty stays as it is.
struct WindowChange {
  std::optional<Twips> width, height, left, top;

  bool operator==(const WindowChange&) const = default;
};

class DotLayout {
 public:
  // The row as the window is built, hanging from `rowTop`, every label hidden.
  explicit DotLayout(Twips rowTop);

  // The last dot shown: the one rule of which dots show (all up to it) and which labels
  // (the same ones, while the hints are on).
  static int lastShownDot(bool columns, bool seconds);

  // The label offset, and the window's widths from the toolbar's button width.
  void measure(Twips buttonWidth);
  // The row's bit weights as captions, and its labels over their dots.
  void hangRowLabels(Colour hint);
  // The arrangements, and the window's height each needs; the columns raise a window whose
  // top is at `windowTop` when it would reach the bottom of `screen`, and the row lowers it
  // again.
  WindowChange enterColumns(bool seconds, bool hints, Colour hint, Twips windowTop,
                            const ScreenArea& screen);
  WindowChange enterRow(Twips rowTop, bool seconds, bool hints, Colour hint, Twips windowTop);
  // Seconds shown or hidden, and the window's width for it; a wide window against the right
  // edge of `screen` stays against it.
  WindowChange showSeconds(bool shown, bool columns, bool hints, Twips windowLeft,
                           const ScreenArea& screen);
  void show(bool columns, bool seconds, bool hints);
  void colourLabels(Colour hint);
  void fillDots(int first, int last, Colour colour);
  // Shows `value` in binary on dots first..first+n in `on` and `off`, bit p on dot `first`
  // and down from there.
  void light(int value, int first, int n, int p, Colour on, Colour off);

  const std::array<Shape, kDotCount>& dots() const { return Shape1; }
  const std::array<Label, kDotCount>& hints() const { return Label1; }
  Twips labelOffset() const { return LabelOffset; }
  Twips widthWithoutSeconds() const { return WidthWithoutSeconds; }
  Twips widthWithSeconds() const { return WidthWithSeconds; }
  bool raisedForAlternate() const { return RaisedForAlternate; }

 private:
  std::array<Shape, kDotCount> Shape1;
  std::array<Label, kDotCount> Label1;
  Twips LabelOffset;                // twips from a dot's top to its hint label's
  Twips WidthWithoutSeconds;        // the window's width in twips, whole twips
  Twips WidthWithSeconds;           // the same with the seconds' dots shown
  bool RaisedForAlternate = false;  // entering the columns moved the window up 760 twips

  void placeLabel(int i, Colour hint);
};

}  // namespace tessaron
