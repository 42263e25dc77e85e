// The clock's zone offsets against Qt's own reading of the same tz database: for every zone of
// the host's catalogue, from 2026 to 2030, the seconds around each change (both sides, and
// the middle of both passes of every repeated hour) and one instant a day, the offset the
// dots' time is converted with, which the readout and the screen-reader text tell, is the one
// QTimeZone gives; and the offset the list and the zone label name is the standard offset Qt
// gives, but for the zones whose daylight time lies below their standard time, listed at the
// lower of the two (a table below). Each is checked for a clock started in that year and for
// one running since the year before. No year is excepted. This test follows the host's
// tzdata on purpose.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/listed_offset.h"
#include "platform/tzdb/tzif.h"
#include "platform/tzdb/unix_time.h"
#include "platform/tzdb/zone_year.h"
#include "tests/civil_time.h"
#include "timezones/conversion.h"
#include "timezones/zone_times.h"

namespace tessaron::tzdb::zone_oracle_test {
namespace {

constexpr const char* kZoneinfo = "/usr/share/zoneinfo";
constexpr int kFirstYear = 2026;
constexpr int kLastYear = 2030;

std::string utcText(std::int64_t unix) {
  return QDateTime::fromSecsSinceEpoch(unix, Qt::UTC).toString(Qt::ISODate).toStdString();
}

// One stretch of Qt's offsets.
struct Period {
  std::int64_t at;      // Unix seconds
  std::int32_t offset;  // seconds east of UTC from `at` on
  std::int32_t standard;
  bool daylight;
};

// The zones whose daylight time lies below their standard time: the clock calls the higher
// of two alternating offsets daylight and lists the lower all year, where Qt names the
// file's standard one.
struct LowerDaylight {
  const char* id;
  std::int32_t listed;  // seconds east of UTC
};
constexpr LowerDaylight kListedLower[] = {
    {"Europe/Dublin", 0}, {"Africa/Casablanca", 0}, {"Africa/El_Aaiun", 0}};

std::int32_t listedOffset(const std::string& id, const Period& p) {
  for (const LowerDaylight& zone : kListedLower) {
    if (id == zone.id) return zone.listed;
  }
  return p.standard;
}

// Qt's periods from `begin` to `end`.
std::vector<Period> qtPeriods(const QTimeZone& zone, std::int64_t begin, std::int64_t end) {
  const QDateTime first = QDateTime::fromSecsSinceEpoch(begin, Qt::UTC);
  std::vector<Period> out{{begin, zone.offsetFromUtc(first), zone.standardTimeOffset(first),
                           zone.isDaylightTime(first)}};
  for (const QTimeZone::OffsetData& d :
       zone.transitions(QDateTime::fromSecsSinceEpoch(begin + 1, Qt::UTC),
                        QDateTime::fromSecsSinceEpoch(end - 1, Qt::UTC))) {
    const Period p{d.atUtc.toSecsSinceEpoch(), d.offsetFromUtc, d.standardTimeOffset,
                   d.daylightTimeOffset != 0};
    if (p.offset == out.back().offset && p.daylight == out.back().daylight &&
        p.standard == out.back().standard)
      continue;
    out.push_back(p);
  }
  return out;
}

TEST(ZoneOracleTest, EveryZoneAgreesWithQtFrom2026To2030) {
  std::set<QByteArray> qtIds;
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) qtIds.insert(id);
  const ZoneCatalogueSource catalogue = readCatalogue(kZoneinfo, kFirstYear, "", "");
  ASSERT_TRUE(catalogue.found);
  ASSERT_GT(catalogue.zones.size(), 300u);
  const ZoneTimes::Reader read = [](const std::string& id, int year) {
    return readZoneYear(kZoneinfo, id, year);
  };
  const std::int64_t sweepBegin = utcMidnight(kFirstYear, 1, 1).time_since_epoch().count();
  const std::int64_t sweepEnd = utcMidnight(kLastYear + 1, 1, 1).time_since_epoch().count();
  const std::int64_t runningSince = utcMidnight(kFirstYear - 1, 12, 1).time_since_epoch().count();

  std::size_t sampled = 0, listReadings = 0;
  for (const ZoneRecord& key : catalogue.zones) {
    ASSERT_FALSE(key.Std.empty()) << "a host zone file could not be read";
    SCOPED_TRACE(key.Std);
    const QByteArray id = QByteArray::fromStdString(key.Std);
    ASSERT_TRUE(qtIds.count(id) == 1 || key.Std == "UTC");
    const QTimeZone zone(id);
    ASSERT_TRUE(zone.isValid());
    ZoneRecord record;
    static_cast<ZoneRules&>(record) = key;
    record.Std = key.Std;
    const std::vector<Period> qt =
        qtPeriods(zone, utcMidnight(kFirstYear - 2, 1, 1).time_since_epoch().count(),
                  utcMidnight(kLastYear + 3, 1, 1).time_since_epoch().count());

    std::vector<std::int64_t> samples;
    // One instant a day, at an hour that moves through the day from one day to the next.
    for (std::int64_t t = runningSince; t < sweepEnd; t += 86400 + 3600 + 60) {
      samples.push_back(t);
    }
    for (const Period& p : qt) {
      // Both sides of each change, and the middle of each pass of a repeated hour.
      for (std::int64_t t : {p.at - 3600, p.at - 1800, p.at - 1, p.at, p.at + 1, p.at + 1800}) {
        if (t >= runningSince && t < sweepEnd) samples.push_back(t);
      }
    }
    std::sort(samples.begin(), samples.end());
    samples.erase(std::unique(samples.begin(), samples.end()), samples.end());

    ZoneTimes running;  // one clock since the December before
    ZoneTimes fresh;    // a clock started in each year
    int freshYear = 0;
    FileSource file(std::string(kZoneinfo) + "/" + (key.Std == "UTC" ? "Etc/UTC" : key.Std));
    std::optional<ListedOffset> listed;
    std::size_t mismatches = 0;
    std::string first;
    const auto mismatch = [&](std::int64_t t, const char* what, std::int64_t want,
                              std::int64_t got) {
      if (mismatches++ == 0) {
        first = utcText(t) + " " + what + ": Qt " + std::to_string(want) + " s, clock " +
                std::to_string(got) + " s";
      }
    };
    std::size_t at = 0;
    for (std::int64_t t : samples) {
      while (at + 1 < qt.size() && qt[at + 1].at <= t) ++at;
      const Period& want = qt[at];
      const UtcTime u{std::chrono::seconds(t)};
      // The list, as the clock keeps it: read again once what it names may change.
      if (!listed || t >= listed->until.time_since_epoch().count()) {
        listed = listedOffsetAt(file, u);
        ASSERT_TRUE(listed.has_value()) << utcText(t);
        ++listReadings;
      }
      if (t < sweepBegin) {
        running.at(u, record, read);
        continue;
      }
      ++sampled;
      const int year = toCivil(u).year;
      if (year != freshYear) {
        fresh = ZoneTimes{};
        freshYear = year;
      }
      const ZoneTimes::Instant r = running.at(u, record, read);
      const ZoneTimes::Instant f = fresh.at(u, record, read);
      if (r.offset.count() != want.offset)
        mismatch(t, "offset, running clock", want.offset, r.offset.count());
      if (f.offset.count() != want.offset) {
        mismatch(t, "offset, clock started this year", want.offset, f.offset.count());
      }
      if (listed->offset.count() != listedOffset(key.Std, want)) {
        mismatch(t, "listed offset", listedOffset(key.Std, want), listed->offset.count());
      }
    }
    EXPECT_EQ(mismatches, 0u) << "first at " << first;
  }
  std::printf("%zu zones, %d to %d: %zu samples, %zu list readings\n", catalogue.zones.size(),
              kFirstYear, kLastYear, sampled, listReadings);
}

}  // namespace
}  // namespace tessaron::tzdb::zone_oracle_test
