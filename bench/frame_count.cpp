// One configuration run for callgrind, which bench/measure_budget.sh starts with collection off and toggled
// on inside talvenor_bench_cycle (or XPluginStart), so that only the measured cycles (or the start) count.
//
//   talvenor_frame_count RIG CYCLES      RIG: host, floor, A, B, C or D
//   talvenor_frame_count start LINES     XPluginStart with no setup file (0) or one of LINES key lines
//
// Exit status 0 when the plugin did its configuration's work, 1 when not, 2 on bad arguments.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame_rig.h"

namespace {

int Report(const std::string& error) {
  if (error.empty()) return 0;
  std::fprintf(stderr, "%s\n", error.c_str());
  return 1;
}

int CountStart(int lines) {
  bench::StartRig rig(lines);
  if (!rig.error().empty()) return Report(rig.error());
  rig.host().start();
  const std::string error = rig.CheckStarted();
  rig.host().stop();
  return Report(error);
}

int CountCycles(const bench::RigInfo& info, long cycles) {
  bench::FrameRig rig(info.rig);
  if (!rig.error().empty()) return Report(rig.error());
  for (long i = 0; i < cycles; ++i) {
    rig.BeforeCycle();
    talvenor_bench_cycle(rig.host());
  }
  return Report(rig.Check(cycles));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s RIG CYCLES | start LINES\n", argv[0]);
    return 2;
  }
  const std::string what = argv[1];
  const long count = std::strtol(argv[2], nullptr, 10);
  if (what == "start") return CountStart(static_cast<int>(count));
  const bench::RigInfo* info = bench::FindRig(what);
  if (info == nullptr || count < 0) {
    std::fprintf(stderr, "unknown rig %s\n", what.c_str());
    return 2;
  }
  return CountCycles(*info, count);
}
