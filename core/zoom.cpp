#include "core/zoom.h"

#include <algorithm>
#include <charconv>

namespace tessaron {

int stepZoom(int percent, int direction) {
  if (direction > 0) {
    for (int step : kZoomSteps) {
      if (step > percent) return step;
    }
    return kZoomSteps.back();
  }
  for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it) {
    if (*it < percent) return *it;
  }
  return kZoomSteps.front();
}

std::optional<int> parseViewSettings(std::string_view text) {
  constexpr std::string_view kKey = "zoom=";
  if (text.substr(0, kKey.size()) != kKey) return std::nullopt;
  text.remove_prefix(kKey.size());
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
  int percent = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), percent);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (std::find(kZoomSteps.begin(), kZoomSteps.end(), percent) == kZoomSteps.end()) {
    return std::nullopt;
  }
  return percent;
}

std::string formatViewSettings(int percent) { return "zoom=" + std::to_string(percent) + "\n"; }

}  // namespace tessaron
