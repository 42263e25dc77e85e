// libFuzzer target for the zone table (zone.tab) and link (tzdata.zi) parsers: whatever the
// bytes, every entry and link that comes out holds only safe zone ids and well-formed
// fields, and nothing crashes, hangs or runs into undefined behaviour.
//
// Example: tests/fuzz/run.sh 60 zone_table_fuzz

#include <cstddef>
#include <cstdint>
#include <set>
#include <string_view>

#include "platform/tzdb/catalogue.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessaron::tzdb;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const auto entries = parseZoneTab(text);
  require(entries.size() <= kMaxZones);
  std::set<std::string> ids;
  for (const ZoneTabEntry& e : entries) {
    require(isSafeZoneId(e.id));
    require(ids.insert(e.id).second);  // no id twice
    require(e.countryCode.find_first_of("\t\n") == std::string::npos);
    require(e.coordinates.find_first_of("\t\n") == std::string::npos);
    require(e.comments.find('\n') == std::string::npos);
  }

  const auto links = parseLinks(text);
  for (const auto& [alias, target] : links) {
    require(isSafeZoneId(alias) && isSafeZoneId(target));
  }
  return 0;
}
