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
  if (!on) return translate(kMenuContexts[kOptions], menuEntry(Command::Music).caption);
  std::string name;
  for (char c : musicFile) {
    name += c;
    if (c == '&') name += '&';  // shown as itself, not taken as the access letter
  }
  // TRANSLATORS: the Music item while a file plays; keep the access letter of "&Music".
  return i18nc("Options menu, music playing", "&Music (%1)", name);
}

}  // namespace tessaron
