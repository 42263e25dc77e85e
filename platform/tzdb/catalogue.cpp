#include "platform/tzdb/catalogue.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "platform/tzdb/listed_offset.h"
#include "platform/tzdb/posix_tz.h"
#include "platform/tzdb/tzif.h"
#include "platform/tzdb/year_rules.h"

namespace tessaron::tzdb {

namespace {

constexpr std::string_view kUtcId = "UTC";
// Every name the database gives to plain UTC (or GMT, the same clock): the catalogue's UTC.
constexpr std::array<std::string_view, 18> kUtcNames = {
    "UTC",       "Etc/UTC", "Etc/UCT",   "UCT",     "Etc/Universal", "Universal",
    "Etc/Zulu",  "Zulu",    "GMT",       "Etc/GMT", "Etc/GMT0",      "GMT0",
    "Etc/GMT+0", "GMT+0",   "Etc/GMT-0", "GMT-0",   "Etc/Greenwich", "Greenwich"};
// The files that hold UTC, for comparing a copied /etc/localtime.
constexpr std::array<std::string_view, 4> kUtcFiles = {"Etc/UTC", "UTC", "Etc/GMT", "GMT"};

// A regular file of at most maxBytes, whole; nothing otherwise.
std::optional<std::string> readWholeRegularFile(const std::string& path, std::size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> out;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<std::uint64_t>(st.st_size) <= maxBytes) {
    std::string text(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    if (done == text.size()) out = std::move(text);
  }
  ::close(fd);
  return out;
}

std::optional<std::uint64_t> regularFileSize(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(st.st_size);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// coordinates = sign DDMM sign DDDMM | sign DDMMSS sign DDDMMSS
bool isCoordinates(std::string_view s) {
  const auto fits = [&](std::size_t latDigits, std::size_t lonDigits) {
    if (s.size() != 2 + latDigits + lonDigits) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
      const bool signAt = i == 0 || i == 1 + latDigits;
      if (signAt ? (s[i] != '+' && s[i] != '-') : !isDigit(s[i])) return false;
    }
    return true;
  };
  return fits(4, 5) || fits(6, 7);
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
  return lines;
}

std::vector<std::string_view> split(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  while (true) {
    const std::size_t at = line.find(separator);
    fields.push_back(line.substr(0, at));
    if (at == std::string_view::npos) return fields;
    line.remove_prefix(at + 1);
  }
}

bool isUtcName(std::string_view id) {
  return std::find(kUtcNames.begin(), kUtcNames.end(), id) != kUtcNames.end();
}

ZoneRecord utcKey() {
  ZoneRecord key;
  key.Display = displayName(0, kUtcId);
  key.Std = kUtcId;
  return key;
}

const ZoneRecord* findOpened(const std::vector<ZoneRecord>& zones, std::string_view id) {
  for (const ZoneRecord& key : zones) {
    if (!key.Std.empty() && key.Std == id) return &key;
  }
  return nullptr;
}

// Where each hop of a chain of symbolic links leads, first hop first; a relative target is
// taken from the link's own folder, as the system takes it ("posixrules" -> "America/New_York",
// "/etc/localtime" -> "../usr/share/zoneinfo/Europe/Berlin").
std::vector<std::string> linkTargets(const std::string& path) {
  std::vector<std::string> targets;
  std::filesystem::path current(path);
  for (std::size_t hop = 0; hop < kMaxLinkHops; ++hop) {
    std::array<char, 1024> target{};
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size() - 1);
    if (n <= 0) break;
    const std::filesystem::path next(std::string(target.data(), static_cast<std::size_t>(n)));
    current = (next.is_absolute() ? next : current.parent_path() / next).lexically_normal();
    targets.push_back(current.string());
  }
  return targets;
}

// The zone id in a path outside the database folder: what follows its last "zoneinfo/".
std::string zoneIdAfterMarker(std::string_view path) {
  constexpr std::string_view kMarker = "zoneinfo/";
  const std::size_t at = path.rfind(kMarker);
  return at == std::string_view::npos ? std::string{}
                                      : std::string(path.substr(at + kMarker.size()));
}

}  // namespace

bool isSafeZoneId(std::string_view id) {
  if (id.empty() || id.size() > kMaxZoneIdLength) return false;
  for (std::string_view part : split(id, '/')) {
    if (part.empty() || part == "." || part == "..") return false;
    for (char c : part) {
      const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c) ||
                           c == '.' || c == '_' || c == '+' || c == '-';
      if (!allowed) return false;
    }
  }
  return true;
}

std::vector<ZoneTabEntry> parseZoneTab(std::string_view text) {
  std::vector<ZoneTabEntry> entries;
  for (std::string_view line : splitLines(text)) {
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string_view> f = split(line, '\t');
    if (f.size() < 3 || f.size() > 4) continue;
    const bool codeOk =
        f[0].size() == 2 && f[0][0] >= 'A' && f[0][0] <= 'Z' && f[0][1] >= 'A' && f[0][1] <= 'Z';
    if (!codeOk || !isCoordinates(f[1]) || !isSafeZoneId(f[2])) continue;
    const bool repeated = std::any_of(entries.begin(), entries.end(),
                                      [&](const ZoneTabEntry& e) { return e.id == f[2]; });
    if (repeated) continue;
    entries.push_back({std::string(f[0]), std::string(f[1]), std::string(f[2]),
                       f.size() == 4 ? std::string(f[3]) : std::string{}});
    if (entries.size() == kMaxZones) break;
  }
  return entries;
}

std::map<std::string, std::string, std::less<>> parseLinks(std::string_view text) {
  std::map<std::string, std::string, std::less<>> links;
  for (std::string_view line : splitLines(text)) {
    if (line.size() < 2 || line[0] != 'L' || line[1] != ' ') continue;
    const std::vector<std::string_view> f = split(line, ' ');
    if (f.size() != 3 || !isSafeZoneId(f[1]) || !isSafeZoneId(f[2])) continue;
    links.emplace(std::string(f[2]), std::string(f[1]));
  }
  return links;
}

std::string displayName(int bias, std::string_view id) {
  std::string name(id);
  std::replace(name.begin(), name.end(), '_', ' ');
  if (bias == 0) return "(UTC) " + name;
  const int east = -bias;
  const int minutes = east < 0 ? -east : east;
  char prefix[32];
  std::snprintf(prefix, sizeof prefix, "(UTC%c%02d:%02d) ", east < 0 ? '-' : '+',
                minutes / 60 % 100, minutes % 60);
  return prefix + name;
}

ZoneRecord readZoneRecord(const std::string& zoneinfoDir, const ZoneTabEntry& entry, UtcTime at,
                          ListedOffset* listedOut) {
  ZoneRecord key;
  if (!isSafeZoneId(entry.id)) return key;
  FileSource file(zoneinfoDir + "/" + entry.id);
  if (!file.isOpen()) return key;
  const std::optional<YearTimeline> timeline = readYearTimeline(file, yearOf(at));
  if (!timeline) return key;
  const std::optional<ListedOffset> listed = listedOffsetAt(file, at);
  if (!listed) return key;
  const YearRules rules = rulesForYear(*timeline);
  key = rules.record;
  key.Display = displayName(-minutesOf(listed->offset), entry.id);
  if (listedOut != nullptr) *listedOut = *listed;
  key.Std = entry.id;
  key.MapID = entry.countryCode + " " + entry.coordinates;
  return key;
}

std::string catalogueIdFor(std::string_view systemZoneId, const std::vector<ZoneRecord>& zones,
                           const std::map<std::string, std::string, std::less<>>* links,
                           const std::string& zoneinfoDir) {
  // id = [':'] [zoneinfoDir '/'] ['posix/'] zone id
  std::string_view id = systemZoneId;
  if (id.starts_with(':')) id.remove_prefix(1);
  const std::string folder = zoneinfoDir + "/";
  if (!zoneinfoDir.empty() && id.starts_with(folder)) id.remove_prefix(folder.size());
  if (id.starts_with("posix/")) id.remove_prefix(6);
  std::string current(id);
  for (std::size_t hop = 0; hop <= kMaxLinkHops; ++hop) {
    if (findOpened(zones, current) != nullptr) return current;
    if (isUtcName(current)) return findOpened(zones, kUtcId) ? std::string(kUtcId) : std::string{};
    if (links == nullptr) return {};
    const auto link = links->find(current);
    if (link == links->end()) return {};
    current = link->second;
  }
  return {};
}

std::string zoneWithSameContent(const std::string& localtimePath,
                                const std::vector<ZoneRecord>& zones,
                                const std::string& zoneinfoDir) {
  const std::optional<std::string> local = readWholeRegularFile(localtimePath, kMaxLocaltimeBytes);
  if (!local) return {};
  const auto sameBytes = [&](std::string_view id) {
    const std::string path = zoneinfoDir + "/" + std::string(id);
    if (regularFileSize(path) != local->size()) return false;
    const std::optional<std::string> candidate = readWholeRegularFile(path, kMaxLocaltimeBytes);
    return candidate && *candidate == *local;
  };
  for (const ZoneRecord& key : zones) {
    if (key.Std.empty()) continue;  // not read
    if (key.Std == kUtcId) {
      if (std::any_of(kUtcFiles.begin(), kUtcFiles.end(), sameBytes)) return key.Std;
    } else if (isSafeZoneId(key.Std) && sameBytes(key.Std)) {
      return key.Std;
    }
  }
  return {};
}

std::string zoneWithSameOffsets(const YearTimeline& system, const std::vector<ZoneRecord>& zones,
                                const std::string& zoneinfoDir) {
  for (const ZoneRecord& key : zones) {
    if (key.Std.empty()) continue;  // not read
    if (key.Std == kUtcId) {
      if (system.changes.empty() && system.initial.utcOffset == UtcOffset{}) return key.Std;
      continue;
    }
    if (!isSafeZoneId(key.Std)) continue;
    FileSource file(zoneinfoDir + "/" + key.Std);
    const std::optional<YearTimeline> timeline = readYearTimeline(file, system.year);
    if (timeline && sameOffsets(*timeline, system)) return key.Std;
  }
  return {};
}

bool tzNamesUnsafeFile(std::string_view tz, const std::string& zoneinfoDir) {
  if (tz.starts_with(':')) tz.remove_prefix(1);
  if (tz.empty()) return false;
  const std::string path =
      tz.starts_with('/') ? std::string(tz) : zoneinfoDir + "/" + std::string(tz);
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !isZoneSizedFile(path);
}

// The catalogue zone that the system zone is under another name; `byName` resolves a name
// through the database's links. Empty: UTC's entry.
std::string zoneLike(const std::string& zoneinfoDir, const std::string& systemZoneId,
                     const std::string& localtimePath, int year,
                     const std::vector<ZoneRecord>& zones,
                     const std::function<std::string(std::string_view)>& byName) {
  // TZ = [':'] (path | zone id | POSIX TZ string); without one, the system's zone file.
  const std::string_view id =
      std::string_view(systemZoneId).substr(systemZoneId.starts_with(':') ? 1 : 0);
  std::string file;
  std::optional<PosixTz> rule;
  if (systemZoneId.empty()) {
    file = localtimePath;
  } else if (id.starts_with('/')) {
    file = id;
  } else if (isSafeZoneId(id) &&
             ::access((zoneinfoDir + "/" + std::string(id)).c_str(), F_OK) == 0) {
    file = zoneinfoDir + "/" + std::string(id);  // a zone of the database outside zone.tab
  } else if (!(rule = parsePosixTz(id))) {
    return {};  // an empty or unknown TZ: the C library keeps UTC
  }
  std::optional<YearTimeline> timeline;
  if (rule) {
    timeline = posixYearTimeline(*rule, year);
  } else {
    // A symbolic link by the zones it leads through, relative or absolute; a copy by its
    // bytes. Anything but an ordinary file at the end (a pipe, a device, a folder) is not
    // read: it could block, and the C library takes none of them for a zone.
    for (const std::string& target : linkTargets(file)) {
      for (const std::string& name : {target, zoneIdAfterMarker(target)}) {
        if (name.empty()) continue;
        const std::string named = byName(name);
        if (!named.empty()) return named;
      }
    }
    if (!regularFileSize(file)) return {};
    const std::string same = zoneWithSameContent(file, zones, zoneinfoDir);
    if (!same.empty()) return same;
    FileSource source(file);
    timeline = readYearTimeline(source, year);
  }
  // Another name for one of the zones: the first with the same offsets and changes this year.
  return timeline ? zoneWithSameOffsets(*timeline, zones, zoneinfoDir) : std::string{};
}

ZoneCatalogueSource findCatalogue(const std::string& zoneinfoDir) {
  ZoneCatalogueSource out;
  out.location = zoneinfoDir;
  const int fd = ::open((zoneinfoDir + "/zone.tab").c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return out;
  struct stat st {};
  out.found = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              static_cast<std::uint64_t>(st.st_size) <= kMaxZoneTabBytes;
  ::close(fd);
  return out;
}

ZoneCatalogueSource readCatalogue(const std::string& zoneinfoDir, int year,
                                  const std::string& systemZoneId,
                                  const std::string& localtimePath) {
  return readCatalogue(zoneinfoDir, utcMidnight(year, 1, 1), systemZoneId, localtimePath);
}

ZoneCatalogueSource readCatalogue(const std::string& zoneinfoDir, UtcTime at,
                                  const std::string& systemZoneId,
                                  const std::string& localtimePath) {
  const int year = yearOf(at);
  ZoneCatalogueSource out;
  out.location = zoneinfoDir;
  const std::optional<std::string> tab =
      readWholeRegularFile(zoneinfoDir + "/zone.tab", kMaxZoneTabBytes);
  if (!tab) return out;
  out.found = true;

  struct Sorted {
    std::int32_t bias;  // minutes
    ZoneRecord key;
  };
  std::vector<Sorted> opened;
  std::vector<ZoneRecord> unopened;
  const std::vector<ZoneTabEntry> entries = parseZoneTab(*tab);
  opened.reserve(entries.size() + 1);
  UtcTime listedUntil = utcMidnight(year + 2, 1, 1);
  for (const ZoneTabEntry& entry : entries) {
    ListedOffset listed;
    ZoneRecord key = readZoneRecord(zoneinfoDir, entry, at, &listed);
    if (!key.Std.empty()) {
      listedUntil = std::min(listedUntil, listed.until);
      // West to east by the offsets the entries name.
      opened.push_back({-minutesOf(listed.offset), std::move(key)});
    } else {
      unopened.push_back(std::move(key));
    }
  }
  opened.push_back({0, utcKey()});
  // West to east, then by id; the zones that could not be read go last.
  std::sort(opened.begin(), opened.end(), [](const Sorted& a, const Sorted& b) {
    return a.bias != b.bias ? a.bias > b.bias : a.key.Std < b.key.Std;
  });
  out.zones.reserve(opened.size() + unopened.size());
  for (Sorted& s : opened) out.zones.push_back(std::move(s.key));
  for (ZoneRecord& key : unopened) out.zones.push_back(std::move(key));

  // The links are read only when the id is not a catalogue zone itself.
  std::string system = catalogueIdFor(systemZoneId, out.zones, nullptr, zoneinfoDir);
  std::optional<std::map<std::string, std::string, std::less<>>> links;
  const auto withLinks = [&](std::string_view id) {
    if (!links) {
      const auto zi = readWholeRegularFile(zoneinfoDir + "/tzdata.zi", kMaxTzdataZiBytes);
      links = zi ? parseLinks(*zi) : std::map<std::string, std::string, std::less<>>{};
    }
    return catalogueIdFor(id, out.zones, &*links, zoneinfoDir);
  };
  if (system.empty() && !systemZoneId.empty()) system = withLinks(systemZoneId);
  if (system.empty()) {
    system = zoneLike(zoneinfoDir, systemZoneId, localtimePath, year, out.zones, withLinks);
  }
  out.systemStandardName = system;
  out.listedUntil = listedUntil;
  return out;
}

}  // namespace tessaron::tzdb
