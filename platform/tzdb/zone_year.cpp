#include "platform/tzdb/zone_year.h"

#include <algorithm>
#include <vector>

#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/year_rules.h"
#include "timezones/conversion.h"

namespace tessaron::tzdb {

namespace {

// The file's offset at `t`.
UtcOffset offsetAt(const ZoneYear& offsets, UtcTime t) {
  UtcOffset offset = offsets.initialOffset;
  for (const ZoneYear::Change& c : offsets.changes) {
    if (c.at > t) break;
    offset = c.offset;
  }
  return offset;
}

}  // namespace

std::optional<ZoneYear> offsetsBetween(ByteSource& file, UtcTime from, UtcTime to) {
  const int firstYear = yearOf(from);
  const int lastYear = yearOf(to - std::chrono::seconds(1));
  if (firstYear < kMinYear || lastYear > kMaxYear || from >= to) return std::nullopt;
  ZoneYear out;
  out.from = from;
  out.to = to;
  for (int year = firstYear; year <= lastYear; ++year) {
    const std::optional<YearTimeline> timeline = readYearTimeline(file, year);
    if (!timeline) return std::nullopt;
    UtcOffset current = timeline->initial.utcOffset;
    if (year == firstYear) out.initialOffset = current;
    for (const OffsetChange& c : timeline->changes) {
      current = c.to.utcOffset;
      if (c.at <= from) {
        out.initialOffset = current;
      } else if (c.at < to) {
        out.changes.push_back({c.at, current});
      }
    }
  }
  // A change of name or flag alone, or at a year's edge, is no change of offset.
  std::vector<ZoneYear::Change> changes;
  UtcOffset current = out.initialOffset;
  for (const ZoneYear::Change& c : out.changes) {
    if (c.offset == current) continue;
    current = c.offset;
    changes.push_back(c);
  }
  out.changes = std::move(changes);
  return out;
}

bool rulesMatch(const ZoneRecord& record, const ZoneYear& offsets) {
  // Both sides keep one offset between their own changes, and each takes its new offset at
  // the instant of a change; so the offsets agree everywhere when they agree at every
  // change of either side.
  std::vector<UtcTime> instants{offsets.from};
  for (const ZoneYear::Change& c : offsets.changes) instants.push_back(c.at);
  // Wall times back on UTC: the year's turn and the daylight start are in standard time,
  // the standard start in daylight time.
  const UtcOffset standard = offsetOfBias(record.Bias);
  const UtcOffset daylight = offsetOfBias(record.Bias + record.DaylightBias);
  const int firstYear = yearOf(offsets.from) - 1;
  const int lastYear = yearOf(offsets.to) + 1;
  for (int year = firstYear; year <= lastYear; ++year) {
    // Where UtcToZone moves to the next year's changes, and the changes themselves.
    instants.push_back(instantOfWall(ZoneTime{localDate(year, 1, 1)}, standard));
    if (const auto d = daylightChanges(record, year)) {
      instants.push_back(instantOfWall(d->start, standard));
      instants.push_back(instantOfWall(d->end, daylight));
    }
  }
  return std::all_of(instants.begin(), instants.end(), [&](UtcTime t) {
    if (t < offsets.from || t >= offsets.to) return true;
    return UtcToZone(t, record) == wallTimeAt(t, offsetAt(offsets, t));
  });
}

ZoneYear readZoneYear(const std::string& zoneinfoDir, const std::string& zoneId, int year) {
  ZoneYear out;
  if (year <= kMinYear || year >= kMaxYear) return out;
  const UtcTime from = utcMidnight(year, 1, 1) - kZoneYearMargin;
  const UtcTime to = utcMidnight(year + 1, 1, 1) + kZoneYearMargin;
  if (zoneId == "UTC") {
    out.found = true;
    out.exact = true;
    out.TZI = ZoneRules{};
    out.from = from;
    out.to = to;
    return out;
  }
  if (!isSafeZoneId(zoneId)) return out;
  FileSource file(zoneinfoDir + "/" + zoneId);
  const std::optional<YearTimeline> timeline = readYearTimeline(file, year);
  if (!timeline) return out;
  std::optional<ZoneYear> offsets = offsetsBetween(file, from, to);
  if (!offsets) return out;
  out = std::move(*offsets);
  const YearRules rules = rulesForYear(*timeline);
  out.found = true;
  out.TZI = rules.record;
  out.exact = rulesMatch(rules.record, out);
  return out;
}

}  // namespace tessaron::tzdb
