// Any bytes as the aircraft's Talvenor.dat, TalvenorLimits.dat and TalvenorEffects.dat, loaded as the panel's
// Load buttons do by a started plugin with view control on (the three loaders are all that switching it on
// reads the files with), then flown for a few frames with the force effects the file may switch on: nothing
// reads or writes outside its buffers, no value that is not finite reaches the six head datarefs, and the
// selected preset stays a slot of the table. The slot the input names, made the live view, shows the limits
// file's bounds in the limit fields and puts the preset file's pose on the head, within bounds in force, as
// this target reads the two files itself. The host serves the three files from memory (FileFaults::serve):
// the plugin opens and reads them with the C library's functions as it would on a disk.
//
// Input: byte 0 says which files exist (bits 0..2) and how the frames run (bit 3 airborne, bit 4 "Cont/Step"
// on, bit 5 the limits box on); bytes 1 and 2 are the lengths of the preset and the limits file, taken from
// the bytes after byte 3; the effects file gets the rest; byte 3 is the height above ground in metres, and
// its three low bits the slot made the live view.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "config/aircraft_files.h"
#include "datarefs.h"
#include "fuzz_support.h"
#include "plugin/mode_switches.h"
#include "ui/panels.h"
#include "view/view_state.h"
#include "widgets.h"

namespace {

void SetBox(XPWidgetID box, bool on) {
  XPSetWidgetProperty(box, xpProperty_ButtonState, on ? 1 : 0);
}

// View control is on before any file exists, so that an input pays only for what its files steer.
void Open(fuzz::SessionRun& run) {
  // Rolling or flying under load with the engine running, so that every effect divides by its scaler.
  sim::DataRefs& datarefs = run.host().datarefs();
  datarefs.write("sim/flightmodel/position/groundspeed", 20.0);
  datarefs.write("sim/flightmodel/forces/g_nrml", 1.5);
  datarefs.write("sim/flightmodel/forces/g_side", 0.3);
  datarefs.write("sim/flightmodel/forces/g_axil", -0.4);
  datarefs.write("sim/flightmodel/engine/ENGN_N1_", 80.0, 0);
  run.Pick("Control Panel");
  run.Cycles(fuzz::kFirstViewUpdate);
  run.Pick("Enable");
  run.Cycles(1);
}

// A table as the plugin must load it, read here from the file's bytes: all zero, then the file's first
// bytes over it; eight records of a 32-bit flag and six floats.
struct Table {
  bool known = false;  // the file exists
  std::int32_t flags[talvenor::kPresetSlots] = {};
  float values[talvenor::kPresetSlots][6] = {};
};

Table Read(bool exists, std::string_view bytes) {
  Table table;
  table.known = exists;
  unsigned char image[talvenor::kPresetSlots * 28] = {};
  std::memcpy(image, bytes.data(), std::min(bytes.size(), sizeof image));
  for (int slot = 0; slot < talvenor::kPresetSlots; ++slot) {
    std::memcpy(&table.flags[slot], image + slot * 28, 4);
    std::memcpy(table.values[slot], image + slot * 28 + 4, 24);
  }
  return table;
}

// X, y and z held within bounds (minimum, maximum for each): the maximum first, so a minimum above its
// maximum wins.
void Hold(float (&pose)[6], const float* bounds) {
  for (int axis = 0; axis < 3; ++axis) {
    if (pose[axis] > bounds[axis * 2 + 1]) pose[axis] = bounds[axis * 2 + 1];
    if (bounds[axis * 2] > pose[axis]) pose[axis] = bounds[axis * 2];
  }
}

std::string Fixed(float value) {
  char text[400];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(value));
  return text;
}

// After a slot is made the live view: the limit fields show its bounds, and the head holds its pose, x, y
// and z held within bounds in force (a flag that is not 0), written only strictly inside them.
void CheckSlot(int slot, const Table& presets, const Table& limits) {
  const talvenor::ControlPanelWidgets& control = talvenor::PanelState().control;
  const float* bounds = limits.values[slot];
  if (limits.known) {
    for (int i = 0; i < 6; ++i) {
      char shown[400] = {};
      XPGetWidgetDescriptor(control.limitFields[i], shown, sizeof shown - 1);
      fuzz::Check(!std::isfinite(bounds[i]) || shown == Fixed(bounds[i]),
                  "a limit field does not show the file's bound");
    }
  }
  if (!presets.known) return;
  const bool inForce = limits.known && limits.flags[slot] != 0;
  constexpr int kDataRef[6] = {0, 1, 2, 4, 3, 5};  // x, y, z, pitch (pilots_head_the), heading (_psi), roll
  for (int axis = 0; axis < 6; ++axis) {
    float expected = presets.values[slot][axis];
    if (axis < 3 && inForce) {
      float held[6] = {};
      std::copy(std::begin(presets.values[slot]), std::end(presets.values[slot]), held);
      Hold(held, bounds);
      if (held[axis] > bounds[axis * 2] && held[axis] < bounds[axis * 2 + 1]) expected = held[axis];
    }
    if (!std::isfinite(expected)) continue;
    const float value = fuzz::Head(kDataRef[axis]);
    if (value == expected) continue;
    std::fprintf(stderr, "fuzz: slot %d axis %d holds %.9g, the file's preset gives %.9g%s\n", slot, axis,
                 static_cast<double>(value), static_cast<double>(expected), inForce ? " in bounds" : "");
    fuzz::Fail("the head does not hold the file's preset");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::SessionRun run({nullptr, &Open});
  if (size < 4) return 0;
  sim::Host& host = run.host();
  const std::uint8_t flags = data[0];
  const std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);
  const std::string_view preset = rest.substr(0, data[1]);
  const std::string_view limits = rest.substr(preset.size(), data[2]);
  const std::string_view effects = rest.substr(preset.size() + limits.size());
  static const std::filesystem::path folder = host.aircraftFile().parent_path();
  static const std::filesystem::path files[3] = {folder / talvenor::kPresetFileName,
                                                 folder / talvenor::kLimitsFileName,
                                                 folder / talvenor::kEffectsFileName};
  const std::string_view* contents[3] = {&preset, &limits, &effects};
  for (int i = 0; i < 3; ++i) run.SetFile(files[i], (flags & (1 << i)) != 0 ? contents[i] : nullptr);

  sim::DataRefs& datarefs = host.datarefs();
  datarefs.write("sim/flightmodel/failures/onground_any", (flags & 8) != 0 ? 0 : 1);
  datarefs.write("sim/flightmodel/position/y_agl", static_cast<double>(data[3]));

  // The panel's boxes as the input says, and the files loaded as the panel's Load buttons do.
  run.AsPlugin([&] {
    const talvenor::ControlPanelWidgets& control = talvenor::PanelState().control;
    SetBox(control.continuousBox, (flags & 16) != 0);
    SetBox(control.limitsEnableBox, (flags & 32) != 0);
    talvenor::LoadPresets();
    talvenor::LoadLimits();
    talvenor::LoadEffects();
  });
  run.Cycles(2);

  // No limits are in force when the presets load (the session starts with none), so the table keeps the
  // file's poses as they are.
  const Table presets = Read((flags & 1) != 0, preset);
  const Table bounds = Read((flags & 2) != 0, limits);
  const int slot = data[3] % talvenor::kPresetSlots;
  run.AsPlugin([&] {
    talvenor::SelectPreset(slot);
    talvenor::ApplyView(talvenor::View().limits[static_cast<std::size_t>(slot)].enabled);
  });
  CheckSlot(slot, presets, bounds);
  run.Cycles(1);
  return 0;
}
