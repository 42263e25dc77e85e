#pragma once
// A time zone as the catalogue gives it: offsets in minutes and the two yearly
// changes. Example, New York in 2026:
//   Bias 300, DaylightBias -60,
//   DaylightDate {Year 0, Month 3, DayOfWeek 0, Day 2, 2:00:00}
//     (second Sunday of March, 02:00 EST),
//   StandardDate {Year 0, Month 11, DayOfWeek 0, Day 1, 2:00:00}
//     (first Sunday of November, 02:00 EDT),
//   Display "(UTC-05:00) America/New York", Std "America/New_York", Dlt "EDT".

#include <array>
#include <cstdint>
#include <string>

namespace tessaron {

// When a change happens, as the platform's SYSTEMTIME lays it out.
struct TransitionRule {
  std::uint16_t Year = 0;       // 0: weekday form; otherwise the fixed date Month/Day every year
  std::uint16_t Month = 0;      // [1:12]; 0 = the zone has no daylight time
  std::uint16_t DayOfWeek = 0;  // [0:6], 0 = Sunday (weekday form)
  std::uint16_t Day = 0;   // weekday form: occurrence [1:5], 5 = last; fixed form: day of month
  std::uint16_t Hour = 0;  // wall-clock time of the change [0:23]
  std::uint16_t Minute = 0;
  std::uint16_t Second = 0;
  std::uint16_t Milliseconds = 0;  // ignored

  bool operator==(const TransitionRule&) const = default;
};

struct ZoneRecord {
  std::int32_t Bias = 0;          // minutes: UTC = local standard time + Bias
  std::int32_t StandardBias = 0;  // kept, never applied
  std::int32_t DaylightBias = 0;  // minutes added to Bias in daylight time
  TransitionRule StandardDate;    // daylight ends; in daylight wall time
  TransitionRule DaylightDate;    // daylight begins; in standard wall time
  std::string Display;
  std::string Std;
  std::string Dlt;
  std::string MapID;

  bool operator==(const ZoneRecord&) const = default;
};

constexpr std::size_t kTziSize = 44;
using TziBlock = std::array<std::uint8_t, kTziSize>;

// The five numeric fields from their 44-byte little-endian block, and back.
void readTzi(const TziBlock& block, ZoneRecord& record);
TziBlock writeTzi(const ZoneRecord& record);

}  // namespace tessaron
