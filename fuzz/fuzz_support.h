// What every fuzz target that runs the whole plugin shares: one simulated simulator per process with the
// plugin linked in, started afresh for every input, and the checks made after every step of an input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "XPLMDataAccess.h"
#include "host.h"

namespace fuzz {

// Prints WHAT, calls the failure hook if one is set and aborts, so that libFuzzer keeps the input that did
// it.
[[noreturn]] void Fail(const char* what);
// A program that runs the checks outside libFuzzer (the soak) records what failed before the abort.
void SetFailureHook(void (*hook)(const char* what));
inline void Check(bool condition, const char* what) {
  if (!condition) Fail(what);
}

// The six head datarefs: pilots_head_x, _y, _z, _psi, _the and field_of_view_roll_deg.
extern const char* const kHeadDataRefs[6];

// The checks after every step: no value that is not finite reached a head dataref (since the last Verify),
// the selected preset is a slot of the table, and every text buffer of the plugin's state holds its NUL.
void Verify();

// A simulated simulator with the plugin linked in, and a plugin of its own that stands over the six head
// datarefs, so that every single write is seen, not only the last one of a frame. (The writes come inside
// the plugin's calls, where the host takes what goes to stderr for the plugin's debugger output, so a bad
// one is only noted there and reported by Verify.)
class Simulator {
 public:
  explicit Simulator(sim::HostOptions options = {});
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  sim::Host& host() { return *host_; }
  // Puts the head datarefs back where the simulator starts them.
  void ResetHead();

 private:
  std::unique_ptr<sim::Host> host_;
  XPLMDataRef handles_[6] = {};
};

// The process's simulator for fuzzing (made at the first call, and made afresh now and then, as the host
// keeps what each run leaves, like the widgets destroyed). PREPARE, when given, is called on each new one.
Simulator& FuzzSimulator(void (*prepare)(sim::Host&) = nullptr);

// Cycles after the start until the view update has run once (its first call comes 0.1 s after the start).
inline constexpr int kFirstViewUpdate = 6;

// One input's run of the plugin: from a fresh start (no view files in the aircraft's folder, the head where
// the simulator starts it, the tracker's first frame) to a stop that must leave nothing registered.
class PluginRun {
 public:
  explicit PluginRun(Simulator& simulator);
  ~PluginRun();
  PluginRun(const PluginRun&) = delete;
  PluginRun& operator=(const PluginRun&) = delete;

  sim::Host& host() { return host_; }
  // Picks an item of the plugin's menu, then verifies.
  void Pick(std::string_view item);
  // Runs COUNT cycles, verifying after each.
  void Cycles(int count);

 private:
  sim::Host& host_;
};

// Reads the input front to back; past its end every read gives 0 or an empty text.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Up to COUNT bytes.
  std::string_view Bytes(std::size_t count);

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace fuzz
