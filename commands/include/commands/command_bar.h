#pragma once
// The menu items and the toolbar as the window shows them: one item per command of the
// table, one button per entry with a button. The core changes them only through the
// verbs below; the desktop reads them.
//
// Example: setChecked(Command::Seconds, true) marks "Display &Seconds" and presses the
// fourth button; makeUnavailable(Command::Always, why) greys the item and the second
// button, both telling why.

#include <array>
#include <string>

#include "commands/menu.h"
#include "platform/controls.h"

namespace tessaron {

namespace test {
struct Internals;
}

class CommandBar {
 public:
  CommandBar();  // captions and buttons from the table

  const MenuItem& item(Command command) const;
  bool checked(Command command) const { return item(command).Checked; }
  bool enabled(Command command) const { return item(command).Enabled; }
  const Toolbar& toolbar() const { return Toolbar1; }

  // A switch's check mark, and the pressed state of its button when that is check-style.
  void setChecked(Command command, bool checked);
  void setEnabled(Command command, bool enabled);
  // The item and its button, if it has one, greyed, each saying `reason`.
  void makeUnavailable(Command command, const std::string& reason);
  // The Music item's caption for the music playing or not (see musicCaption).
  void setMusicCaption(bool playing, const std::string& musicFile);
  // What the toolkit does on a click of button `index` (1-based) before it notifies:
  // flips a check-style button. Null when there is no such button.
  const ToolbarButton* press(int index);

 private:
  // Tests set up what no command reaches: a mark out of step with its button, a key no
  // table gives, a toolbar drawn narrower by another style.
  friend struct test::Internals;

  MenuItem& itemToChange(Command command);

  std::array<MenuItem, kCommandTable.size()> items_;  // by Command
  Toolbar Toolbar1;
};

}  // namespace tessaron
