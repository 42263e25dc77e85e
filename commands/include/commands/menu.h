#pragma once
// The menu tree and the toolbar in one table: each command's name, caption, shortcut,
// check mark and toolbar button. The desktop side builds its menus and buttons from
// it, and a toolbar click finds its command by the button's key.
//
// Example: {Command::Seconds, kOptions, "Seconds", "Display &Seconds", "Ctrl+S", true,
// {"Display seconds", 3, ButtonStyle::Check}} is a switch of the
// Options menu and the fourth toolbar button (the fourth entry with one), which shows
// picture 3 and the switch's mark, however it was switched. A command's button is a plain
// push button.

#include <array>
#include <string>
#include <vector>

#include "i18n/i18n.h"
#include "platform/controls.h"

namespace tessaron {

// Every command of the menus, in menu order.
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
  ZoomIn,
  ZoomOut,
  ZoomReset,
  StartAtLogin,
  HelpFile,
  ShortCut,
  About,
  Support,
};

struct ToolbarButtonSpec {
  const char* toolTip = nullptr;  // null: the command has no button
  int image = 0;                  // 1-based index into kImageKeys
  ButtonStyle style = ButtonStyle::Plain;
};

constexpr std::array<const char*, 2> kMenuCaptions = {I18NC_NOOP("menu bar", "&Options"),
                                                      I18NC_NOOP("menu bar", "&Help")};
// The translators' context of each menu's captions, by the index into kMenuCaptions: a
// menu's access letters are unique within it in every language.
constexpr std::array<const char*, 2> kMenuContexts = {"Options menu", "Help menu"};
inline constexpr const char* kMenuBarContext = "menu bar";
constexpr int kOptions = 0, kHelp = 1;  // indexes into kMenuCaptions

struct MenuEntry {
  Command command;
  int menu;              // index into kMenuCaptions
  const char* name;      // the item's name and its button's key, e.g. "Seconds"
  const char* caption;   // e.g. "Display &Seconds"
  const char* shortcut;  // e.g. "Ctrl+S", "F1"; empty for none
  bool isSwitch;         // carries a check mark, which its button always shows
  ToolbarButtonSpec button;
};

// In menu order; the toolbar's buttons are the entries with one, in the same order. Every
// caption has an access letter, unique within its menu; captions and tooltips are stored in
// English and shown in the user's language, each menu's captions under its own context.
// clang-format off
constexpr std::array<MenuEntry, 18> kCommandTable = {{
    {Command::Always, kOptions, "Always", I18NC_NOOP("Options menu", "&Always on Top"), "Ctrl+A", true,
     {I18N_NOOP("Keep window on top "), 2, ButtonStyle::Check}},
    {Command::Music, kOptions, "Music", I18NC_NOOP("Options menu", "&Music"), "Ctrl+M", true,
     {I18N_NOOP("Background .WAV music file"), 10, ButtonStyle::Check}},
    {Command::Numbers, kOptions, "Numbers", I18NC_NOOP("Options menu", "Display Numbers (&Hint)"), "Ctrl+H", true,
     {I18N_NOOP("Display numbers for a hint"), 8, ButtonStyle::Check}},
    {Command::Seconds, kOptions, "Seconds", I18NC_NOOP("Options menu", "Display &Seconds"), "Ctrl+S", true,
     {I18N_NOOP("Display seconds"), 3, ButtonStyle::Check}},
    {Command::On, kOptions, "On", I18NC_NOOP("Options menu", "O&n Color"), "Ctrl+N", false,
     {I18N_NOOP("Change on color"), 5, ButtonStyle::Plain}},
    {Command::Off, kOptions, "Off", I18NC_NOOP("Options menu", "O&ff Color"), "Ctrl+F", false,
     {I18N_NOOP("Change off color"), 6, ButtonStyle::Plain}},
    {Command::Transparent, kOptions, "Transparent", I18NC_NOOP("Options menu", "&Transparent"), "Ctrl+T", false,
     {I18N_NOOP("Change off color to transparent"), 7, ButtonStyle::Plain}},
    {Command::AltTimeZone, kOptions, "AltTimeZone", I18NC_NOOP("Options menu", "Alternate Time &Zone"), "Ctrl+Z", true,
     {I18N_NOOP("Display alternate time zone"), 4, ButtonStyle::Check}},
    {Command::Preferences, kOptions, "Preferences", I18NC_NOOP("Options menu", "Save &Preferences"), "Ctrl+P", false,
     {I18N_NOOP("Save preferences"), 9, ButtonStyle::Plain}},
    {Command::Vertical, kOptions, "Vertical", I18NC_NOOP("Options menu", "A&lternate Form"), "Ctrl+V", true,
     {I18N_NOOP("Alternate Form"), 11, ButtonStyle::Check}},
    {Command::ZoomIn, kOptions, "ZoomIn", I18NC_NOOP("Options menu", "Zoom &In"), "Ctrl++", false, {}},
    {Command::ZoomOut, kOptions, "ZoomOut", I18NC_NOOP("Options menu", "Zoom O&ut"), "Ctrl+-", false, {}},
    {Command::ZoomReset, kOptions, "ZoomReset", I18NC_NOOP("Options menu", "&Reset Zoom"), "Ctrl+0", false, {}},
    // "L" is Alternate Form's already.
    {Command::StartAtLogin, kOptions, "StartAtLogin", I18NC_NOOP("Options menu", "Start at L&ogin"), "", true, {}},
    {Command::HelpFile, kHelp, "HelpFile", I18NC_NOOP("Help menu", "&Help"), "F1", false, {}},
    {Command::ShortCut, kHelp, "ShortCut", I18NC_NOOP("Help menu", "&Short Cut keys"), "", false, {}},
    {Command::About, kHelp, "About", I18NC_NOOP("Help menu", "&About"), "", false, {}},
    {Command::Support, kHelp, "Support", I18NC_NOOP("Help menu", "S&upport"), "", false, {}},
}};
// clang-format on

// The table lists every command in the enumeration's order, so a command finds its entry
// at once: the window reads the items of every command at each tick.
constexpr bool inCommandOrder() {
  for (std::size_t i = 0; i < kCommandTable.size(); ++i) {
    if (static_cast<std::size_t>(kCommandTable[i].command) != i) return false;
  }
  return true;
}
static_assert(inCommandOrder(), "kCommandTable lists the commands in their enumeration's order");

constexpr const MenuEntry& menuEntry(Command command) {
  return kCommandTable[static_cast<std::size_t>(command)];
}

// The 1-based index of the command's toolbar button; 0 when it has none.
constexpr int toolbarIndex(Command command) {
  int index = 0;
  for (const MenuEntry& entry : kCommandTable) {
    if (entry.button.toolTip != nullptr) ++index;
    if (entry.command == command) return entry.button.toolTip != nullptr ? index : 0;
  }
  return 0;
}

// The switches' buttons, as their handlers and tests address them.
constexpr int kButtonAlways = toolbarIndex(Command::Always);
constexpr int kButtonMusic = toolbarIndex(Command::Music);
constexpr int kButtonNumbers = toolbarIndex(Command::Numbers);
constexpr int kButtonSeconds = toolbarIndex(Command::Seconds);
constexpr int kButtonOn = toolbarIndex(Command::On);
constexpr int kButtonOff = toolbarIndex(Command::Off);
constexpr int kButtonTransparent = toolbarIndex(Command::Transparent);
constexpr int kButtonAltTimeZone = toolbarIndex(Command::AltTimeZone);
constexpr int kButtonPreferences = toolbarIndex(Command::Preferences);
constexpr int kButtonVertical = toolbarIndex(Command::Vertical);

struct Menu {
  const char* caption;             // e.g. "&Options"
  std::vector<MenuEntry> entries;  // in menu order, no separators
};

// The table grouped by menu, as the menu bar shows it.
const std::vector<Menu>& menuTree();

// The entry with a button whose key equals `key` exactly (case-sensitive), or null.
const MenuEntry* toolbarEntry(const std::string& key);

// The Music item's caption, in the user's language: "&Music" while off, "&Music (name)"
// while on, keeping its access letter in both; a "&" in the name is doubled so that it
// shows as itself.
std::string musicCaption(bool on, const std::string& musicFile);

// Keys of the toolbar's pictures, by 1-based index; picture 1 is on no button.
constexpr std::array<const char*, 11> kImageKeys = {
    "Main",        "Always",  "Seconds",     "AltTimeZone", "On",      "Off",
    "Transparent", "Numbers", "Preferences", "Music",       "Vertical"};

}  // namespace tessaron
