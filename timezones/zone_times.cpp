#include "timezones/zone_times.h"

namespace tessaron {

const ZoneTimes::Year& ZoneTimes::year(const std::string& zoneId, int y, const Reader& read) {
  const auto key = std::make_pair(zoneId, y);
  if (const auto it = years_.find(key); it != years_.end()) return it->second;
  if (years_.size() >= kMaxYearsKept) years_.clear();
  Year entry;
  entry.offsets = read(zoneId, y);
  entry.found = entry.offsets.found;
  entry.exact = entry.offsets.exact;
  entry.rules = entry.offsets.TZI;
  if (entry.exact) entry.offsets.changes.clear();
  return years_.emplace(key, std::move(entry)).first->second;
}

ZoneTime ZoneTimes::convert(UtcTime t, const Year& year) {
  if (year.exact) return UtcToZone(t, year.rules);
  UtcOffset offset = year.offsets.initialOffset;
  for (const ZoneYear::Change& c : year.offsets.changes) {
    if (c.at > t) break;
    offset = c.offset;
  }
  return wallTimeAt(t, offset);
}

ZoneTimes::Instant ZoneTimes::at(UtcTime t, const ZoneRecord& zone, const Reader& read) {
  const auto instant = [t](ZoneTime local) {
    const std::chrono::seconds ahead = local.time_since_epoch() - t.time_since_epoch();
    return Instant{local, UtcOffset(static_cast<std::int32_t>(ahead.count()))};
  };
  if (zone.Std.empty()) return instant(UtcToZone(t, zone));
  const int utcYear = yearOf(t);
  const Year& first = year(zone.Std, utcYear, read);
  if (!first.found) return instant(UtcToZone(t, zone));
  const ZoneTime local = convert(t, first);
  const int localYear = yearOf(local);
  if (localYear == utcYear) return instant(local);
  // Near New Year the zone may already be in the next year, or still in the last one.
  const Year& other = year(zone.Std, localYear, read);
  return instant(other.found ? convert(t, other) : local);
}

}  // namespace tessaron
