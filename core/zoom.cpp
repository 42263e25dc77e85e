#include "core/zoom.h"

#include <algorithm>
#include <charconv>

#include "core/preferences.h"
#include "core/tessaron.h"

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

void Tessaron::loadZoom() {
  const FileRead file = platform_.readFile(SettingsFolder + kViewSettingsFileName, 256);
  // A damaged or strange file costs only the size: the clock starts at its normal one.
  Zoom = file.status == FileRead::Status::Read
             ? parseViewSettings(file.contents).value_or(kNormalZoom)
             : kNormalZoom;
}

void Tessaron::setZoom(int percent) {
  if (percent == Zoom) return;
  Zoom = percent;
  const std::string path = SettingsFolder + kViewSettingsFileName;
  if (const auto error = platform_.writeFileReplacing(path, formatViewSettings(Zoom))) {
    platform_.messageBox("The clock's size could not be kept in " + path + " (" + *error +
                             "). It shows at this size until the clock closes.",
                         MessageStyle::Exclamation, Caption);
  }
}

void Tessaron::ZoomIn_Click() { setZoom(stepZoom(Zoom, +1)); }
void Tessaron::ZoomOut_Click() { setZoom(stepZoom(Zoom, -1)); }
void Tessaron::ZoomReset_Click() { setZoom(kNormalZoom); }

}  // namespace tessaron
