#include "fuzz_support.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "XPLMDefs.h"
#include "config/aircraft_files.h"
#include "file_faults.h"
#include "menus.h"
#include "plugin/entry_points.h"
#include "plugin/plugin.h"
#include "plugins.h"
#include "tracker_script.h"
#include "view/view_state.h"
#include "widgets.h"

namespace fuzz {
namespace {

constexpr float kHeadStart[6] = {-0.3f, 1.0f, -4.0f, 0.0f, 0.0f, 0.0f};
// Runs of the plugin before the fuzzing simulator is made afresh.
constexpr int kRunsPerSimulator = 2000;

bool g_nonFinite = false;
void (*g_failureHook)(const char*) = nullptr;

float ReadHead(void* refcon) {
  return *static_cast<float*>(refcon);
}
void WriteHead(void* refcon, float value) {
  if (!std::isfinite(value)) g_nonFinite = true;
  *static_cast<float*>(refcon) = value;
}

template <std::size_t N>
bool Terminated(const char (&buffer)[N]) {
  return std::memchr(buffer, '\0', N) != nullptr;
}

bool BuffersTerminated() {
  const talvenor::Plugin& plugin = talvenor::State();
  bool terminated = Terminated(plugin.paths.xplmLibraryPath) && Terminated(plugin.menu.statusText) &&
                    Terminated(plugin.menu.trackerEnableItemText) &&
                    Terminated(plugin.menu.trackerDisableItemText);
  for (const auto& text : plugin.hotkeys.slotTexts) terminated = terminated && Terminated(text);
  return terminated;
}

float g_values[6] = {};

}  // namespace

const char* const kHeadDataRefs[6] = {
    "sim/graphics/view/pilots_head_x",   "sim/graphics/view/pilots_head_y",
    "sim/graphics/view/pilots_head_z",   "sim/graphics/view/pilots_head_psi",
    "sim/graphics/view/pilots_head_the", "sim/graphics/view/field_of_view_roll_deg",
};

void Fail(const char* what) {
  std::fprintf(stderr, "fuzz: %s\n", what);
  if (g_failureHook != nullptr) g_failureHook(what);
  std::abort();
}

void SetFailureHook(void (*hook)(const char* what)) {
  g_failureHook = hook;
}

void Verify() {
  Check(!g_nonFinite, "a value that is not finite reached a head dataref");
  const std::int32_t selected = talvenor::View().selectedPreset;
  Check(selected >= 0 && selected < talvenor::kPresetSlots, "the selected preset is not a slot");
  Check(BuffersTerminated(), "a text buffer of the plugin lost its terminating NUL");
}

Simulator::Simulator(sim::HostOptions options) : host_(std::make_unique<sim::Host>(std::move(options))) {
  host_->linkPlugin({&XPluginStart, &XPluginStop, &XPluginEnable, &XPluginDisable, &XPluginReceiveMessage});
  ResetHead();
  // Registered by a plugin of its own, so that the plugin's stop neither reports nor removes them.
  const sim::PluginId guard = host_->plugins().addStub("talvenor.fuzz.head_guard");
  const sim::Host::PluginCall call(*host_, guard);
  for (int i = 0; i < 6; ++i) {
    handles_[i] = XPLMRegisterDataAccessor(kHeadDataRefs[i], xplmType_Float, 1, nullptr, nullptr, &ReadHead,
                                           &WriteHead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, &g_values[i], &g_values[i]);
  }
}

Simulator::~Simulator() {
  for (XPLMDataRef handle : handles_) XPLMUnregisterDataAccessor(handle);
}

void Simulator::ResetHead() {
  std::memcpy(g_values, kHeadStart, sizeof g_values);
}

Simulator& FuzzSimulator(void (*prepare)(sim::Host&)) {
  static std::unique_ptr<Simulator> simulator;
  static int runs = 0;
  if (simulator == nullptr || ++runs % kRunsPerSimulator == 0) {
    simulator.reset();
    simulator = std::make_unique<Simulator>();
    if (prepare != nullptr) prepare(simulator->host());
  }
  return *simulator;
}

PluginRun::PluginRun(Simulator& simulator) : host_(simulator.host()) {
  const std::filesystem::path folder = host_.resolve(host_.aircraft()).parent_path();
  std::error_code error;
  for (const char* name :
       {talvenor::kPresetFileName, talvenor::kLimitsFileName, talvenor::kEffectsFileName}) {
    std::filesystem::remove(folder / name, error);
  }
  simulator.ResetHead();
  host_.tracker().setFrame({});
  host_.debug().clear();
  Check(host_.start() == 1, "the plugin did not start");
  Verify();
}

PluginRun::~PluginRun() {
  Verify();
  Check(host_.stop().empty(), "the plugin left registrations behind");
  Check(host_.widgets().staleCalls() == 0, "the plugin used a widget it had destroyed");
}

void PluginRun::Pick(std::string_view item) {
  Check(host_.menus().pick("Talvenor", item), "an item of the plugin's menu is missing");
  Verify();
}

void PluginRun::Cycles(int count) {
  for (int i = 0; i < count; ++i) {
    host_.runCycles(1);
    Verify();
  }
}

std::string_view Input::Bytes(std::size_t count) {
  const std::size_t left = at_ < size_ ? size_ - at_ : 0;
  const std::size_t taken = count < left ? count : left;
  const std::string_view bytes(reinterpret_cast<const char*>(data_ + at_), taken);
  at_ += taken;
  return bytes;
}

}  // namespace fuzz
