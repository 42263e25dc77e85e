#pragma once
// How big the clock is drawn: a zoom in percent, in fixed steps, kept across starts in a
// small file of its own beside "Tessa.sav" ("Tessa.sav" keeps its format). The layout
// stays in twips; the desktop multiplies what it draws by the zoom.
//
// Example: at 150, Ctrl+Plus gives 200 and Ctrl+Minus 125; the file then reads "zoom=200\n".

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tessaron {

constexpr std::array<int, 6> kZoomSteps = {100, 125, 150, 200, 300, 400};
constexpr int kNormalZoom = 100;

// The step after `percent` upwards (direction > 0) or downwards (< 0), stopping at the
// ends; a value between steps goes to the next step that way.
int stepZoom(int percent, int direction);

// "zoom=" and one of the steps, an optional line end; anything else gives nothing.
std::optional<int> parseViewSettings(std::string_view text);
std::string formatViewSettings(int percent);

}  // namespace tessaron
