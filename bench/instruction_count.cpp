// Repeats one piece of the window thread's work `reps` times, for callgrind:
// the instructions of one repetition are the difference between a run with
// reps and a run with 0, divided by reps.
//   korvane_instruction_count tick-enumerating <interfaces> <reps>
//   korvane_instruction_count tick-idle <interfaces> <reps>
//   korvane_instruction_count compile-macros 0 <reps>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_rigs.h"

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s tick-enumerating|tick-idle|compile-macros <n> <reps>\n",
                 argv[0]);
    return 2;
  }
  const std::string what = argv[1];
  const int n = std::atoi(argv[2]);
  const int reps = std::atoi(argv[3]);
  if (what == "tick-enumerating" || what == "tick-idle") {
    korvane::bench::TickRig rig(n, what == "tick-enumerating");
    int accepted = 0;
    for (int i = 0; i < reps; ++i) {
      accepted += rig.monitor.tick() ? 1 : 0;
    }
    return accepted == 0 && rig.monitor.LastCount == n ? 0 : 1;
  }
  if (what == "compile-macros") {
    korvane::bench::MacroLibraryRig rig;
    for (int i = 0; i < reps; ++i) {
      if (!rig.compile()) {
        return 1;
      }
    }
    return 0;
  }
  return 2;
}
