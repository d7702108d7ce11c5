// The one shared model of the view: the selected preset slot is the live view, and every edit of the
// working pose ends in ApplyView, which stores it back into that slot and writes the head datarefs.
#pragma once

#include <array>
#include <cstdint>

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
  bool pluginEnabled = false;       // view control is on
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

// workingPose := presets[slot], axis by axis.
void LoadWorkingPose(int slot);

}  // namespace talvenor
