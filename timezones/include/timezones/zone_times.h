#pragma once
// A zone's time at any instant, by the rules of the year that instant falls in, in that zone.
// Each zone's years are read when first needed and kept: a clock running over New Year
// takes the new year's rules at its first instant, and an instant that is already the next
// year in the zone (Kiritimati is 14 hours ahead of UTC) takes the next year's.
//
// Example: America/Havana, 2027-11-07 04:59:59 UTC -> 00:59:59 (CDT, the file's offset, as
// 2027's changes are more than one yearly rule can hold); America/New_York,
// 2026-11-01 06:30:00 UTC -> 01:30:00 (EST, by 2026's rules through UtcToZone).

#include <functional>
#include <map>
#include <string>
#include <utility>

#include "platform/platform.h"
#include "timezones/conversion.h"

namespace tessaron {

class ZoneTimes {
 public:
  // Reads one zone's year when it is first needed (Platform::readZoneYear, or a zone
  // database read directly).
  using Reader = std::function<ZoneYear(const std::string& zoneId, int year)>;

  // The zone at one instant: its wall time and its offset from UTC, from one conversion.
  struct Instant {
    ZoneTime local;
    UtcOffset offset{0};  // local = t + offset
  };
  // The zone at `t`. A zone the reader does not know converts by its own record.
  Instant at(UtcTime t, const ZoneRecord& zone, const Reader& read);
  ZoneTime toZone(UtcTime t, const ZoneRecord& zone, const Reader& read) {
    return at(t, zone, read).local;
  }

 private:
  struct Year {
    bool found = false;
    bool exact = false;
    ZoneRules rules;   // the year's yearly rules
    ZoneYear offsets;  // the file's own, used when the rules cannot hold the year
  };
  // Zones stay few: the local one and those the user chose.
  static constexpr std::size_t kMaxYearsKept = 64;

  const Year& year(const std::string& zoneId, int year, const Reader& read);
  static ZoneTime convert(UtcTime t, const Year& year);

  std::map<std::pair<std::string, int>, Year> years_;
};

}  // namespace tessaron
