// Where the About and Support windows stand: against the clock, one rule for both.

#include "commands/dialogs.h"

namespace tessaron {

void placeAgainstMainWindow(Form& form, Platform& platform) {
  const double L = platform.windowLeft();
  const double T = platform.windowTop();
  const double W = platform.windowWidth();
  const double H = platform.windowHeight();
  const double h = form.ClientHeight + platform.formFrameHeight();
  form.Top = T - h > 0 ? T - h : T + H;
  form.Left = L;
  form.Width = W;  // the labels keep their designed places
}

}  // namespace tessaron
