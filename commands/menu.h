#pragma once
// The menu tree and the toolbar in one table: each command's name, caption, shortcut,
// check mark and toolbar button. The desktop side builds its menus and buttons from
// it, and a toolbar click finds its command by the button's key.
//
// Example: {Command::Seconds, "Seconds", "Display &Seconds", "Ctrl+S", true,
// &CommandBar::Seconds, {"Display seconds", 3, ButtonStyle::Check}} is a menu switch
// and the fourth toolbar button, showing picture 3 and, after a click, the switch's mark.

#include <array>
#include <string>
#include <vector>

#include "platform/controls.h"

namespace tessaron {

// Every command of the menus, in menu order; the toolbar's buttons come first.
enum class Command {
  Always,
  Music,
  Numbers,
  Seconds,
  On,
  Off,
  Transparent,
  AltTimeZone,
  Preferences,
  Vertical,
  HelpFile,
  ShortCut,
  About,
  Support,
};

// Toolbar button indexes (1-based), as the switch handlers address them.
enum ToolbarIndex : int {
  kButtonAlways = 1,
  kButtonMusic = 2,
  kButtonNumbers = 3,
  kButtonSeconds = 4,
  kButtonOn = 5,
  kButtonOff = 6,
  kButtonTransparent = 7,
  kButtonAltTimeZone = 8,
  kButtonPreferences = 9,
  kButtonVertical = 10,
};

// The menu items and the toolbar, as the window shows them.
class CommandBar {
 public:
  CommandBar();  // captions and buttons from the table

  MenuItem& item(Command command);
  // A switch's check mark, and the pressed state of its button when that is check-style.
  void setChecked(Command command, bool checked);
  // What the toolkit does on a click of button `index` (1-based) before it notifies:
  // flips a check-style button. Null when there is no such button.
  ToolbarButton* press(int index);

  MenuItem Always, Music, Numbers, Seconds, On, Off, Transparent, AltTimeZone, Preferences,
      Vertical, HelpFile, ShortCut, About, Support;
  Toolbar Toolbar1;
};

struct ToolbarButtonSpec {
  const char* toolTip = nullptr;  // null: the command has no button
  int image = 0;                  // 1-based index into kImageKeys
  ButtonStyle style = ButtonStyle::Plain;
};

struct MenuEntry {
  Command command;
  const char* name;      // the item's name and its button's key, e.g. "Seconds"
  const char* caption;   // e.g. "Display &Seconds"
  const char* shortcut;  // e.g. "Ctrl+S"; empty for none
  bool isSwitch;         // carries a check mark, which its button shows after a click
  MenuItem CommandBar::*item;
  ToolbarButtonSpec button;
};

struct Menu {
  const char* caption;             // e.g. "&Options"
  std::vector<MenuEntry> entries;  // in menu order, no separators
};

const std::vector<Menu>& menuTree();
const MenuEntry& menuEntry(Command command);

// The 1-based index of the command's toolbar button; 0 when it has none.
int toolbarIndex(Command command);

// The entry with a button whose key equals `key` exactly (case-sensitive), or null.
const MenuEntry* toolbarEntry(const std::string& key);

// Keys of the toolbar's pictures, by 1-based index; picture 1 is on no button.
constexpr std::array<const char*, 11> kImageKeys = {
    "Main",        "Always",  "Seconds",     "AltTimeZone", "On",      "Off",
    "Transparent", "Numbers", "Preferences", "Music",       "Vertical"};

}  // namespace tessaron
