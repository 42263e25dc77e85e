// The dot colours and the window's stacking.

#include "core/tessaron.h"

namespace tessaron {

Colour Tessaron::chooseColour(Colour current) {
  // Cancel keeps the colour the user had.
  return platform_.chooseColour(current).value_or(current);
}

void Tessaron::On_Click() {
  OnColor = chooseColour(OnColor);
  RedrawAll = true;
}

void Tessaron::Off_Click() {
  OffColor = chooseColour(OffColor);
  RedrawAll = true;
}

void Tessaron::Transparent_Click() {
  // Unlit dots take the window's colour when they are next drawn; no forced redraw.
  OffColor = BackgroundColor;
}

void Tessaron::Always_Click() {
  if (Always.Checked) {
    Always.Checked = false;
    Toolbar1.button(kButtonAlways).Value = 0;
    platform_.setTopmost(false);
  } else {
    Always.Checked = true;
    Toolbar1.button(kButtonAlways).Value = 1;
    platform_.setTopmost(true);
  }
}

}  // namespace tessaron
