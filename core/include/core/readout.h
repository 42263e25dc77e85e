#pragma once
// The time the dots show, in words: the text a screen reader gets and the readout
// shown on hover. Both read what the last tick drew, never the clock again.
//
// Example: the dots showing 21:43:17 of Tokyo, seconds on, alternate zone on:
//   shownTimeText -> "21:43:17 Asia/Tokyo"
//   readoutText   -> "21:43:17\n2026-12-10\nAsia/Tokyo, UTC+09:00"
// With the local time and the seconds hidden: "21:43" and "21:43\n2026-12-10\nLocal time".

#include <string>

#include "platform/platform.h"

namespace tessaron {

// What the last tick drew.
struct ShownTime {
  bool drawn = false;            // false until the first full redraw
  int hour = 0;                  // [0:23], as the hour dots show it
  int minute = 0;                // [0:59]
  int second = 0;                // [0:59], as the seconds dots show it
  bool withSeconds = false;      // the seconds dots are shown
  bool alternate = false;        // the time is the alternate zone's
  ZoneTime alternateAt;          // the alternate zone's date and time, when `alternate`
  UtcOffset alternateOffset{0};  // there and then, when `alternate`
  std::string zone;              // the alternate zone's name, when `alternate`: "Asia/Tokyo"

  bool operator==(const ShownTime&) const = default;
};

// "21:43:17", or "21:43" with the seconds hidden; empty before anything is drawn.
std::string clockText(const ShownTime& shown);
// The zone's name as its list entry gives it, without the offset: "America/New York".
std::string zoneName(const ZoneRecord& zone);
// An offset as "UTC+09:00", "UTC-03:30", "UTC+00:00" (seconds dropped).
std::string utcOffsetText(UtcOffset offset);

// The dots' time, with the alternate zone's name while the dots show that zone.
std::string shownTimeText(const ShownTime& shown);
// Three lines: the shown time, its date (YYYY-MM-DD), and the zone: "Local time", or the
// alternate zone's name and its offset at that moment. `today` is the local date and
// time, used while the dots show the local time.
std::string readoutText(const ShownTime& shown, ZoneTime today);

}  // namespace tessaron
