#include "commands/menu.h"

#include <string>

namespace tessaron {

const std::vector<Menu>& menuTree() {
  using T = Tessaron;
  static const std::vector<Menu> tree = {
      {"&Options",
       {
           {"Always", "Ctrl+A", true, &T::Always, &T::Always_Click},
           {"Music", "Ctrl+M", true, &T::Music, &T::Music_Click},
           {"Numbers", "Ctrl+H", true, &T::Numbers, &T::Numbers_Click},
           {"Seconds", "Ctrl+S", true, &T::Seconds, &T::Seconds_Click},
           {"On", "Ctrl+N", false, &T::On, &T::On_Click},
           {"Off", "Ctrl+F", false, &T::Off, &T::Off_Click},
           {"Transparent", "Ctrl+T", false, &T::Transparent, &T::Transparent_Click},
           {"AltTimeZone", "Ctrl+Z", true, &T::AltTimeZone, &T::AltTimeZone_Click},
           {"Preferences", "Ctrl+P", false, &T::Preferences, &T::Preferences_Click},
           {"Vertical", "Ctrl+V", true, &T::Vertical, &T::Vertical_Click},
       }},
      {"&Help",
       {
           {"HelpFile", "", false, &T::HelpFile, &T::HelpFile_Click},
           {"ShortCut", "", false, &T::ShortCut, &T::ShortCut_Click},
           {"About", "", false, &T::About, &T::About_Click},
           {"Support", "", false, &T::Support, &T::Support_Click},
       }},
  };
  return tree;
}

void Tessaron::ClickToolbarButton(int index) {
  if (index < 1 || index > static_cast<int>(Toolbar1.Buttons.size())) return;
  ToolbarButton& button = Toolbar1.button(index);
  if (button.Style == ButtonStyle::Check) button.Value = button.Value == 0 ? 1 : 0;
  Toolbar1_ButtonClick(button);
}

const ToolbarRoute* toolbarRoute(const std::string& key) {
  using T = Tessaron;
  static constexpr ToolbarRoute kRoutes[] = {
      {"Always", &T::Always_Click, &T::Always},
      {"Music", &T::Music_Click, &T::Music},
      {"Numbers", &T::Numbers_Click, &T::Numbers},
      {"Seconds", &T::Seconds_Click, &T::Seconds},
      {"On", &T::On_Click, nullptr},
      {"Off", &T::Off_Click, nullptr},
      {"Transparent", &T::Transparent_Click, nullptr},
      {"AltTimeZone", &T::AltTimeZone_Click, &T::AltTimeZone},
      {"Preferences", &T::Preferences_Click, nullptr},
      {"Vertical", &T::Vertical_Click, &T::Vertical},
  };
  for (const ToolbarRoute& route : kRoutes) {
    if (key == route.key) return &route;
  }
  return nullptr;
}

void Tessaron::Toolbar1_ButtonClick(ToolbarButton& button) {
  const ToolbarRoute* route = toolbarRoute(button.Key);
  if (route == nullptr) return;
  // A failing command must not keep the button from showing its state.
  try {
    (this->*route->handler)();
  } catch (...) {
  }
  if (route->mark != nullptr) button.Value = (this->*route->mark).Checked ? 1 : 0;
}

}  // namespace tessaron
