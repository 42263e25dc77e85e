#pragma once
// Dates and times as the tests write them, {2026, 3, 8, 2, 30, 0}, on whichever clock a case
// means: made into an instant or a wall time, and read back off one.

#include <chrono>

#include "timezones/conversion.h"

namespace tessaron {

struct CivilTime {
  int year;    // e.g. 2026
  int month;   // [1:12]; others roll over
  int day;     // [1:31]; others roll over
  int hour;    // [0:23]
  int minute;  // [0:59]
  int second;  // [0:59]

  bool operator==(const CivilTime&) const = default;
};

struct TimeOfDay {
  int hour;    // [0:23]
  int minute;  // [0:59]
  int second;  // [0:59]
};

// T is UtcTime or ZoneTime.
template <class T>
T makeTime(const CivilTime& c) {
  using namespace std::chrono;
  return T{rolledDays(c.year, c.month, c.day) + hours(c.hour) + minutes(c.minute) +
           seconds(c.second)};
}

template <class Clock>
CivilTime toCivil(std::chrono::time_point<Clock, std::chrono::seconds> t) {
  using namespace std::chrono;
  const local_days date{floor<days>(t).time_since_epoch()};
  const year_month_day ymd{date};
  const hh_mm_ss<seconds> time{t.time_since_epoch() - date.time_since_epoch()};
  return {static_cast<int>(ymd.year()),
          static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())),
          static_cast<int>(time.hours().count()),
          static_cast<int>(time.minutes().count()),
          static_cast<int>(time.seconds().count())};
}

}  // namespace tessaron
