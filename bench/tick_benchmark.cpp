// One tick (just after each second begins): the common case (seconds only) and the full redraw of
// both arrangements.
#include <benchmark/benchmark.h>

#include "core/tessaron.h"
#include "tests/fake_platform.h"

namespace {

using tessaron::Tessaron;
using tessaron::test::FakePlatform;

void tick(benchmark::State& state, bool vertical, bool fullRedraw) {
  FakePlatform platform;
  Tessaron core(platform);
  core.Form_Load();
  if (vertical) core.Vertical_Click();
  core.Seconds_Click();
  platform.time = {12, 34, 56};
  for (auto _ : state) {
    if (fullRedraw) {
      core.redrawTime();
    } else {
      core.Timer1_Timer();
    }
    benchmark::DoNotOptimize(core.dots());
  }
}

void BM_TickSecondsOnly(benchmark::State& s) { tick(s, false, false); }
void BM_TickFullRedrawRow(benchmark::State& s) { tick(s, false, true); }
void BM_TickFullRedrawColumns(benchmark::State& s) { tick(s, true, true); }

BENCHMARK(BM_TickSecondsOnly);
BENCHMARK(BM_TickFullRedrawRow);
BENCHMARK(BM_TickFullRedrawColumns);

}  // namespace

BENCHMARK_MAIN();
