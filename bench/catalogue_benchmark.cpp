// Reading the zone catalogue from the host's tz database (/usr/share/zoneinfo), as the clock
// does at start-up: every zone of zone.tab opened and read for one year, plus finding the
// system zone by its id, by an alias (which reads tzdata.zi) or by a copied file's bytes.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/tzdb/catalogue.h"
#include "platform/tzdb/tzif.h"
#include "platform/tzdb/year_rules.h"

namespace {

using namespace tessaron::tzdb;

constexpr const char* kZoneinfo = "/usr/share/zoneinfo";
constexpr int kYear = 2026;

void readWhole(benchmark::State& state, const std::string& systemId, const std::string& localtime) {
  std::size_t zones = 0;
  for (auto _ : state) {
    auto catalogue = readCatalogue(kZoneinfo, kYear, systemId, localtime);
    zones = catalogue.zones.size();
    benchmark::DoNotOptimize(catalogue);
  }
  state.counters["zones"] = static_cast<double>(zones);
}

void BM_CatalogueSystemById(benchmark::State& state) { readWhole(state, "America/New_York", ""); }

void BM_CatalogueSystemByAlias(benchmark::State& state) { readWhole(state, "US/Eastern", ""); }

void BM_CatalogueSystemByContent(benchmark::State& state) {
  namespace fs = std::filesystem;
  std::string copy = (fs::temp_directory_path() / "catalogue_bench_XXXXXX").string();
  const int fd = ::mkstemp(copy.data());
  if (fd < 0) {
    state.SkipWithError("no temporary file");
    return;
  }
  ::close(fd);
  fs::copy_file(std::string(kZoneinfo) + "/Europe/Paris", copy,
                fs::copy_options::overwrite_existing);
  readWhole(state, "", copy);
  fs::remove(copy);
}

void BM_OneZoneForOneYear(benchmark::State& state) {
  for (auto _ : state) {
    FileSource file(std::string(kZoneinfo) + "/America/New_York");
    auto timeline = readYearTimeline(file, kYear);
    benchmark::DoNotOptimize(rulesForYear(*timeline));
  }
}

BENCHMARK(BM_CatalogueSystemById)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueSystemByAlias)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueSystemByContent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneZoneForOneYear)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
