// Any bytes as the frames the tracker client library hands over, taken by a started plugin with view
// control and head tracking on and the control panel open, so that its multiplier and axis boxes count:
// after every frame no value that is not finite reaches the head datarefs, the selected preset stays a
// slot of the table and the plugin's text buffers stay terminated. In plain tracking (no continuous mode,
// effects or limits) the head is the live preset plus the offsets of the frames taken, as this target
// reads the frames itself.
//
// Input: byte 0 says which axis boxes are off (bits 0..5) and whether the effects are on (bit 6) and the
// pads run continuously (bit 7); byte 1 is the length of a multiplier text typed into the panel, which
// follows; then records of one byte (bits 0..1: cycles run with the frame, bit 2: the tracker switched off
// and on again) and 80 bytes, the frame as the library fills it.
#include <cmath>
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

float Degrees(float raw) {
  return static_cast<float>(-static_cast<double>(raw) * 180.0 / 16383.0);
}

bool Finite(const sim::TrackerFrame& frame) {
  for (float value : {frame.x, frame.y, frame.z, frame.pitch, frame.heading, frame.roll}) {
    if (!std::isfinite(value)) return false;
  }
  return true;
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
  const std::string typed(input.Bytes(input.Byte()));
  if (!typed.empty()) host.widgets().type(panel.multiplierField, typed);
  fuzz::Verify();

  fuzz::SourceOffsets offsets;
  std::uint16_t lastNumber = 0;  // each connection starts again from 0
  while (!input.empty()) {
    const std::uint8_t control = input.Byte();
    sim::TrackerFrame frame;
    const std::string_view bytes = input.Bytes(sizeof frame);
    std::memcpy(&frame, bytes.data(), bytes.size());
    host.tracker().setFrame(frame);
    if ((control & 4) != 0) {
      run.Pick("TrackIR Disable");
      run.Pick("TrackIR Enable");
      lastNumber = 0;
    }
    run.Cycles(1 + (control & 3));
    // A frame counts once, with status 0, a number not taken before and six finite values: x to the left
    // and scaled by the multiplier, angles in 16383ths of 180 degrees, turned the simulator's way.
    const float multiplier = panel.multiplierValue;
    const float pose[6] = {-(frame.x * multiplier), frame.y * multiplier,   frame.z * multiplier,
                           Degrees(frame.pitch),    Degrees(frame.heading), Degrees(frame.roll)};
    // Read only while tracking is on, whatever else is on.
    if (!fuzz::MenuItemEnabled(host, "TrackIR Disable")) continue;
    if (frame.status == 0 && frame.number != lastNumber && Finite(frame)) {
      lastNumber = frame.number;
      offsets.Take(host, pose);
    }
    if (fuzz::PlainTracking(host)) fuzz::CheckHeadIsPresetPlus(offsets);
  }
  return 0;
}
