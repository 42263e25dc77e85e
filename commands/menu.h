#pragma once
// The menu tree and the toolbar's pictures, as tables the desktop side builds its
// menus and buttons from. Every entry names the handler it runs, so a menu item,
// its shortcut and its toolbar button reach the same code.
//
// Example: {"Seconds", "Ctrl+S", true, &Tessaron::Seconds, &Tessaron::Seconds_Click}
// is the "Display &Seconds" switch, whose caption and check mark live in the core.

#include <array>
#include <string>
#include <vector>

#include "core/tessaron.h"

namespace tessaron {

struct MenuEntry {
  const char* name;             // the item's name, e.g. "Seconds"
  const char* shortcut;         // e.g. "Ctrl+S"; empty for none
  bool isSwitch;                // carries a check mark
  MenuItem Tessaron::*item;     // caption and check mark
  void (Tessaron::*handler)();  // what choosing it runs
};

struct Menu {
  const char* caption;             // e.g. "&Options"
  std::vector<MenuEntry> entries;  // in menu order, no separators
};

const std::vector<Menu>& menuTree();

// Where a toolbar click goes: the handler of the menu item with the button's key, and
// the item whose check mark the button shows afterwards (null: left as the click made it).
struct ToolbarRoute {
  const char* key;
  void (Tessaron::*handler)();
  MenuItem Tessaron::*mark;
};

// The route whose key equals `key` exactly (case-sensitive), or null.
const ToolbarRoute* toolbarRoute(const std::string& key);

// Keys of the toolbar's pictures, by 1-based index; picture 1 is on no button.
constexpr std::array<const char*, 11> kImageKeys = {
    "Main",        "Always",  "Seconds",     "AltTimeZone", "On",      "Off",
    "Transparent", "Numbers", "Preferences", "Music",       "Vertical"};

}  // namespace tessaron
