#pragma once
// The rule a zone file's footer gives for the years after its last stored change, as a
// POSIX TZ string with the tz extensions (hours beyond 24 and below 0 in rule times).
//
// Example: "EST5EDT,M3.2.0,M11.1.0" is New York: EST at UTC-5, EDT at UTC-4 from the
// second Sunday of March 02:00 EST to the first Sunday of November 02:00 EDT; in 2026
// that is 2026-03-08 07:00 UTC to 2026-11-01 06:00 UTC.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/tzdb/unix_time.h"

namespace tessaron::tzdb {

// Where in a year a change falls, and at what local time.
struct PosixDate {
  enum class Kind { Julian, ZeroBased, MonthWeekDay };  // Jn, n, Mm.w.d
  Kind kind = Kind::MonthWeekDay;
  int day = 0;               // Julian: [1:365], 29 February never counted; ZeroBased: [0:365]
  int month = 0;             // MonthWeekDay: [1:12]
  int week = 0;              // MonthWeekDay: week of month [1:5], 5 = last
  int weekday = 0;           // MonthWeekDay: [0:6], 0 = Sunday
  std::int32_t time = 7200;  // seconds after local midnight [-167 h:167 h]; 02:00 when not given
};

struct PosixTz {
  std::string stdName;       // e.g. "EST" or "+0330" (angle brackets dropped)
  UtcOffset stdOffset;       // [-24 h:24 h] (the text counts west)
  bool hasDaylight = false;  // false: stdOffset all year
  std::string dstName;       // e.g. "EDT"
  UtcOffset dstOffset;       // one hour east of stdOffset when not given
  PosixDate start;           // daylight begins, in standard local time
  PosixDate end;             // daylight ends, in daylight local time
};

// Grammar: name offset [name [offset] [',' date ['/' time] ',' date ['/' time]]]
// (name, offset, date and time as in the comments of posix_tz.cpp); nothing unless it all fits.
std::optional<PosixTz> parsePosixTz(std::string_view text);

// When daylight begins and ends in `year` [1:9999]. Either may come first:
// the end comes first in the southern hemisphere.
struct DaylightInstants {
  UtcTime start;
  UtcTime end;
};
DaylightInstants daylightInstants(const PosixTz& tz, int year);

}  // namespace tessaron::tzdb
