#pragma once
// One year of a zone's local time as the catalogue's pair of yearly rules.
//
// Example: America/New_York in 2026 (EST; EDT from 2026-03-08 07:00 UTC; EST again from
// 2026-11-01 06:00 UTC) gives Bias 300, DaylightBias -60, DaylightDate {Month 3, DayOfWeek 0,
// Day 2, 02:00:00} in EST wall time, StandardDate {Month 11, DayOfWeek 0, Day 1, 02:00:00} in
// EDT wall time, Dlt "EDT", exact.
//
// The record's standard time is always the lower of the year's two offsets and its daylight
// time the higher, whatever the file calls them: Dublin's winter GMT (which the file flags as
// daylight, with a negative saving) becomes standard and summer IST daylight, and Casablanca's
// Ramadan +00 becomes standard with +01 as a daylight time that runs across the new year.
// Either way the instants of the changes are the file's own. Each change is written for that
// year's actual wall date and time, so rule hours such as 24:00, 25:00 or -1:00 come out as
// the real date and an hour in [0:23]; Day is the occurrence of the weekday in its month, 5
// when it is the month's last.
//
// A year that one pair of rules cannot describe exactly (one change of offset and back never
// comes; or three or more changes, as in Casablanca's years with two Ramadan periods or
// Gaza's years with a break in daylight time) gets the candidate that is right for the
// longest part of the year: no daylight time at one of its offsets, or one of its changes
// taken as the start of daylight time and a later one as its end. Such a year is marked
// inexact.

#include <cstdint>

#include "platform/platform.h"
#include "platform/tzdb/tzif.h"

namespace tessaron::tzdb {

struct YearRules {
  ZoneRecord record;  // Bias, DaylightBias, both dates and Dlt; other texts empty
  bool exact = true;  // false: the rules give some instant of the year a wrong offset
  std::int64_t wrongSeconds =
      0;  // [0:31622400]: how long the rules' offsets differ from the file's
};

YearRules rulesForYear(const YearTimeline& timeline);

}  // namespace tessaron::tzdb
