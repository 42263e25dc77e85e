// One second of the window at rest, as the desktop runs it: the tick timer runs out, the
// core ticks, the window brings its widgets in line and repaints the dots that changed.
// On Qt's offscreen platform by default (the painting alone); under an X server with
// QT_QPA_PLATFORM=xcb the flush to the server is counted too.
//
// Example: BM_WindowTick_Seconds at 14 us offscreen (44 us under Xvfb, the flush included)
// against BM_WindowTick_NoSeconds at 1.2 us: the painting is nearly all of the clock's own
// work, the sync of every widget with the core about a microsecond. A tick at rest costs
// more (bench/tick_cost.py): the wake-up itself, with cold caches, is not measured here.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "tests/qt/scripted_window.h"

namespace {

using tessaron::qt::ScriptedWindow;

void settle() {
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
}

// `seconds`: the seconds shown (a few dots change each second) or hidden (none change
// but once a minute).
void windowTick(benchmark::State& state, bool seconds) {
  ScriptedWindow clock;
  if (seconds != clock.core.item(tessaron::Command::Seconds).Checked)
    clock.run(tessaron::Command::Seconds);
  settle();
  for (auto _ : state) {
    clock.platform.advance(1000);
    clock.fire();
  }
  settle();
}

void BM_WindowTick_Seconds(benchmark::State& s) { windowTick(s, true); }
void BM_WindowTick_NoSeconds(benchmark::State& s) { windowTick(s, false); }
BENCHMARK(BM_WindowTick_Seconds);
BENCHMARK(BM_WindowTick_NoSeconds);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
