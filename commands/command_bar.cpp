#include "commands/command_bar.h"

namespace tessaron {

CommandBar::CommandBar() {
  for (const MenuEntry& entry : kCommandTable) {
    itemToChange(entry.command).Caption = translate(kMenuContexts[entry.menu], entry.caption);
    const ToolbarButtonSpec& b = entry.button;
    if (b.toolTip != nullptr) {
      Toolbar1.Buttons.push_back({entry.name, translate(b.toolTip), b.image, b.style, 0});
    }
  }
}

MenuItem& CommandBar::itemToChange(Command command) {
  return items_[static_cast<std::size_t>(command)];
}
const MenuItem& CommandBar::item(Command command) const {
  return items_[static_cast<std::size_t>(command)];
}

void CommandBar::setChecked(Command command, bool checked) {
  const MenuEntry& entry = menuEntry(command);
  itemToChange(command).Checked = checked;
  const int index = toolbarIndex(command);
  if (index != 0 && entry.button.style == ButtonStyle::Check) {
    Toolbar1.button(index).Value = checked ? 1 : 0;
  }
}

void CommandBar::setEnabled(Command command, bool enabled) {
  itemToChange(command).Enabled = enabled;
}

void CommandBar::makeUnavailable(Command command, const std::string& reason) {
  MenuItem& entry = itemToChange(command);
  entry.Enabled = false;
  entry.Description = reason;
  if (const int index = toolbarIndex(command); index != 0) {
    ToolbarButton& button = Toolbar1.button(index);
    button.Enabled = false;
    button.ToolTipText = reason;
  }
}

void CommandBar::setMusicCaption(bool playing, const std::string& musicFile) {
  itemToChange(Command::Music).Caption = musicCaption(playing, musicFile);
}

const ToolbarButton* CommandBar::press(int index) {
  if (index < 1 || index > static_cast<int>(Toolbar1.Buttons.size())) return nullptr;
  ToolbarButton& button = Toolbar1.button(index);
  if (button.Style == ButtonStyle::Check) button.Value = button.Value == 0 ? 1 : 0;
  return &button;
}

}  // namespace tessaron
