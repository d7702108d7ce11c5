// Any bytes as the aircraft's Talvenor.dat, TalvenorLimits.dat and TalvenorEffects.dat, loaded by a started
// plugin when view control is switched on and again through the loaders, then flown for a few frames with
// the force effects the file may switch on: nothing reads or writes outside its buffers, no value that is not
// finite reaches the six head datarefs, and the selected preset stays a slot of the table.
//
// Input: byte 0 says which files exist (bits 0..2) and how the frames run (bit 3 airborne, bit 4 "Cont/Step"
// on, bit 5 the limits box on); bytes 1 and 2 are the lengths of the preset and the limits file, taken from
// the bytes after byte 3; the effects file gets the rest; byte 3 is the height above ground in metres.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "XPLMDataAccess.h"
#include "XPLMDefs.h"
#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "config/aircraft_files.h"
#include "datarefs.h"
#include "host.h"
#include "menus.h"
#include "plugin/entry_points.h"
#include "plugin/mode_switches.h"
#include "plugin/plugin.h"
#include "ui/panels.h"
#include "view/view_state.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "aircraft files fuzz: %s\n", what);
  std::abort();
}

constexpr const char* kHead[6] = {
    "sim/graphics/view/pilots_head_x",   "sim/graphics/view/pilots_head_y",
    "sim/graphics/view/pilots_head_z",   "sim/graphics/view/pilots_head_psi",
    "sim/graphics/view/pilots_head_the", "sim/graphics/view/field_of_view_roll_deg",
};

// Stands over the six head datarefs from before the start, so that every single write is seen, not only
// the last one of a frame. The writes come inside the plugin's calls, where the host takes what goes to
// stderr for the plugin's debugger output, so a bad one is only noted there and reported after the call.
class HeadGuard {
 public:
  HeadGuard() {
    nonFinite_ = false;
    for (int i = 0; i < 6; ++i) {
      handles_[i] = XPLMRegisterDataAccessor(kHead[i], xplmType_Float, 1, nullptr, nullptr, &Read, &Write,
                                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                             nullptr, &values_[i], &values_[i]);
    }
  }
  ~HeadGuard() {
    for (XPLMDataRef handle : handles_) XPLMUnregisterDataAccessor(handle);
  }
  HeadGuard(const HeadGuard&) = delete;
  HeadGuard& operator=(const HeadGuard&) = delete;

  // After every step: what reached the datarefs, and the selected preset.
  void Verify() const {
    Check(!nonFinite_, "a value that is not finite reached a head dataref");
    const std::int32_t selected = talvenor::View().selectedPreset;
    Check(selected >= 0 && selected < talvenor::kPresetSlots, "the selected preset is not a slot");
  }

 private:
  static float Read(void* refcon) { return *static_cast<float*>(refcon); }
  static void Write(void* refcon, float value) {
    if (!std::isfinite(value)) nonFinite_ = true;
    *static_cast<float*>(refcon) = value;
  }

  static inline bool nonFinite_ = false;

  float values_[6] = {-0.3f, 1.0f, -4.0f, 0.0f, 0.0f, 0.0f};
  XPLMDataRef handles_[6] = {};
};

void WriteFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void SetBox(XPWidgetID box, bool on) {
  XPSetWidgetProperty(box, xpProperty_ButtonState, on ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t flags = data[0];
  std::size_t rest = size - 4;
  const std::uint8_t* bytes = data + 4;
  const std::size_t presetLength = data[1] < rest ? data[1] : rest;
  const std::size_t limitsLength = data[2] < rest - presetLength ? data[2] : rest - presetLength;
  const std::size_t effectsLength = rest - presetLength - limitsLength;

  // A fresh simulator and plugin for every input, so that a failing input fails alone.
  auto host = std::make_unique<sim::Host>();
  host->linkPlugin({&XPluginStart, &XPluginStop, &XPluginEnable, &XPluginDisable, &XPluginReceiveMessage});
  const std::filesystem::path folder = host->resolve(host->aircraft()).parent_path();
  if ((flags & 1) != 0) WriteFile(folder / talvenor::kPresetFileName, bytes, presetLength);
  if ((flags & 2) != 0) WriteFile(folder / talvenor::kLimitsFileName, bytes + presetLength, limitsLength);
  if ((flags & 4) != 0) {
    WriteFile(folder / talvenor::kEffectsFileName, bytes + presetLength + limitsLength, effectsLength);
  }

  // Rolling or flying under load with the engine running, so that every effect divides by its scaler.
  sim::DataRefs& datarefs = host->datarefs();
  datarefs.write("sim/flightmodel/position/groundspeed", 20.0);
  datarefs.write("sim/flightmodel/forces/g_nrml", 1.5);
  datarefs.write("sim/flightmodel/forces/g_side", 0.3);
  datarefs.write("sim/flightmodel/forces/g_axil", -0.4);
  datarefs.write("sim/flightmodel/engine/ENGN_N1_", 80.0, 0);
  datarefs.write("sim/flightmodel/failures/onground_any", (flags & 8) != 0 ? 0 : 1);
  datarefs.write("sim/flightmodel/position/y_agl", static_cast<double>(data[3]));

  {
    const HeadGuard guard;
    Check(host->start() == 1, "the plugin did not start");
    host->runCycles(6);
    // Switching view control on loads the three files.
    Check(host->menus().pick("Talvenor", "Enable"), "no Enable item");
    guard.Verify();
    host->runCycles(2);
    guard.Verify();

    {
      // The panel's boxes as the input says, and the files loaded again as the panel's Load buttons do.
      sim::Host::PluginCall call(*host, sim::kPluginUnderTest);
      const talvenor::ControlPanelWidgets& control = talvenor::PanelState().control;
      SetBox(control.continuousBox, (flags & 16) != 0);
      SetBox(control.limitsEnableBox, (flags & 32) != 0);
      talvenor::LoadPresets();
      talvenor::LoadLimits();
      talvenor::LoadEffects();
    }
    guard.Verify();
    host->runCycles(3);
    guard.Verify();

    // Every slot made the live view in turn, with whatever bounds the file gave it.
    for (int slot = 0; slot < talvenor::kPresetSlots; ++slot) {
      {
        sim::Host::PluginCall call(*host, sim::kPluginUnderTest);
        talvenor::SelectPreset(slot);
        talvenor::ApplyView(talvenor::View().limits[static_cast<std::size_t>(slot)].enabled);
      }
      guard.Verify();
      host->runCycles(2);
    }
    for (const char* name : kHead) {
      const auto value = datarefs.read(name);
      Check(value.has_value() && std::isfinite(value->value), "a head dataref is not finite");
    }
  }
  Check(host->stop().empty(), "the plugin left registrations behind");
  return 0;
}
