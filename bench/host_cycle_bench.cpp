// The simulated host's cost per cycle with a plugin that writes the six head datarefs every cycle, as
// Talvenor's per-frame update does: a small head writer linked into this program, and the SDK probe loaded
// from its library file. Run with --benchmark_filter to pick one; each reports the median of its
// repetitions in ns per cycle.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <string>

#include "XPLMDataAccess.h"
#include "XPLMProcessing.h"
#include "datarefs.h"
#include "host.h"

namespace {

constexpr std::array<const char*, 6> kHeadDataRefs = {
    "sim/graphics/view/pilots_head_x",   "sim/graphics/view/pilots_head_y",
    "sim/graphics/view/pilots_head_z",   "sim/graphics/view/pilots_head_psi",
    "sim/graphics/view/pilots_head_the", "sim/graphics/view/field_of_view_roll_deg"};

// The linked head writer: finds the datarefs once at start and writes all six in every cycle.
struct HeadWriter {
  std::array<XPLMDataRef, 6> refs{};
  int calls = 0;
  bool writes = true;  // false: registers its loop but writes nothing (the cost of the call alone)
};
HeadWriter g_writer;

float WriteHead(float, float, int, void*) {
  const int n = ++g_writer.calls;
  if (g_writer.writes) {
    for (std::size_t i = 0; i < g_writer.refs.size(); ++i) {
      XPLMSetDataf(g_writer.refs[i], static_cast<float>((n + static_cast<int>(i)) % 100) * 0.01f);
    }
  }
  return -1.0f;
}

int WriterStart(char* name, char* signature, char* description) {
  std::strcpy(name, "Head Writer");
  std::strcpy(signature, "talvenor.bench.head_writer");
  std::strcpy(description, "Writes the head datarefs every cycle.");
  for (std::size_t i = 0; i < kHeadDataRefs.size(); ++i) g_writer.refs[i] = XPLMFindDataRef(kHeadDataRefs[i]);
  XPLMRegisterFlightLoopCallback(WriteHead, -1.0f, nullptr);
  return 1;
}

void WriterStop() {
  XPLMUnregisterFlightLoopCallback(WriteHead, nullptr);
}
int WriterEnable() {
  return 1;
}
void WriterDisable() {}
void WriterMessage(XPLMPluginID, int, void*) {}

void RunCycles(benchmark::State& state, sim::Host& host) {
  for (auto _ : state) host.runCycles(1);
  state.SetItemsProcessed(state.iterations());  // items: cycles
}

void CycleLinked(benchmark::State& state, bool writes) {
  g_writer = HeadWriter{};
  g_writer.writes = writes;
  sim::Host host;
  host.linkPlugin({WriterStart, WriterStop, WriterEnable, WriterDisable, WriterMessage}, "HeadWriter");
  if (host.start() != 1) {
    state.SkipWithError("the linked head writer did not start");
    return;
  }
  RunCycles(state, host);
  if (g_writer.calls != static_cast<int>(state.iterations())) {
    state.SkipWithError("the head writer did not run in every cycle");
  }
  if (!host.stop().empty()) state.SkipWithError("the head writer left registrations behind");
}

void BM_CycleEmptyHost(benchmark::State& state) {
  sim::Host host;
  RunCycles(state, host);
}

void BM_CycleLinkedLoopOnly(benchmark::State& state) {
  CycleLinked(state, false);
}

void BM_CycleLinkedHeadWriter(benchmark::State& state) {
  CycleLinked(state, true);
}

void BM_CycleProbeHeadWriter(benchmark::State& state) {
  sim::Host host;
  std::string error;
  if (!host.loadPlugin(TALVENOR_BENCH_PROBE, &error) || host.start() != 1) {
    state.SkipWithError(("the probe did not start: " + error).c_str());
    return;
  }
  // Only the head writer runs: the probe's main loop is stopped by its next return.
  host.datarefs().write("probe/loop_interval", 0);
  host.runCycles(5);
  host.datarefs().write("probe/head_writer", 1);
  const long before = static_cast<long>(host.datarefs().read("probe/head_writes")->value);
  RunCycles(state, host);
  const long after = static_cast<long>(host.datarefs().read("probe/head_writes")->value);
  if (after - before != static_cast<long>(state.iterations())) {
    state.SkipWithError("the probe's head writer did not run in every cycle");
  }
  host.datarefs().write("probe/head_writer", 0);
  if (!host.stop().empty()) state.SkipWithError("the probe left registrations behind");
}

constexpr int kRepetitions = 10;

BENCHMARK(BM_CycleEmptyHost)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_CycleLinkedLoopOnly)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_CycleLinkedHeadWriter)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK(BM_CycleProbeHeadWriter)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

}  // namespace
