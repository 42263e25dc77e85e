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
  double Left = 0;      // twips from the client area's left edge
  double Top = 0;       // twips from the client area's top edge
  double Width = 240;   // twips
  double Height = 252;  // twips
  bool Visible = true;
  Colour FillColor = 0;

  bool operator==(const Shape&) const = default;
};

// A caption drawn centred in its box over a transparent background.
struct Label {
  double Left = 0;
  double Top = 0;
  double Width = 240;
  double Height = 252;
  std::string Caption;
  Colour ForeColor = 0;
  bool Visible = false;

  bool operator==(const Label&) const = default;
};

struct MenuItem {
  std::string Caption;
  bool Checked = false;
  bool Enabled = true;
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
  double Top = 0;                      // twips
  double Height = 384;                 // twips
  double ButtonWidth = 345;            // twips: 23 logical pixels

  ToolbarButton& button(int index) { return Buttons.at(static_cast<std::size_t>(index - 1)); }
  const ToolbarButton& button(int index) const {
    return Buttons.at(static_cast<std::size_t>(index - 1));
  }
};

// A rectangle-only control (panel, embedded browser), in twips.
struct Box {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;
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
  double Left = 240;
  double Top = 684;
  double Width = 2892;
  double Height = 288;
  bool Visible = true;
  int Revision = 0;  // changes whenever the texts of List change
};

// Rounds to the nearest integer, halves to even (1234.5 -> 1234, 1235.5 -> 1236), as
// twips and colours are rounded when the window measures or reads them.
inline double roundHalfEven(double value) {
  // The default floating-point environment rounds to nearest, ties to even.
  return std::nearbyint(value);
}

}  // namespace tessaron
