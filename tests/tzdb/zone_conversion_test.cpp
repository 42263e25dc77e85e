// The records the reader builds, through the core's UtcToZone: local times in both
// hemispheres, with 30-, 60- and 120-minute daylight saving and 45-minute offsets, on each
// side of every change (and the hour before daylight time begins), and offsets that carry
// the date across midnight or the new year.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "platform/tzdb/catalogue.h"
#include "tests/tzdb/tzdb_test_support.h"
#include "timezones/conversion.h"

namespace tessaron::tzdb::zone_conversion_test {
namespace {

CivilTime civil(const char* text) {
  CivilTime c{};
  std::sscanf(text, "%d-%d-%d %d:%d:%d", &c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second);
  return c;
}

// The fixture catalogue of each year, read once.
const ZoneRecord& recordFor(const std::string& id, int year) {
  static std::map<std::pair<std::string, int>, ZoneRecord> records;
  const auto key = std::make_pair(id, year);
  auto it = records.find(key);
  if (it == records.end()) {
    ZoneRecord record;
    for (const ZoneRecord& zone : readCatalogue(test::fixtureZoneinfo(), year, "", "").zones) {
      if (zone.Std == id) static_cast<ZoneRules&>(record) = zone;
    }
    it = records.emplace(key, record).first;
  }
  return it->second;
}

TEST(ZoneConversionTest, ReaderRecordsGiveEachZonesLocalTime) {
  struct Case {
    const char* zone;
    const char* utc;    // "YYYY-MM-DD hh:mm:ss"
    const char* local;  // the same in the zone's local time
    const char* what;
  };
  const Case cases[] = {
      {"America/New_York", "2026-03-08 06:00:00", "2026-03-08 01:00:00",
       "the hour before daylight time"},
      {"America/New_York", "2026-03-08 06:59:59", "2026-03-08 01:59:59", "last second of EST"},
      {"America/New_York", "2026-03-08 07:00:00", "2026-03-08 03:00:00", "first second of EDT"},
      {"America/New_York", "2026-11-01 05:59:59", "2026-11-01 01:59:59", "last second of EDT"},
      {"America/New_York", "2026-11-01 06:00:00", "2026-11-01 01:00:00", "back to EST"},
      {"America/New_York", "2040-03-11 07:00:00", "2040-03-11 03:00:00", "by the footer rule"},
      {"America/New_York", "2026-07-01 02:00:00", "2026-06-30 22:00:00", "across midnight"},

      {"Australia/Sydney", "2026-01-15 12:00:00", "2026-01-15 23:00:00", "summer in January"},
      {"Australia/Sydney", "2026-04-04 15:59:59", "2026-04-05 02:59:59", "last second of AEDT"},
      {"Australia/Sydney", "2026-04-04 16:00:00", "2026-04-05 02:00:00", "back to AEST"},
      {"Australia/Sydney", "2026-10-03 15:00:00", "2026-10-04 01:00:00",
       "the hour before daylight time"},
      {"Australia/Sydney", "2026-10-03 16:00:00", "2026-10-04 03:00:00", "first second of AEDT"},

      {"Australia/Lord_Howe", "2026-04-04 14:59:59", "2026-04-05 01:59:59", "last second of +11"},
      {"Australia/Lord_Howe", "2026-04-04 15:00:00", "2026-04-05 01:30:00", "back half an hour"},
      {"Australia/Lord_Howe", "2026-10-03 14:30:00", "2026-10-04 01:00:00",
       "the hour before daylight time"},
      {"Australia/Lord_Howe", "2026-10-03 15:30:00", "2026-10-04 02:30:00", "forward half an hour"},

      {"Antarctica/Troll", "2026-03-29 00:00:00", "2026-03-29 00:00:00",
       "the hour before daylight time"},
      {"Antarctica/Troll", "2026-03-29 01:00:00", "2026-03-29 03:00:00", "forward two hours"},
      {"Antarctica/Troll", "2026-10-25 00:59:59", "2026-10-25 02:59:59", "last second of +02"},
      {"Antarctica/Troll", "2026-10-25 01:00:00", "2026-10-25 01:00:00", "back two hours"},

      {"Pacific/Chatham", "2026-04-04 13:59:59", "2026-04-05 03:44:59", "last second of +1345"},
      {"Pacific/Chatham", "2026-04-04 14:00:00", "2026-04-05 02:45:00", "back to +1245"},
      {"Pacific/Chatham", "2026-07-01 11:15:00", "2026-07-02 00:00:00", "across midnight"},
      {"Pacific/Chatham", "2026-09-26 13:00:00", "2026-09-27 01:45:00",
       "the hour before daylight time"},
      {"Pacific/Chatham", "2026-09-26 14:00:00", "2026-09-27 03:45:00", "forward to +1345"},

      {"Europe/Dublin", "2026-01-10 12:00:00", "2026-01-10 12:00:00", "winter GMT"},
      {"Europe/Dublin", "2026-03-29 00:59:59", "2026-03-29 00:59:59", "last second of GMT"},
      {"Europe/Dublin", "2026-03-29 01:00:00", "2026-03-29 02:00:00", "summer IST"},
      {"Europe/Dublin", "2026-10-25 01:00:00", "2026-10-25 01:00:00", "back to GMT"},

      {"America/Santiago", "2026-04-05 02:59:59", "2026-04-04 23:59:59", "last second of -03"},
      {"America/Santiago", "2026-04-05 03:00:00", "2026-04-04 23:00:00",
       "back an hour at midnight"},
      {"America/Santiago", "2026-09-06 03:00:00", "2026-09-05 23:00:00",
       "the hour before daylight time"},
      {"America/Santiago", "2026-09-06 04:00:00", "2026-09-06 01:00:00", "forward at midnight"},

      {"Africa/Cairo", "2026-04-23 22:00:00", "2026-04-24 01:00:00", "forward at midnight"},
      {"Africa/Cairo", "2026-10-29 20:59:59", "2026-10-29 23:59:59", "last second of EEST"},
      {"Africa/Cairo", "2026-10-29 21:00:00", "2026-10-29 23:00:00", "back at 24:00"},

      {"Asia/Jerusalem", "2026-03-26 23:59:59", "2026-03-27 01:59:59", "last second of IST"},
      {"Asia/Jerusalem", "2026-03-27 00:00:00", "2026-03-27 03:00:00",
       "forward at 26:00 of Thursday"},

      {"America/Nuuk", "2026-03-29 01:00:00", "2026-03-29 00:00:00", "forward at -1:00 of Sunday"},
      {"America/Nuuk", "2026-03-29 00:59:59", "2026-03-28 22:59:59", "last second of -02"},
      {"America/Nuuk", "2026-10-25 01:00:00", "2026-10-24 23:00:00", "back an hour"},

      {"Africa/Casablanca", "2025-02-23 01:59:59", "2025-02-23 02:59:59", "last second of +01"},
      {"Africa/Casablanca", "2025-02-23 02:00:00", "2025-02-23 02:00:00", "Ramadan at +00"},
      {"Africa/Casablanca", "2025-04-06 02:00:00", "2025-04-06 03:00:00", "back to +01"},
      {"Africa/Casablanca", "2025-12-31 23:30:00", "2026-01-01 00:30:00", "into the new year"},

      {"Asia/Tokyo", "2026-12-31 15:00:00", "2027-01-01 00:00:00", "into the new year"},

      {"Asia/Kolkata", "2026-06-30 18:30:00", "2026-07-01 00:00:00", "across midnight"},

      {"Asia/Almaty", "2024-06-01 00:00:00", "2024-06-01 05:00:00", "the later offset of 2024"},

      {"UTC", "2026-06-01 12:00:00", "2026-06-01 12:00:00", "UTC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " at " + c.utc + " UTC: " + c.what);
    const CivilTime utc = civil(c.utc);
    const ZoneRecord& record = recordFor(c.zone, utc.year);
    ASSERT_FALSE(record == ZoneRecord{} && std::string(c.zone) != "UTC");
    EXPECT_EQ(toCivil(UtcToZone(makeTime<UtcTime>(utc), record)), civil(c.local));
  }
}

// The last weekday of a month on its 31st: the search must reach the month's last day.
TEST(ZoneConversionTest, NthWeekdayOfMonthReachesTheThirtyFirst) {
  struct Case {
    const char* name;
    int year, month, weekday, occurrence;
    int day;  // of the same month
  };
  const Case cases[] = {
      {"fifth Saturday of October 2026", 2026, 10, 6, 5, 31},
      {"last Saturday of January 2026", 2026, 1, 6, 9, 31},
      {"last Sunday of December 2028", 2028, 12, 0, 5, 31},
      {"fourth Sunday of December 2028", 2028, 12, 0, 4, 24},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(toCivil(NthWeekdayOfMonth(c.year, c.month, c.weekday, c.occurrence)),
              (CivilTime{c.year, c.month, c.day, 0, 0, 0}));
  }
}

}  // namespace
}  // namespace tessaron::tzdb::zone_conversion_test
