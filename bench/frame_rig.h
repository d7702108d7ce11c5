// The simulated host set up in each configuration whose cost per simulator cycle the benchmarks time and
// bench/measure_budget.sh counts: the host alone, the floor plugin, and Talvenor in four configurations.
// Talvenor and the floor plugin are loaded from their library files, as X-Plane loads a plugin.
#pragma once

#include <memory>
#include <string>

#include "host.h"

namespace bench {

enum class Rig { EmptyHost, Floor, A, B, C, D };

struct RigInfo {
  Rig rig;
  const char* name;  // as the programs take and print it
  const char* what;
};

inline constexpr RigInfo kRigs[] = {
    {Rig::EmptyHost, "host", "the simulated host alone"},
    {Rig::Floor, "floor", "a plugin that reads the six head datarefs and writes them back"},
    {Rig::A, "A", "view control off, no panel built"},
    {Rig::B, "B", "view control on in the 3-D cockpit, panels built and hidden"},
    {Rig::C, "C", "B, a new tracker frame every call, effects on, the data display shown"},
    {Rig::D, "D", "B in continuous mode (heading moving), limits in force"},
};

// Null for an unknown name.
const RigInfo* FindRig(const std::string& name);

class FrameRig {
 public:
  // Sets the configuration up and runs the cycles after which every callback runs as it will from then on.
  explicit FrameRig(Rig rig);
  ~FrameRig();
  FrameRig(const FrameRig&) = delete;
  FrameRig& operator=(const FrameRig&) = delete;

  // Empty when the configuration is in place; otherwise what went wrong.
  const std::string& error() const { return error_; }
  sim::Host& host() { return *host_; }
  // The input of the next cycle: in C a new tracker frame.
  void BeforeCycle();
  // Empty when the plugin still works in its configuration after CYCLES measured cycles.
  std::string Check(long cycles);

 private:
  void SetUpTalvenor();
  void SetUpFloor();
  bool Fail(std::string message);

  Rig rig_;
  std::unique_ptr<sim::Host> host_;
  std::string error_;
  long startCycle_ = 0;
  float startHeading_ = 0;
  int floorCallsAtStart_ = 0;
  unsigned frameNumber_ = 0;
};

// XPluginStart with no setup file, or with one of 1,024 key lines: the host with Talvenor loaded and, for
// LINES > 0, its Talvenor.ini written. Start() and Stop() run the plugin's start and stop.
class StartRig {
 public:
  explicit StartRig(int lines);
  const std::string& error() const { return error_; }
  sim::Host& host() { return host_; }
  // Loads the library again (X-Plane loads a plugin once, so each start gets a freshly loaded copy).
  bool Load();
  // Empty when the plugin started and read the whole setup file.
  std::string CheckStarted();

 private:
  sim::Host host_;
  int lines_;
  std::string error_;
};

}  // namespace bench

// One simulator cycle, measured: the function callgrind counts (--toggle-collect) and the benchmarks time.
extern "C" void talvenor_bench_cycle(sim::Host& host);
