#include "view/view_state.h"

#include <cmath>

#include "XPLMDataAccess.h"
#include "plugin/sim_datarefs.h"
#include "ui/panels.h"

namespace talvenor {

EffectsSettings StartEffects() {
  EffectsSettings effects;
  effects.effectsOn = 0;
  effects.scalerX = 10;
  effects.scalerY = 100;
  effects.scalerZ = 10;
  effects.groundScalerX = 5;
  effects.groundScalerY = 5;
  effects.groundScalerZ = 5;
  return effects;
}

bool LimitsInForce(std::int32_t limitsFlag) {
  return limitsFlag != 0 && LimitsEnableBox();
}

bool StrictlyInside(float value, float minimum, float maximum) {
  return value > minimum && value < maximum;
}

void WriteHeadValue(XPLMDataRef ref, float value) {
  // A text field, a file, the tracker or another plugin may hand us NaN or infinity; the simulator never
  // gets it.
  if (std::isfinite(value)) XPLMSetDataf(ref, value);
}

void WriteHeadPose(const HeadPose& pose, const ViewLimits* bounds) {
  const SimDataRefs& refs = SimRefs();
  if (bounds != nullptr) {
    if (StrictlyInside(pose.x, bounds->xMin, bounds->xMax)) WriteHeadValue(refs.headX, pose.x);
    if (StrictlyInside(pose.y, bounds->yMin, bounds->yMax)) WriteHeadValue(refs.headY, pose.y);
    if (StrictlyInside(pose.z, bounds->zMin, bounds->zMax)) WriteHeadValue(refs.headZ, pose.z);
  } else {
    WriteHeadValue(refs.headX, pose.x);
    WriteHeadValue(refs.headY, pose.y);
    WriteHeadValue(refs.headZ, pose.z);
  }
  WriteHeadValue(refs.headPsi, pose.heading);
  WriteHeadValue(refs.headThe, pose.pitch);
  WriteHeadValue(refs.headRoll, pose.roll);
}

void ApplyView(std::int32_t limitsFlag) {
  ViewState& view = View();
  view.presetsChanged = true;
  const int slot = view.selectedPreset;
  const ViewLimits& bounds = view.limits[slot];
  HeadPose& pose = view.workingPose;

  if (LimitsInForce(limitsFlag)) {
    // Maximum first, then minimum: a minimum above its maximum wins.
    if (pose.x > bounds.xMax) pose.x = bounds.xMax;
    if (bounds.xMin > pose.x) pose.x = bounds.xMin;
    if (pose.y > bounds.yMax) pose.y = bounds.yMax;
    if (bounds.yMin > pose.y) pose.y = bounds.yMin;
    if (pose.z > bounds.zMax) pose.z = bounds.zMax;
    if (bounds.zMin > pose.z) pose.z = bounds.zMin;
  }

  ViewPreset& preset = view.presets[slot];
  preset.x = pose.x;
  preset.y = pose.y;
  preset.z = pose.z;
  preset.pitch = pose.pitch;
  preset.heading = pose.heading;
  preset.roll = pose.roll;

  // The box is read again: the write follows whatever it says now.
  WriteHeadPose(pose, LimitsInForce(limitsFlag) ? &bounds : nullptr);
}

void ResetPresetsToCurrentView() {
  ViewState& view = View();
  const SimDataRefs& refs = SimRefs();
  ShowPresetBoxesFirstOnly();

  HeadPose& pose = view.workingPose;
  pose.x = XPLMGetDataf(refs.headX);
  pose.y = XPLMGetDataf(refs.headY);
  pose.z = XPLMGetDataf(refs.headZ);
  pose.heading = XPLMGetDataf(refs.headPsi);
  pose.pitch = XPLMGetDataf(refs.headThe);
  pose.roll = XPLMGetDataf(refs.headRoll);

  ViewPreset& first = view.presets[0];
  first.stored = 1;
  first.x = pose.x;
  first.y = pose.y;
  first.z = pose.z;
  first.pitch = pose.pitch;
  first.heading = pose.heading;
  first.roll = pose.roll;

  view.selectedPreset = 0;
  ApplyView(view.limits[0].enabled);
  ShowPresetNumber(1);
}

void ClearPresets() {
  View().presets = {};
  ShowPresetBoxes();
  ResetPresetsToCurrentView();
}

void LoadWorkingPose(int slot) {
  if (slot < 0 || slot >= kPresetSlots) return;
  ViewState& view = View();
  const ViewPreset& preset = view.presets[slot];
  view.workingPose.x = preset.x;
  view.workingPose.y = preset.y;
  view.workingPose.z = preset.z;
  view.workingPose.pitch = preset.pitch;
  view.workingPose.heading = preset.heading;
  view.workingPose.roll = preset.roll;
}

}  // namespace talvenor
