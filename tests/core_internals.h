#pragma once
// The clock's private state, for tests that set up what no command reaches: a dot left
// stale, a toolbar drawn narrower by another style, a list entry renamed under the clock.
// Tests read through the clock's own read-only face; they write only through this.

#include "core/tessaron.h"

namespace tessaron::test {

struct Internals {
  static AlternateZone& zone(Tessaron& c) { return c.zone; }
  static DotLayout& layout(Tessaron& c) { return c.layout; }
  static CommandBar& commands(Tessaron& c) { return c.commands; }
  static bool& redrawAll(Tessaron& c) { return c.RedrawAll; }
  static bool redrawAll(const Tessaron& c) { return c.RedrawAll; }
  static Colour& onColor(Tessaron& c) { return c.OnColor; }
  static Colour& offColor(Tessaron& c) { return c.OffColor; }
  static Colour& hintColor(Tessaron& c) { return c.HintColor; }
  // Where the window was when the preferences were read, and whether the user was told
  // that saves go elsewhere.
  static double savedLeft(const Tessaron& c) { return c.SavedLeft; }
  static double savedTop(const Tessaron& c) { return c.SavedTop; }
  static bool savedElsewhereTold(const Tessaron& c) { return c.SavedElsewhereTold; }
};

}  // namespace tessaron::test
