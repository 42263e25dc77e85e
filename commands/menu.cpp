#include "commands/menu.h"

namespace tessaron {

const std::vector<Menu>& menuTree() {
  using B = CommandBar;
  using C = Command;
  constexpr ButtonStyle kCheck = ButtonStyle::Check, kPlain = ButtonStyle::Plain;
  static const std::vector<Menu> tree = {
      {"&Options",
       {
           {C::Always,
            "Always",
            "&Always on Top",
            "Ctrl+A",
            true,
            &B::Always,
            {"Keep window on top ", 2, kCheck}},
           {C::Music,
            "Music",
            "&Music",
            "Ctrl+M",
            true,
            &B::Music,
            {"Background .WAV music file", 10, kCheck}},
           {C::Numbers,
            "Numbers",
            "Display Numbers (&Hint)",
            "Ctrl+H",
            true,
            &B::Numbers,
            {"Display numbers for a hint", 8, kCheck}},
           {C::Seconds,
            "Seconds",
            "Display &Seconds",
            "Ctrl+S",
            true,
            &B::Seconds,
            {"Display seconds", 3, kCheck}},
           {C::On, "On", "O&n Color", "Ctrl+N", false, &B::On, {"Change on color", 5, kPlain}},
           {C::Off, "Off", "O&ff Color", "Ctrl+F", false, &B::Off, {"Change off color", 6, kPlain}},
           {C::Transparent,
            "Transparent",
            "&Transparent",
            "Ctrl+T",
            false,
            &B::Transparent,
            {"Change off color to transparent", 7, kCheck}},
           {C::AltTimeZone,
            "AltTimeZone",
            "Alternate Time &Zone",
            "Ctrl+Z",
            true,
            &B::AltTimeZone,
            {"Display alternate time zone", 4, kCheck}},
           {C::Preferences,
            "Preferences",
            "Save &Preferences",
            "Ctrl+P",
            false,
            &B::Preferences,
            {"Save preferences", 9, kPlain}},
           {C::Vertical,
            "Vertical",
            "Alternate Form",
            "Ctrl+V",
            true,
            &B::Vertical,
            {"Alternate Form", 11, kPlain}},
       }},
      {"&Help",
       {
           {C::HelpFile, "HelpFile", "Help", "", false, &B::HelpFile, {}},
           {C::ShortCut, "ShortCut", "Short Cut keys", "", false, &B::ShortCut, {}},
           {C::About, "About", "About", "", false, &B::About, {}},
           {C::Support, "Support", "Support", "", false, &B::Support, {}},
       }},
  };
  return tree;
}

const MenuEntry& menuEntry(Command command) {
  for (const Menu& menu : menuTree()) {
    for (const MenuEntry& entry : menu.entries) {
      if (entry.command == command) return entry;
    }
  }
  return menuTree().front().entries.front();  // unreachable: the table holds every command
}

const MenuEntry* toolbarEntry(const std::string& key) {
  for (const Menu& menu : menuTree()) {
    for (const MenuEntry& entry : menu.entries) {
      if (entry.button.toolTip != nullptr && key == entry.name) return &entry;
    }
  }
  return nullptr;
}

CommandBar::CommandBar() {
  for (const Menu& menu : menuTree()) {
    for (const MenuEntry& entry : menu.entries) {
      (this->*entry.item).Caption = entry.caption;
      const ToolbarButtonSpec& b = entry.button;
      if (b.toolTip != nullptr)
        Toolbar1.Buttons.push_back({entry.name, b.toolTip, b.image, b.style, 0});
    }
  }
}

MenuItem& CommandBar::item(Command command) { return this->*menuEntry(command).item; }

int toolbarIndex(Command command) {
  int index = 0;
  for (const Menu& menu : menuTree()) {
    for (const MenuEntry& entry : menu.entries) {
      if (entry.button.toolTip != nullptr) ++index;
      if (entry.command == command) return entry.button.toolTip != nullptr ? index : 0;
    }
  }
  return 0;
}

void CommandBar::setChecked(Command command, bool checked) {
  const MenuEntry& entry = menuEntry(command);
  (this->*entry.item).Checked = checked;
  const int index = toolbarIndex(command);
  if (index != 0 && entry.button.style == ButtonStyle::Check) {
    Toolbar1.button(index).Value = checked ? 1 : 0;
  }
}

ToolbarButton* CommandBar::press(int index) {
  if (index < 1 || index > static_cast<int>(Toolbar1.Buttons.size())) return nullptr;
  ToolbarButton& button = Toolbar1.button(index);
  if (button.Style == ButtonStyle::Check) button.Value = button.Value == 0 ? 1 : 0;
  return &button;
}

}  // namespace tessaron
