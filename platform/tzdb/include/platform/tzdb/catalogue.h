#pragma once
// The zone catalogue from the system's tz database (/usr/share/zoneinfo): one entry per zone
// of zone.tab plus UTC, west to east, each with its rules as they stand in a given year.
//
// Example: the zone.tab line "US\t+404251-0740023\tAmerica/New_York\tEastern (most areas)"
// read for 2026 gives the record {Bias 300 / DaylightBias -60 / second Sunday
// of March 02:00 / first Sunday of November 02:00, Display "(UTC-05:00) America/New York",
// Std "America/New_York", Dlt "EDT", MapID "US +404251-0740023"}; the system zone id
// "US/Eastern" (a link in tzdata.zi) names that entry as the system's.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/tzdb/listed_offset.h"
#include "platform/tzdb/tzif.h"
#include "platform/tzdb/unix_time.h"

namespace tessaron::tzdb {

constexpr std::size_t kMaxZoneTabBytes = 1 << 20;   // zone.tab is about 20 KB
constexpr std::size_t kMaxTzdataZiBytes = 8 << 20;  // tzdata.zi is about 110 KB
constexpr std::size_t kMaxZones = 4000;             // zone.tab lists about 420
constexpr std::size_t kMaxZoneIdLength = 128;
constexpr std::size_t kMaxLinkHops = 8;
constexpr std::size_t kMaxLocaltimeBytes = kMaxZoneFileBytes;

struct ZoneTabEntry {
  std::string countryCode;  // ISO 3166 alpha-2, e.g. "US"
  std::string coordinates;  // ISO 6709 +-DDMM+-DDDMM or +-DDMMSS+-DDDMMSS, e.g. "+404251-0740023"
  std::string id;           // e.g. "America/New_York"
  std::string comments;     // may be empty
};

// A zone id that can be looked up under the database folder and nowhere else: parts of
// [A-Za-z0-9._+-] joined by '/', none of them "." or "..", at most kMaxZoneIdLength bytes.
bool isSafeZoneId(std::string_view id);

// Grammar per line: '#' comment | code TAB coordinates TAB id [TAB comments].
// Lines that do not follow it, repeated ids and unsafe ids are skipped.
std::vector<ZoneTabEntry> parseZoneTab(std::string_view text);

// Grammar per line of tzdata.zi: 'L' SP target SP alias; other lines are ignored.
// Alias -> target, both safe zone ids.
std::map<std::string, std::string, std::less<>> parseLinks(std::string_view text);

// "(UTC-05:00) America/New York" for Bias 300; "(UTC) Europe/London" for Bias 0.
std::string displayName(int bias, std::string_view id);

// One catalogue entry: the zone's file read for the year `at` falls in, its name showing the
// offset listedOffsetAt gives at `at` (also put in `listed`); an empty record when the file
// is missing or damaged.
ZoneRecord readZoneRecord(const std::string& zoneinfoDir, const ZoneTabEntry& entry, UtcTime at,
                          ListedOffset* listed = nullptr);

// The catalogue id that a system zone id stands for, through the database's links
// ("US/Eastern" -> "America/New_York") and UTC's many names ("Etc/UTC", "Zulu" -> "UTC");
// empty when it stands for none. Accepts a leading ':' and a path under zoneinfoDir.
// `links` may be nothing when tzdata.zi has not been read.
std::string catalogueIdFor(std::string_view systemZoneId, const std::vector<ZoneRecord>& zones,
                           const std::map<std::string, std::string, std::less<>>* links,
                           const std::string& zoneinfoDir);

// Whether TZ's value names, where the C library looks for a zone file, something that is not
// a zone-sized ordinary file (a pipe, a device, a folder, a file of many megabytes): reading
// it could block the reader for good, or fill its memory.
bool tzNamesUnsafeFile(std::string_view tz, const std::string& zoneinfoDir);

// Which opened zone's file (or UTC's) has the same bytes as the file at localtimePath;
// empty when none or when the file cannot be read. At several, the first in catalogue order.
std::string zoneWithSameContent(const std::string& localtimePath,
                                const std::vector<ZoneRecord>& zones,
                                const std::string& zoneinfoDir);

// The whole catalogue at the instant `at` (each zone's rules for the year it falls in, its
// name with the offset it lists then). found = false when zone.tab cannot be read.
// systemZoneId: what the desktop calls the system zone (may be empty, a link, or a file's path
// as TZ gives it); localtimePath: the system's zone file (usually /etc/localtime), used when
// the id is empty: a symbolic link by the zone it points to, a copy by its bytes. An id that
// names neither a zone nor a POSIX TZ string is UTC, as the C library takes it.
ZoneCatalogueSource readCatalogue(const std::string& zoneinfoDir, UtcTime at,
                                  const std::string& systemZoneId,
                                  const std::string& localtimePath);
// Whether readCatalogue would find a catalogue there (zone.tab opens as a regular file of a
// readable size), without reading it: location and found only.
ZoneCatalogueSource findCatalogue(const std::string& zoneinfoDir);
// The same at the start of `year` (UTC).
ZoneCatalogueSource readCatalogue(const std::string& zoneinfoDir, int year,
                                  const std::string& systemZoneId,
                                  const std::string& localtimePath);

}  // namespace tessaron::tzdb
