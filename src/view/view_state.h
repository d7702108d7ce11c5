// The one shared model of the view: the selected preset slot is the live view, and every edit of the
// working pose ends in ApplyView, which stores it back into that slot and writes the head datarefs.
#pragma once

#include <array>
#include <cstdint>

#include "XPLMDataAccess.h"
#include "view/head_pose.h"

namespace talvenor {

// Axis order of the increments (as the setup file gives them): x, y, z, heading, pitch, roll.
enum IncrementAxis { kIncX = 0, kIncY, kIncZ, kIncHeading, kIncPitch, kIncRoll, kIncrementAxes };

struct ViewState {
  std::array<ViewPreset, kPresetSlots> presets{};
  std::array<ViewLimits, kPresetSlots> limits{};
  EffectsSettings effects{};
  std::int32_t selectedPreset = 0;  // 0..7
  HeadPose workingPose{};
  bool pluginEnabled = false;  // view control is on
  std::int32_t sourceAvailable = 0;
  bool trackerActive = false;
  HeadPose trackerOffsets{};
  HeadPose continuousRates{};
  std::array<float, kIncrementAxes> configuredIncrements{};
  std::array<float, kIncrementAxes> currentIncrements{};
  float savedRoll = 0;
  bool reinitPending = false;
  bool presetsChanged = false;
  bool limitsChanged = false;
  std::int32_t lastExternalEnabled = 0;
  std::int32_t vibrationPhase = 0;
  // quorlend/talvenor/external_enabled as the per-frame update reads it; looked up on first use.
  XPLMDataRef externalEnabledRef = nullptr;
};

// The view state of the running plugin.
ViewState& View();

// The force-effects record at plugin start: off, scalers 10, 100, 10, ground scalers 5, 5, 5.
EffectsSettings StartEffects();

// Clamps the working pose to the selected slot's bounds when limitsFlag and the panel's limits box are both
// on, stores it in the selected preset, marks the presets changed and writes the six head datarefs.
void ApplyView(std::int32_t limitsFlag);

// Preset 1 := the simulator's current head pose, selected and applied.
void ResetPresetsToCurrentView();
// Every preset emptied and its box on the control panel cleared, then preset 1 made from the head's current
// pose and selected (as ResetPresetsToCurrentView).
void ClearPresets();

// workingPose := presets[slot], axis by axis (a slot outside 0..7 changes nothing).
void LoadWorkingPose(int slot);

// The bounds are in force when limitsFlag is nonzero and the control panel's limits box is on.
bool LimitsInForce(std::int32_t limitsFlag);
// Greater than the minimum and less than the maximum: a value at a bound is not written.
bool StrictlyInside(float value, float minimum, float maximum);
// Writes one head dataref; a value that is not finite is never written.
void WriteHeadValue(XPLMDataRef ref, float value);
// Writes x, y, z (with bounds: each only when strictly inside them), then heading, pitch and roll.
void WriteHeadPose(const HeadPose& pose, const ViewLimits* bounds);

}  // namespace talvenor
