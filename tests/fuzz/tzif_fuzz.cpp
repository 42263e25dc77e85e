// libFuzzer target for the zone-file reader and the footer parser: whatever the bytes, a
// read gives a timeline or nothing, never a crash, a hang or undefined behaviour; and a
// timeline that comes out is in order and turns into rules the core can use.
//
// Example: tests/fuzz/run.sh 300 builds this under build-fuzz/ and runs it for five minutes
// from the fixture zone files.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/tzdb/posix_tz.h"
#include "platform/tzdb/tzif.h"
#include "platform/tzdb/unix_time.h"
#include "platform/tzdb/year_rules.h"
#include "platform/tzdb/zone_year.h"
#include "timezones/conversion.h"

namespace {

using namespace tessaron;
using namespace tessaron::tzdb;

void require(bool condition) {
  if (!condition) __builtin_trap();
}

void checkYear(ByteSource& source, int year) {
  const auto timeline = readYearTimeline(source, year);
  if (!timeline) return;
  require(timeline->year == year && timeline->begin < timeline->end);
  UtcTime last = timeline->begin;
  for (const OffsetChange& c : timeline->changes) {
    require(c.at > last && c.at < timeline->end);
    require(c.to.utcOffset.count() >= -kMaxUtcOffset && c.to.utcOffset.count() <= kMaxUtcOffset);
    last = c.at;
  }
  const YearRules rules = rulesForYear(*timeline);
  const ZoneRecord& r = rules.record;
  require((r.DaylightDate.Month == 0) == (r.StandardDate.Month == 0));
  require(r.DaylightDate.Month <= 12 && r.StandardDate.Month <= 12);
  require(r.DaylightDate.Hour <= 23 && r.StandardDate.Hour <= 23);
  require(r.DaylightDate.Day <= 5 && r.StandardDate.Day <= 5);
  require(r.DaylightBias <= 0);
  require(rules.wrongSeconds >= 0 &&
          rules.wrongSeconds <= secondsBetween(timeline->begin, timeline->end));
  require(!rules.exact || rules.wrongSeconds == 0);
  // The core must take the record at the year's edges and at every change.
  for (const UtcTime t : {timeline->begin, timeline->end - std::chrono::seconds(1)}) {
    UtcToZone(t, r);
  }
  for (const OffsetChange& c : timeline->changes) UtcToZone(c.at, r);
  // The year as the clock reads it on demand: the file's offsets around it, and whether
  // the rules hold them.
  const auto offsets =
      offsetsBetween(source, timeline->begin - std::chrono::seconds(kZoneYearMargin),
                     timeline->end + std::chrono::seconds(kZoneYearMargin));
  if (offsets) {
    for (std::size_t i = 1; i < offsets->changes.size(); ++i) {
      require(offsets->changes[i - 1].at < offsets->changes[i].at);
    }
    rulesMatch(r, *offsets);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemorySource source(std::span<const std::uint8_t>(data, size));
  // A year of its own from the last two bytes, beside the ones every input is read for.
  const int ownYear = size >= 2 ? 1 + (data[size - 2] << 8 | data[size - 1]) % kMaxYear : 2026;
  for (int year : {kMinYear, 1970, 2026, 2038, 2100, kMaxYear, ownYear}) checkYear(source, year);

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto tz = parsePosixTz(text)) {
    for (int year : {kMinYear, 2026, kMaxYear, ownYear}) daylightInstants(*tz, year);
  }
  return 0;
}
