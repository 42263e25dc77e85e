#pragma once
// One zone of the database read for one year when the clock first needs it: the year's
// yearly rules, whether they hold the whole local year, and the file's own offsets.
//
// Example: "America/Havana" read for 2027 (daylight time from 8 March 2026 to 7 November
// 2027) gives rules no pair can make right, so exact = false and the file's offsets from
// 2026-12-30 00:00 UTC (-14400 s) with one change, 2027-11-07 05:00 UTC to -18000 s, up to
// 2028-01-03 00:00 UTC. "America/New_York" read for 2026 gives its two changes as rules,
// exact = true.

#include <string>

#include "platform/platform.h"
#include "platform/tzdb/tzif.h"

namespace tessaron::tzdb {

// How far the offsets reach beyond the year on each side: more than any offset from UTC,
// so every instant whose local date lies in the year is covered.
constexpr std::chrono::seconds kZoneYearMargin = std::chrono::days(2);

// The zone file's offsets through [from, to), from the timelines of the years around it;
// nothing when one of them cannot be read.
std::optional<ZoneYear> offsetsBetween(ByteSource& file, UtcTime from, UtcTime to);

// Whether `record`, through the core's UtcToZone, gives every instant of `offsets` (from
// its `from` to its `to`) the offset that they give.
bool rulesMatch(const ZoneRecord& record, const ZoneYear& offsets);

// `zoneId` under zoneinfoDir read for `year` [2:9998]; "UTC" is UTC. found = false when the
// id is unsafe or the file is missing or damaged.
ZoneYear readZoneYear(const std::string& zoneinfoDir, const std::string& zoneId, int year);

}  // namespace tessaron::tzdb
