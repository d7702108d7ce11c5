// Any bytes as the aircraft's Talvenor.dat, TalvenorLimits.dat and TalvenorEffects.dat, loaded by a started
// plugin when view control is switched on and again through the loaders, then flown for a few frames with
// the force effects the file may switch on: nothing reads or writes outside its buffers, no value that is not
// finite reaches the six head datarefs, and the selected preset stays a slot of the table.
//
// Input: byte 0 says which files exist (bits 0..2) and how the frames run (bit 3 airborne, bit 4 "Cont/Step"
// on, bit 5 the limits box on); bytes 1 and 2 are the lengths of the preset and the limits file, taken from
// the bytes after byte 3; the effects file gets the rest; byte 3 is the height above ground in metres.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "config/aircraft_files.h"
#include "datarefs.h"
#include "fuzz_support.h"
#include "plugin/mode_switches.h"
#include "ui/panels.h"
#include "view/view_state.h"

namespace {

void SetBox(XPWidgetID box, bool on) {
  XPSetWidgetProperty(box, xpProperty_ButtonState, on ? 1 : 0);
}

void Open(fuzz::SessionRun& run) {
  run.Cycles(fuzz::kFirstViewUpdate);
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
  const std::filesystem::path folder = host.resolve(host.aircraft()).parent_path();
  if ((flags & 1) != 0) run.WriteFile(folder / talvenor::kPresetFileName, preset);
  if ((flags & 2) != 0) run.WriteFile(folder / talvenor::kLimitsFileName, limits);
  if ((flags & 4) != 0) run.WriteFile(folder / talvenor::kEffectsFileName, effects);

  // Rolling or flying under load with the engine running, so that every effect divides by its scaler.
  sim::DataRefs& datarefs = host.datarefs();
  datarefs.write("sim/flightmodel/position/groundspeed", 20.0);
  datarefs.write("sim/flightmodel/forces/g_nrml", 1.5);
  datarefs.write("sim/flightmodel/forces/g_side", 0.3);
  datarefs.write("sim/flightmodel/forces/g_axil", -0.4);
  datarefs.write("sim/flightmodel/engine/ENGN_N1_", 80.0, 0);
  datarefs.write("sim/flightmodel/failures/onground_any", (flags & 8) != 0 ? 0 : 1);
  datarefs.write("sim/flightmodel/position/y_agl", static_cast<double>(data[3]));

  // Switching view control on loads the three files.
  run.Pick("Enable");
  run.Cycles(2);
  // The panel's boxes as the input says, and the files loaded again as the panel's Load buttons do.
  run.AsPlugin([&] {
    const talvenor::ControlPanelWidgets& control = talvenor::PanelState().control;
    SetBox(control.continuousBox, (flags & 16) != 0);
    SetBox(control.limitsEnableBox, (flags & 32) != 0);
    talvenor::LoadPresets();
    talvenor::LoadLimits();
    talvenor::LoadEffects();
  });
  run.Cycles(3);

  // Every slot made the live view in turn, with whatever bounds the file gave it.
  for (int slot = 0; slot < talvenor::kPresetSlots; ++slot) {
    run.AsPlugin([&] {
      talvenor::SelectPreset(slot);
      talvenor::ApplyView(talvenor::View().limits[static_cast<std::size_t>(slot)].enabled);
    });
    run.Cycles(2);
  }
  return 0;
}
