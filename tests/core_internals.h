#pragma once
// What no command reaches, for the tests that need it: dots left stale, a hint colour set
// without the colour prompts around it, a mark out of step with its button, a button key
// no table gives, a toolbar drawn narrower by another style. Tests read through the
// clock's own read-only face and change it through commands and the fake desktop; only
// these write past them.

#include <string>

#include "commands/command_bar.h"
#include "core/tessaron.h"
#include "layout/dot_layout.h"

namespace tessaron::test {

struct Internals {
  static void paintDots(Tessaron& c, int first, int last, Colour colour) {
    c.layout_->fillDots(first, last, colour);
  }
  static void setHintColor(Tessaron& c, Colour colour) { c.HintColor = colour; }
  // The item's mark alone, its button left as it was.
  static void markOnly(Tessaron& c, Command command, bool checked) {
    c.commands_->itemToChange(command).Checked = checked;
  }
  static void renameButton(Tessaron& c, int index, const std::string& key) {
    c.commands_->Toolbar1.button(index).Key = key;
  }
  static void setButtonWidth(Tessaron& c, Twips width) {
    c.commands_->Toolbar1.ButtonWidth = width;
  }
  // Whether the next tick repaints every dot; where the window was when the preferences
  // were read, and whether the user was told that saves go elsewhere.
  static bool redrawAll(const Tessaron& c) { return c.RedrawAll; }
  static Twips savedLeft(const Tessaron& c) { return c.SavedLeft; }
  static Twips savedTop(const Tessaron& c) { return c.SavedTop; }
  static bool savedElsewhereTold(const Tessaron& c) { return c.savedElsewhereTold_; }
};

}  // namespace tessaron::test
