// The time of one simulator cycle in each configuration of frame_rig.h, and of XPluginStart with no setup
// file and with 1,024 key lines. After the run a table gives each configuration's median less the host's
// own, and its ratio to the floor's, all from this one run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include "frame_rig.h"

namespace {

constexpr int kRepetitions = 10;

void Frame(benchmark::State& state, bench::Rig which) {
  bench::FrameRig rig(which);
  if (!rig.error().empty()) {
    state.SkipWithError(rig.error().c_str());
    return;
  }
  for (auto _ : state) {
    rig.BeforeCycle();
    talvenor_bench_cycle(rig.host());
  }
  const std::string error = rig.Check(static_cast<long>(state.iterations()));
  if (!error.empty()) state.SkipWithError(error.c_str());
}

// Only XPluginStart (and the trivial XPluginEnable) is timed; loading the library and the stop are not.
void Start(benchmark::State& state, int lines) {
  bench::StartRig rig(lines);
  if (!rig.error().empty()) {
    state.SkipWithError(rig.error().c_str());
    return;
  }
  for (auto _ : state) {
    if (!rig.host().hasPlugin() && !rig.Load()) break;
    const auto begin = std::chrono::steady_clock::now();
    rig.host().start();
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - begin).count());
    const std::string error = rig.CheckStarted();
    rig.host().stop();
    if (!error.empty()) {
      state.SkipWithError(error.c_str());
      break;
    }
    rig.Load();
  }
  if (!rig.error().empty()) state.SkipWithError(rig.error().c_str());
}

// Keeps the medians of the frame benchmarks for the table at the end.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.aggregate_name == "median" && !run.error_occurred) {
        medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintTable() const {
    const auto host = medians_.find("frame/host");
    const auto floor = medians_.find("frame/floor");
    if (host == medians_.end() || floor == medians_.end()) return;
    const double floorCost = floor->second - host->second;
    std::printf("\nMedian time of one cycle less the host's own (%.0f ns), and its ratio to the floor:\n",
                host->second);
    for (const bench::RigInfo& info : bench::kRigs) {
      const auto found = medians_.find(std::string("frame/") + info.name);
      if (info.rig == bench::Rig::EmptyHost || found == medians_.end()) continue;
      const double cost = found->second - host->second;
      std::printf("  %-5s %8.0f ns  %5.2f x floor  %6.3f%% of a 60 fps frame  %s\n", info.name, cost,
                  cost / floorCost, cost / 16.667e6 * 100.0, info.what);
    }
  }

 private:
  std::map<std::string, double> medians_;
};

void Register() {
  for (const bench::RigInfo& info : bench::kRigs) {
    benchmark::RegisterBenchmark((std::string("frame/") + info.name).c_str(), Frame, info.rig)
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kNanosecond);
  }
  for (const int lines : {0, 1024}) {
    benchmark::RegisterBenchmark(("XPluginStart/setup_lines:" + std::to_string(lines)).c_str(), Start, lines)
        ->UseManualTime()
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}
