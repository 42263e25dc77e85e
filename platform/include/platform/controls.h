#pragma once
// The controls of a window as plain values: what the window shows, in twips and
// colours. The core changes them; the desktop side draws whatever they hold.
//
// Example: Shape{Left 240, Top 828, Width 240, Height 252, Visible, FillColor 255}
// is a red dot whose box starts 16 x 55.2 logical pixels into the client area.

#include <cmath>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tessaron {

// A round dot: a circle of the box's smaller side, centred in the box, filled solid.
struct Shape {
  Twips Left;  // from the client area's left edge
  Twips Top;   // from the client area's top edge
  Twips Width = 240_tw;
  Twips Height = 252_tw;
  bool Visible = true;
  Colour FillColor = 0;

  bool operator==(const Shape&) const = default;
};

// A caption drawn centred in its box over a transparent background.
struct Label {
  Twips Left;
  Twips Top;
  Twips Width = 240_tw;
  Twips Height = 252_tw;
  std::string Caption;
  Colour ForeColor = 0;
  bool Visible = false;

  bool operator==(const Label&) const = default;
};

struct MenuItem {
  std::string Caption;
  bool Checked = false;
  bool Enabled = true;
  std::string Description;  // what a screen reader adds, e.g. why the item is unavailable
};

enum class ButtonStyle { Plain, Check };

struct ToolbarButton {
  std::string Key;
  std::string ToolTipText;
  int Image = 0;  // 1-based index into the toolbar's picture list
  ButtonStyle Style = ButtonStyle::Plain;
  int Value = 0;  // 0 released, 1 pressed
  bool Enabled = true;
};

struct Toolbar {
  std::vector<ToolbarButton> Buttons;  // Buttons[0] is button 1
  Twips Top;
  Twips Height = 384_tw;
  Twips ButtonWidth = 345_tw;  // 23 logical pixels

  ToolbarButton& button(int index) { return Buttons.at(static_cast<std::size_t>(index - 1)); }
  const ToolbarButton& button(int index) const {
    return Buttons.at(static_cast<std::size_t>(index - 1));
  }
};

// A rectangle-only control (panel, embedded browser), in twips.
struct Box {
  Twips Left;
  Twips Top;
  Twips Width;
  Twips Height;
};

struct Timer {
  int Interval = 0;  // milliseconds
  bool Enabled = false;
};

// An unsorted drop-down list with an editable text.
struct ComboBox {
  std::vector<std::string> List;
  int ListIndex = -1;  // -1: nothing selected
  std::string Text = "Combo1";
  Twips Left = 240_tw;
  Twips Top = 684_tw;
  Twips Width = 2892_tw;
  Twips Height = 288_tw;
  bool Visible = true;
  int Revision = 0;  // changes whenever the texts of List change
};

// Rounds to the nearest integer, halves to even (1234.5 -> 1234, 1235.5 -> 1236), as
// colours are rounded when they are read.
inline double roundHalfEven(double value) {
  // The default floating-point environment rounds to nearest, ties to even.
  return std::nearbyint(value);
}

}  // namespace tessaron
