// What every fuzz target that runs the whole plugin shares: one simulated simulator per process with the
// plugin linked in, started once and put back to the same state before every input, and the checks made
// after every step of an input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
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
// What head dataref I (of kHeadDataRefs) holds, as a read of it gives.
float Head(int i);

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

// Cycles after the start until the view update has run once (its first call comes 0.1 s after the start).
inline constexpr int kFirstViewUpdate = 6;

// One input's run of the plugin in the process's session. The first run of a process starts the plugin
// in a simulator of its own (PREPARE, when given, readies the host before the start) and brings it with
// OPEN to the state every input starts from; that state is kept: the plugin's aggregate, the host's
// checkpoint, the head datarefs and the files in the aircraft's and the plugin's folders. The end of every
// run verifies and puts that state back, so that each input runs as it would alone and what it allocated
// is freed before libFuzzer counts leaks.
class SessionRun {
 public:
  struct Setup {
    void (*prepare)(sim::Host& host) = nullptr;
    void (*open)(SessionRun& run) = nullptr;
  };
  explicit SessionRun(const Setup& setup);
  ~SessionRun();
  SessionRun(const SessionRun&) = delete;
  SessionRun& operator=(const SessionRun&) = delete;

  sim::Host& host() { return host_; }
  // Picks an item of the plugin's menu, then verifies.
  void Pick(std::string_view item);
  // Runs COUNT cycles, verifying after each.
  void Cycles(int count);
  // Makes PATH, between the plugin's calls, hold BYTES, or not exist when BYTES is null: served from memory
  // where the host can (FileFaults::serve). The input sets the file whole whatever an earlier one left, so
  // the session leaves it as it is; a file the session keeps cannot be set.
  void SetFile(const std::filesystem::path& path, const std::string_view* bytes);
  // Runs plugin code as the host would (inside its plugin call), then verifies.
  template <typename F>
  void AsPlugin(F&& code) {
    {
      const sim::Host::PluginCall call(host_, sim::kPluginUnderTest);
      code();
    }
    Verify();
  }

 private:
  sim::Host& host_;
};

// The source's offsets as the head takes them, in the order of the six axes of a preset (x, y, z, pitch,
// heading, roll), with the tracker's axis boxes: an accepted pose replaces the offset of an axis whose box
// is on (and a value that is not finite leaves it), an axis whose box is off keeps its own.
struct SourceOffsets {
  float values[6] = {};
  void Take(sim::Host& host, const float (&pose)[6]);
};

// Plain tracking, where the head shows the live preset plus the offsets: with tracking on (the menu offers
// to switch it off), continuous mode, the force effects and the limits box are off, the view is the 3-D
// cockpit. Then every head dataref whose sum is finite must hold it.
bool PlainTracking(sim::Host& host);
bool MenuItemEnabled(sim::Host& host, std::string_view item);
void CheckHeadIsPresetPlus(const SourceOffsets& offsets);

// For the replay's check that an input runs alone: from the call on, the end of every run records a digest
// of what the plugin left for the user to see (head datarefs, its windows and menu, the clock).
void RecordOutcomes();
std::uint64_t LastOutcome();

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
