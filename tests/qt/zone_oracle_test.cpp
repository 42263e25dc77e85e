// The clock's zone times against Qt's own reading of the same tz database: for every zone of
// the host's catalogue, every hour of this year and the next four, and the seconds around
// each change, the core's conversion by the instant (yearly rules where they hold the year,
// the file's own offsets where they cannot) gives the offset QTimeZone gives. No zone and
// no year is excepted. This test follows the host's tzdata on purpose.

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/tzif.h"
#include "platform/tzdb/unix_time.h"
#include "platform/tzdb/zone_year.h"
#include "timezones/conversion.h"
#include "timezones/zone_times.h"

namespace tessaron::tzdb {
namespace {

constexpr const char* kZoneinfo = "/usr/share/zoneinfo";
constexpr int kYears = 5;  // this year and the next four

std::string utcText(std::int64_t unix) {
  return QDateTime::fromSecsSinceEpoch(unix, Qt::UTC).toString(Qt::ISODate).toStdString();
}

int thisYear() { return QDate::currentDate().year(); }

struct Change {
  std::int64_t at;      // Unix seconds
  std::int32_t offset;  // seconds east of UTC from `at` on
};

// Qt's offsets through the year: the one at its start, then each change.
std::vector<Change> qtOffsets(const QTimeZone& zone, std::int64_t begin, std::int64_t end) {
  std::vector<Change> out{
      {begin, zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(begin, Qt::UTC))}};
  const QTimeZone::OffsetDataList list =
      zone.transitions(QDateTime::fromSecsSinceEpoch(begin + 1, Qt::UTC),
                       QDateTime::fromSecsSinceEpoch(end - 1, Qt::UTC));
  for (const QTimeZone::OffsetData& d : list) {
    const std::int64_t at = d.atUtc.toSecsSinceEpoch();
    if (at <= begin || at >= end || d.offsetFromUtc == out.back().offset) continue;
    out.push_back({at, d.offsetFromUtc});
  }
  return out;
}

TEST(ZoneOracleTest, EveryZoneAgreesWithQtThisYearAndTheNextFour) {
  std::set<QByteArray> qtIds;
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) qtIds.insert(id);
  const ZoneCatalogueSource catalogue = readCatalogue(kZoneinfo, thisYear(), "", "");
  ASSERT_TRUE(catalogue.found);
  ASSERT_GT(catalogue.zones.size(), 300u);
  ZoneTimes times;
  const ZoneTimes::Reader read = [](const std::string& id, int year) {
    return readZoneYear(kZoneinfo, id, year);
  };

  std::size_t sampled = 0, zoneYears = 0, byOffsets = 0;
  for (const ZoneKey& key : catalogue.zones) {
    ASSERT_TRUE(key.opened) << "a host zone file could not be read";
    const QByteArray id = QByteArray::fromStdString(key.Std);
    ASSERT_TRUE(qtIds.count(id) == 1 || key.Std == "UTC") << key.Std;
    const QTimeZone zone(id);
    ASSERT_TRUE(zone.isValid()) << key.Std;
    ZoneRecord record;
    readTzi(key.TZI, record);
    record.Std = key.Std;
    for (int year = thisYear(); year < thisYear() + kYears; ++year) {
      SCOPED_TRACE(key.Std + " " + std::to_string(year));
      ++zoneYears;
      if (!readZoneYear(kZoneinfo, key.Std, year).exact) ++byOffsets;
      const std::int64_t begin = unixMidnight(year, 1, 1).seconds;
      const std::int64_t end = unixMidnight(year + 1, 1, 1).seconds;
      const std::vector<Change> qt = qtOffsets(zone, begin, end);
      std::vector<std::int64_t> samples;
      for (std::int64_t t = begin; t < end; t += 3600) samples.push_back(t);
      for (const Change& c : qt) {
        for (std::int64_t t : {c.at - 3600, c.at - 1, c.at, c.at + 1}) {
          if (t >= begin && t < end) samples.push_back(t);
        }
      }
      std::sort(samples.begin(), samples.end());
      samples.erase(std::unique(samples.begin(), samples.end()), samples.end());

      std::size_t mismatches = 0;
      std::string first;
      std::size_t at = 0;
      for (std::int64_t t : samples) {
        while (at + 1 < qt.size() && qt[at + 1].at <= t) ++at;
        const UtcTime u = serialFromUnix(UnixTime{t});
        const std::int64_t offset = times.toZone(u, record, read).seconds - u.seconds;
        ++sampled;
        if (offset == qt[at].offset) continue;
        if (mismatches++ == 0) {
          first = utcText(t) + ": Qt " + std::to_string(qt[at].offset) + " s, clock " +
                  std::to_string(offset) + " s";
        }
      }
      EXPECT_EQ(mismatches, 0u) << "first at " << first;
    }
  }
  std::printf(
      "%zu zones, %d years each from %d: %zu zone-years (%zu from the files' own "
      "offsets), %zu samples\n",
      catalogue.zones.size(), kYears, thisYear(), zoneYears, byOffsets, sampled);
}

}  // namespace
}  // namespace tessaron::tzdb
