#pragma once
// A weekday-form change rule written in one line, for the zone tests.
// Example: weekdayRule(3, 0, 2, 2) is "the second Sunday of March at 02:00".

#include <cstdint>

#include "platform/platform.h"

namespace tessaron::test {

inline TransitionRule weekdayRule(int month, int dayOfWeek, int day, int hour, int minute = 0,
                                  int second = 0) {
  TransitionRule r;
  r.Month = static_cast<std::uint16_t>(month);
  r.DayOfWeek = static_cast<std::uint16_t>(dayOfWeek);
  r.Day = static_cast<std::uint16_t>(day);
  r.Hour = static_cast<std::uint16_t>(hour);
  r.Minute = static_cast<std::uint16_t>(minute);
  r.Second = static_cast<std::uint16_t>(second);
  return r;
}

}  // namespace tessaron::test
