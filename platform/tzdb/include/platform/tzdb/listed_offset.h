#pragma once
// The offset a zone's list entry and label name at an instant: the standard offset the zone
// file marks in force then, and until when it stays.
//
// Example: America/Havana at 2026-07-01 00:00 UTC is in CDT (-4, daylight since March 2026,
// until November 2027); the standard offset in force is CST's, -18000 s, so the entry reads
// "(UTC-05:00)". America/Edmonton at 2026-07-01 reads -25200 s (MST) until its change in
// November to a standard -21600 s.
//
// Where the file's daylight time lies below its standard time (Dublin's winter GMT beside
// summer IST, Casablanca's Ramadan +00 beside +01), the lower one is named: the clock calls
// the higher of two alternating offsets daylight, as the yearly rules do.

#include <optional>

#include "platform/tzdb/tzif.h"
#include "platform/tzdb/unix_time.h"

namespace tessaron::tzdb {

struct ListedOffset {
  UtcOffset offset;  // seconds east of UTC
  UtcTime until;     // the first instant after `at` that may name another; later than `at`
};

// Nothing when the file cannot be read for the years around `at`.
std::optional<ListedOffset> listedOffsetAt(ByteSource& file, UtcTime at);

}  // namespace tessaron::tzdb
