#include "commands/menu.h"

namespace tessaron {

const std::vector<Menu>& menuTree() {
  static const std::vector<Menu> tree = [] {
    std::vector<Menu> menus;
    for (const char* caption : kMenuCaptions) menus.push_back({caption, {}});
    for (const MenuEntry& entry : kCommandTable) {
      menus[static_cast<std::size_t>(entry.menu)].entries.push_back(entry);
    }
    return menus;
  }();
  return tree;
}

const MenuEntry* toolbarEntry(const std::string& key) {
  for (const MenuEntry& entry : kCommandTable) {
    if (entry.button.toolTip != nullptr && key == entry.name) return &entry;
  }
  return nullptr;
}

std::string musicCaption(bool on, const std::string& musicFile) {
  if (!on) return "&Music";
  std::string name;
  for (char c : musicFile) {
    name += c;
    if (c == '&') name += '&';  // shown as itself, not taken as the access letter
  }
  return "&Music (" + name + ")";
}

CommandBar::CommandBar() {
  for (const MenuEntry& entry : kCommandTable) {
    (this->*entry.item).Caption = entry.caption;
    const ToolbarButtonSpec& b = entry.button;
    if (b.toolTip != nullptr) {
      Toolbar1.Buttons.push_back({entry.name, b.toolTip, b.image, b.style, 0});
    }
  }
}

MenuItem& CommandBar::item(Command command) { return this->*menuEntry(command).item; }
const MenuItem& CommandBar::item(Command command) const { return this->*menuEntry(command).item; }

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
