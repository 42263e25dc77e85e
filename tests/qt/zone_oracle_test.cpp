// The zone catalogue against Qt's own reading of the same tz database: for every zone of
// the host's catalogue, every hour of this year and the next, and the seconds around each
// change, the core's UtcToZone with the reader's record gives the local time QTimeZone
// gives. This test follows the host's tzdata on purpose; the named years below are the
// ones no single pair of yearly rules can describe.

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/tzif.h"
#include "platform/tzdb/unix_time.h"
#include "platform/tzdb/year_rules.h"
#include "timezones/conversion.h"

namespace tessaron::tzdb {
namespace {

constexpr const char* kZoneinfo = "/usr/share/zoneinfo";

struct KnownException {
  const char* zone;
  int firstYear;
  int lastYear;
  const char* reason;
};

// The reader gives these years the rules that are right for the longest part of the year.
constexpr KnownException kKnownExceptions[] = {
    {"Africa/Casablanca", 2026, 2026,
     "tzdata 2026f: Ramadan at +00 (15 Feb - 22 Mar), then +00 for good from 20 Sep"},
    {"Africa/El_Aaiun", 2026, 2026, "as Casablanca"},
    {"Africa/Casablanca", 2029, 2029, "Ramadan at +00 twice: 14 Jan - 18 Feb and from 30 Dec"},
    {"Africa/El_Aaiun", 2029, 2029, "as Casablanca"},
    {"Africa/Casablanca", 2033, 2033, "+01 from 9 Jan, Ramadan at +00 20 Nov - 25 Dec"},
    {"Africa/El_Aaiun", 2033, 2033, "as Casablanca"},
    {"Africa/Casablanca", 2062, 2062, "Ramadan at +00 twice"},
    {"Africa/El_Aaiun", 2062, 2062, "as Casablanca"},
    {"Africa/Casablanca", 2066, 2066, "Ramadan at +00 twice"},
    {"Africa/El_Aaiun", 2066, 2066, "as Casablanca"},
    {"America/Vancouver", 2026, 2026, "tzdata 2026f: daylight time from 8 Mar stays for good"},
    {"America/Edmonton", 2026, 2026, "tzdata 2026f: daylight time from 8 Mar stays for good"},
    {"America/Inuvik", 2026, 2026, "tzdata 2026f: daylight time from 8 Mar stays for good"},
    {"America/Winnipeg", 2026, 2026, "tzdata 2026f: daylight time from 8 Mar stays for good"},
    {"America/Havana", 2026, 2027,
     "tzdata 2026f: one daylight period from 2026-03-08 to 2027-11-07"},
    {"Asia/Gaza", 2040, 2054, "daylight time broken off for Ramadan: two daylight periods"},
    {"Asia/Gaza", 2072, 2086, "daylight time broken off for Ramadan: two daylight periods"},
    {"Asia/Hebron", 2040, 2054, "as Gaza"},
    {"Asia/Hebron", 2072, 2086, "as Gaza"},
};

bool isKnownException(const std::string& zone, int year) {
  return std::any_of(std::begin(kKnownExceptions), std::end(kKnownExceptions),
                     [&](const KnownException& e) {
                       return zone == e.zone && year >= e.firstYear && year <= e.lastYear;
                     });
}

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

TEST(ZoneOracleTest, OnlyTheNamedYearsAreApproximated) {
  const ZoneCatalogueSource catalogue = readCatalogue(kZoneinfo, thisYear(), "", "");
  ASSERT_TRUE(catalogue.found);
  for (int year = thisYear(); year <= thisYear() + 1; ++year) {
    for (const ZoneKey& key : catalogue.zones) {
      if (!key.opened || key.Std == "UTC") continue;
      FileSource file(std::string(kZoneinfo) + "/" + key.Std);
      const auto timeline = readYearTimeline(file, year);
      ASSERT_TRUE(timeline.has_value()) << key.Std;
      const YearRules rules = rulesForYear(*timeline);
      if (!rules.exact) {
        EXPECT_TRUE(isKnownException(key.Std, year))
            << key.Std << " " << year << " needs approximating (" << rules.wrongSeconds / 3600
            << " h off) and is not named";
      }
    }
  }
}

TEST(ZoneOracleTest, EveryZoneAgreesWithQtThisYearAndNext) {
  std::set<QByteArray> qtIds;
  for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) qtIds.insert(id);

  for (int year = thisYear(); year <= thisYear() + 1; ++year) {
    const ZoneCatalogueSource catalogue = readCatalogue(kZoneinfo, year, "", "");
    ASSERT_TRUE(catalogue.found);
    ASSERT_GT(catalogue.zones.size(), 300u);
    const std::int64_t begin = unixMidnight(year, 1, 1);
    const std::int64_t end = unixMidnight(year + 1, 1, 1);

    for (const ZoneKey& key : catalogue.zones) {
      ASSERT_TRUE(key.opened) << "a host zone file could not be read";
      SCOPED_TRACE(key.Std + " " + std::to_string(year));
      const QByteArray id = QByteArray::fromStdString(key.Std);
      ASSERT_TRUE(qtIds.count(id) == 1 || key.Std == "UTC");
      const QTimeZone zone(id);
      ASSERT_TRUE(zone.isValid());
      ZoneRecord record;
      readTzi(key.TZI, record);

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
        const std::int64_t serial = serialFromUnix(t);
        const std::int64_t offset = UtcToZone(UtcTime{serial}, record).seconds - serial;
        if (offset == qt[at].offset) continue;
        if (mismatches++ == 0) {
          first = utcText(t) + ": Qt " + std::to_string(qt[at].offset) + " s, record " +
                  std::to_string(offset) + " s";
        }
      }
      if (!isKnownException(key.Std, year)) {
        EXPECT_EQ(mismatches, 0u) << "first at " << first;
      }
    }
  }
}

}  // namespace
}  // namespace tessaron::tzdb
