// Any bytes as the frames the tracker client library hands over, taken by a started plugin with view
// control and head tracking on and the control panel open, so that its multiplier and axis boxes count:
// after every frame no value that is not finite reaches the head datarefs, the selected preset stays a
// slot of the table and the plugin's text buffers stay terminated.
//
// Input: byte 0 says which axis boxes are off (bits 0..5) and whether the effects are on (bit 6) and the
// pads run continuously (bit 7); byte 1 is the length of a multiplier text typed into the panel, which
// follows; then records of one byte (bits 0..1: cycles run with the frame, bit 2: the tracker switched off
// and on again) and 80 bytes, the frame as the library fills it.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "tracker_script.h"
#include "ui/panels.h"
#include "widgets.h"

namespace {

void InstallTracker(sim::Host& host) {
  std::string error;
  fuzz::Check(host.tracker().installLibrary("Tracker", &error), "the tracker library cannot be laid out");
}

void Click(sim::Host& host, XPWidgetID widget) {
  fuzz::Check(host.widgets().click(widget) == sim::UserAction::Delivered, "a panel widget cannot be clicked");
}

void Open(fuzz::SessionRun& run) {
  run.Pick("Enable");
  run.Pick("Control Panel");
  run.Cycles(fuzz::kFirstViewUpdate);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  fuzz::SessionRun run({&InstallTracker, &Open});
  sim::Host& host = run.host();
  const talvenor::ControlPanelWidgets& panel = talvenor::PanelState().control;

  const std::uint8_t flags = input.Byte();
  for (int axis = 0; axis < 6; ++axis) {
    if ((flags & (1 << axis)) != 0) Click(host, panel.axisBoxes[axis]);
  }
  if ((flags & 64) != 0) Click(host, panel.forceEffectsBox);
  if ((flags & 128) != 0) Click(host, panel.continuousBox);
  const std::string multiplier(input.Bytes(input.Byte()));
  if (!multiplier.empty()) host.widgets().type(panel.multiplierField, multiplier);
  fuzz::Verify();

  while (!input.empty()) {
    const std::uint8_t control = input.Byte();
    sim::TrackerFrame frame;
    const std::string_view bytes = input.Bytes(sizeof frame);
    std::memcpy(&frame, bytes.data(), bytes.size());
    host.tracker().setFrame(frame);
    if ((control & 4) != 0) {
      run.Pick("TrackIR Disable");
      run.Pick("TrackIR Enable");
    }
    run.Cycles(1 + (control & 3));
  }
  return 0;
}
