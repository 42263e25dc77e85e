#pragma once
// A time zone as the catalogue gives it: offsets in minutes and the two yearly
// changes. Example, New York in 2026:
//   Bias 300, DaylightBias -60,
//   DaylightDate {Year 0, Month 3, DayOfWeek 0, Day 2, 2:00:00}
//     (second Sunday of March, 02:00 EST),
//   StandardDate {Year 0, Month 11, DayOfWeek 0, Day 1, 2:00:00}
//     (first Sunday of November, 02:00 EDT),
//   Display "(UTC-05:00) America/New York", Std "America/New_York", Dlt "EDT".

#include <string>

#include "platform/platform.h"

namespace tessaron {

// The rules with the catalogue entry's texts.
struct ZoneRecord : ZoneRules {
  std::string Display;
  std::string Std;
  std::string Dlt;
  std::string MapID;

  bool operator==(const ZoneRecord&) const = default;
};

}  // namespace tessaron
