// Where the About and Support windows stand: against the clock, one rule for both.

#include "commands/dialogs.h"

#include <algorithm>

namespace tessaron {

void placeAgainstMainWindow(Form& form, Platform& platform, int zoom) {
  form.Zoom = zoom;
  form.Scale = zoom / 100.0 * platform.fontScale();
  const Twips L = platform.windowLeft();
  const Twips T = platform.windowTop();
  // The clock as it stands on screen, zoomed: a form placed by its designed size would
  // cover its dots.
  const WindowSize clock = platform.windowSizeAt(zoom);
  const ScreenArea area = platform.windowWorkArea();
  const Twips h = form.ClientHeight * form.Scale + platform.formFrameHeight();
  form.Top = T - h > area.top ? T - h : T + clock.height;
  // The labels keep their designed places, scaled.
  form.Width = std::min(std::max(clock.width, form.ClientWidth * form.Scale), area.width);
  form.Left = L + (clock.width - form.Width) / 2;
  form.Left = std::max(area.left, std::min(form.Left, area.left + area.width - form.Width));
  form.Top = std::max(area.top, std::min(form.Top, area.top + area.height - h));
}

}  // namespace tessaron
