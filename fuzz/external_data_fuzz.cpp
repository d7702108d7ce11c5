// Any values written by another plugin into the seven external-data datarefs that Talvenor publishes, taken
// by a started plugin set up for external data, with view control and head tracking on, the control panel
// and the data display open: after every write and frame no value that is not finite reaches the head
// datarefs, the selected preset stays a slot of the table and the plugin's text buffers stay terminated. In
// plain tracking (no continuous mode, effects or limits) the head is the live preset plus the values taken.
//
// Input: records of one byte and four. The byte's bits 0..2 pick the dataref (enabled, x, y, z, pitch,
// heading, roll; 7 is an aircraft load instead), bits 3..4 the cycles run after it, bit 5 switches the
// source off and on again through the menu, bit 6 switches the force effects; the four bytes are the value
// (an int for the switch, a float for the others).
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "XPLMDataAccess.h"
#include "fuzz_support.h"
#include "plugins.h"
#include "tracker/external_data.h"
#include "ui/panels.h"
#include "widgets.h"

namespace {

sim::PluginId g_source = 0;

void SetUpExternalData(sim::Host& host) {
  std::ofstream(host.pluginFolder() / "Talvenor.ini", std::ios::binary)
      << "[CONFIG]\nENABLEEXTERNALDATA = 1\n";
  g_source = host.plugins().addStub("talvenor.fuzz.external_source");
}

void Open(fuzz::SessionRun& run) {
  run.Pick("Enable");
  run.Pick("Control Panel");
  run.Pick("Data Display");
  run.Cycles(fuzz::kFirstViewUpdate);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  fuzz::SessionRun run({&SetUpExternalData, &Open});
  sim::Host& host = run.host();
  XPLMDataRef refs[talvenor::kExternalDataRefs] = {};
  {
    const sim::Host::PluginCall call(host, g_source);
    for (int i = 0; i < talvenor::kExternalDataRefs; ++i) {
      refs[i] = XPLMFindDataRef(talvenor::kExternalDataRefNames[static_cast<std::size_t>(i)]);
      fuzz::Check(refs[i] != nullptr, "an external-data dataref is not published");
    }
  }
  const XPWidgetID effectsBox = talvenor::PanelState().control.forceEffectsBox;

  fuzz::SourceOffsets offsets;
  while (!input.empty()) {
    const std::uint8_t control = input.Byte();
    std::uint8_t bytes[4] = {};
    const std::string_view value = input.Bytes(sizeof bytes);
    std::memcpy(bytes, value.data(), value.size());
    const int target = control & 7;
    if (target == 7) {
      host.planeLoaded();
    } else {
      const sim::Host::PluginCall call(host, g_source);
      if (target == 0) {
        std::int32_t number = 0;
        std::memcpy(&number, bytes, sizeof number);
        XPLMSetDatai(refs[0], number);
      } else {
        float number = 0;
        std::memcpy(&number, bytes, sizeof number);
        XPLMSetDataf(refs[target], number);
      }
    }
    fuzz::Verify();
    if ((control & 32) != 0) {
      run.Pick("External Data Disable");
      run.Pick("External Data Enable");
    }
    if ((control & 64) != 0) host.widgets().click(effectsBox);
    run.Cycles(1 + ((control >> 3) & 3));
    // While tracking is on, every frame takes the six values as they are once the switch is on and all are
    // finite, whatever else is on.
    if (!fuzz::MenuItemEnabled(host, "External Data Disable")) continue;
    float pose[6] = {};
    bool finite = true;
    for (int axis = 0; axis < 6; ++axis) {
      pose[axis] = XPLMGetDataf(refs[axis + 1]);
      finite = finite && std::isfinite(pose[axis]);
    }
    if (XPLMGetDatai(refs[0]) != 0 && finite) offsets.Take(host, pose);
    if (fuzz::PlainTracking(host)) fuzz::CheckHeadIsPresetPlus(offsets);
  }
  return 0;
}
