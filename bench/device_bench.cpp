// The work of the window's thread that grows with the system or the macro
// library: a monitor tick over the system's HID interfaces, and the macro
// compilation at the start of Apply. Wall times here; bench/run also counts
// their instructions with callgrind (instruction_count.cpp).
#include <benchmark/benchmark.h>

#include "bench_rigs.h"

namespace {

using korvane::bench::MacroLibraryRig;
using korvane::bench::TickRig;

// A tick that enumerates: the system reported a change (or nothing can tell).
void MonitorTickEnumerating(benchmark::State& state) {
  TickRig rig(static_cast<int>(state.range(0)), true);
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig.monitor.tick());
  }
}
BENCHMARK(MonitorTickEnumerating)->Arg(2)->Arg(40);

// An idle tick: nothing was reported, the last samples stand.
void MonitorTickIdle(benchmark::State& state) {
  TickRig rig(static_cast<int>(state.range(0)), false);
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig.monitor.tick());
  }
}
BENCHMARK(MonitorTickIdle)->Arg(2)->Arg(40);

// The library compile of Apply: ten macro files read, deciphered and packed.
void CompileTenFullMacros(benchmark::State& state) {
  MacroLibraryRig rig;
  for (auto _ : state) {
    if (!rig.compile()) {
      state.SkipWithError("the ten macros did not compile");
      break;
    }
    benchmark::DoNotOptimize(rig.blocks);
  }
}
BENCHMARK(CompileTenFullMacros)->Unit(benchmark::kMicrosecond);

}  // namespace
