#pragma once
// What the zone-database tests share: the fixture database's folder, times written as UTC
// dates, and a writer of small TZif files for the cases zic never produces.
//
// Example: buildTzif({.version = '2', .times = {utc(2026, 3, 8, 7)}, .indexes = {1},
// .types = {{-18000, 0, 0}, {-14400, 1, 4}}, .names = {"EST\0EDT\0", 8},
// .footer = "\nEST5EDT,M3.2.0,M11.1.0\n"}) is a version 2 file that stores New York's
// 2026 spring change and hands the rest to its footer.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/tzdb/unix_time.h"
#include "tests/civil_time.h"

#ifndef TESSARON_FIXTURES
#error "TESSARON_FIXTURES must name the tests/fixtures folder"
#endif

namespace tessaron::tzdb::test {

inline std::string fixtureZoneinfo() { return std::string(TESSARON_FIXTURES) + "/zoneinfo"; }

// A UTC date and time as zone files count it.
inline UtcTime utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return makeTime<UtcTime>({year, month, day, hour, minute, second});
}

struct TzifType {
  std::int32_t offset;  // seconds east of UTC
  std::uint8_t isDst;   // 0 or 1 in a sound file
  std::uint8_t nameAt;  // index into names
};

struct TzifFile {
  char version = '2';  // '\0' for a version 1 file
  std::vector<UtcTime> times;
  std::vector<std::uint8_t> indexes;  // one type index per time
  std::vector<TzifType> types;
  std::string names;            // the abbreviations, each ending in '\0'
  std::string footer = "\n\n";  // the bytes after the last data block
  // Version 2+: the 32-bit block that comes first; sound files have one type and one name.
  std::vector<TzifType> oldTypes = {{0, 0, 0}};
  std::string oldNames = std::string("\0", 1);
};

inline void putBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void putBlock(std::vector<std::uint8_t>& out, char version,
                     const std::vector<UtcTime>& times, const std::vector<std::uint8_t>& indexes,
                     const std::vector<TzifType>& types, const std::string& names, bool wide) {
  const char magic[] = {'T', 'Z', 'i', 'f', version};
  out.insert(out.end(), magic, magic + 5);
  out.insert(out.end(), 15, 0);
  putBe32(out, 0);  // UT indicators
  putBe32(out, 0);  // standard/wall indicators
  putBe32(out, 0);  // leap seconds
  putBe32(out, static_cast<std::uint32_t>(times.size()));
  putBe32(out, static_cast<std::uint32_t>(types.size()));
  putBe32(out, static_cast<std::uint32_t>(names.size()));
  for (const UtcTime t : times) {
    const std::int64_t unix = t.time_since_epoch().count();
    if (wide) putBe32(out, static_cast<std::uint32_t>(static_cast<std::uint64_t>(unix) >> 32));
    putBe32(out, static_cast<std::uint32_t>(unix));
  }
  out.insert(out.end(), indexes.begin(), indexes.end());
  for (const TzifType& t : types) {
    putBe32(out, static_cast<std::uint32_t>(t.offset));
    out.push_back(t.isDst);
    out.push_back(t.nameAt);
  }
  out.insert(out.end(), names.begin(), names.end());
}

inline std::vector<std::uint8_t> buildTzif(const TzifFile& f) {
  std::vector<std::uint8_t> out;
  if (f.version == '\0') {
    putBlock(out, f.version, f.times, f.indexes, f.types, f.names, false);
    return out;
  }
  putBlock(out, f.version, {}, {}, f.oldTypes, f.oldNames, false);
  putBlock(out, f.version, f.times, f.indexes, f.types, f.names, true);
  out.insert(out.end(), f.footer.begin(), f.footer.end());
  return out;
}

}  // namespace tessaron::tzdb::test
