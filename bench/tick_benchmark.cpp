// One tick (just after each second begins): the common case (seconds only) and the full redraw of
// both arrangements.
#include <benchmark/benchmark.h>

#include "core/tessaron.h"
#include "tests/core_internals.h"
#include "tests/fake_platform.h"

namespace {

using tessaron::Tessaron;
using tessaron::test::FakePlatform;

void tick(benchmark::State& state, bool vertical, bool fullRedraw) {
  FakePlatform platform;
  Tessaron core(platform);
  core.Form_Load();
  tessaron::test::Internals::commands(core).Vertical.Checked = vertical;
  tessaron::test::Internals::commands(core).Seconds.Checked = true;
  platform.time = {12, 34, 56};
  for (auto _ : state) {
    tessaron::test::Internals::redrawAll(core) = fullRedraw;
    core.Timer1_Timer();
    benchmark::DoNotOptimize(core.dotLayout().Shape1);
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
