// Every action of the plugin in one table. The commands, the hot keys, the menu picks and the control panel's
// buttons each map their slots into it, so an action is written once however many inputs reach it.
#pragma once

#include <cstdint>

#include "view/head_pose.h"

namespace talvenor {

enum class Does : std::uint8_t {
  kNothingYet,  // a feature still to come (README, "Still to come"): its inputs exist and do nothing
  kToggleViewControl,
  kViewControlOn,
  kViewControlOff,
  kToggleTracker,
  kTrackerOn,   // the toggle's state becomes on whatever the outcome
  kTrackerOff,  // and the toggle's state off
  kToggleEffects,
  kToggleVibration,
  kToggleControlPanel,
  kOpenControlPanel,
  kToggleEffectsPanel,
  kOpenEffectsPanel,
  kToggleDataDisplay,
  kOpenDataDisplay,
  kToggleLimits,
  kLoadPresets,
  kSavePresets,
  kClearPresets,
  kLoadEffects,
  kSaveEffects,
  kLoadLimits,
  kSaveLimits,
  kClearLimits,
  kClearLimitsEdited,  // and the limits are marked changed
  kRecallPreset,       // a stored PRESET becomes the live view
  kPresetCommand,  // the command cursor goes to PRESET (or steps by SIGN); a stored one is recalled and shown
  kPanelPreset,    // a stored PRESET is recalled, an empty one stores the view
  kMoveAxis,       // AXIS moves in the direction of SIGN: per held cycle of a command, per click of a pad
  kStopMotion,     // the continuous rates stop
  kClearRoll,
  kCaptureBound,  // the selected slot's minimum (SIGN -1) or maximum (+1) of AXIS := the view's value
  kIncrementsUp,
  kIncrementsDown,
  kIncrementsReset,
};

struct Action {
  Does does;
  HeadAxis axis = kAxisX;
  int sign = 0;
  int preset = -1;
};

enum ActionId {
  kActViewControlToggle = 0,
  kActTrackerToggle,
  kActEffectsToggle,
  kActControlPanelToggle,
  kActDataDisplayToggle,
  kActEffectsPanelToggle,
  kActLimitsToggle,
  kActVibrationToggle,
  kActLoadPresets,
  kActSavePresets,
  kActClearPresets,
  kActLoadEffects,
  kActSaveEffects,
  kActLoadLimits,
  kActSaveLimits,
  kActClearLimits,
  kActClearLimitsEdited,
  kActPresetCommand1,  // to kActPresetCommand1 + 7
  kActPreviousPreset = kActPresetCommand1 + kPresetSlots,
  kActNextPreset,
  kActRecallPreset1,                                    // to kActRecallPreset1 + 7
  kActPanelPreset1 = kActRecallPreset1 + kPresetSlots,  // to kActPanelPreset1 + 7
  kActXLeft = kActPanelPreset1 + kPresetSlots,
  kActXRight,
  kActYUp,
  kActYDown,
  kActZIn,
  kActZOut,
  kActHeadingLeft,
  kActHeadingRight,
  kActPitchUp,
  kActPitchDown,
  kActRollLeft,
  kActRollRight,
  kActClearRoll,
  kActIncrementsUp,
  kActIncrementsDown,
  kActIncrementsReset,
  kActStopMotion,
  kActCaptureX1,  // X1, X2, Y1, Y2, Z1, Z2
  kActViewControlOn = kActCaptureX1 + 6,
  kActViewControlOff,
  kActOpenControlPanel,
  kActOpenDataDisplay,
  kActOpenEffectsPanel,
  kActTrackerOn,
  kActTrackerOff,
  kActionCount
};

inline constexpr Action kActions[kActionCount] = {
    {Does::kToggleViewControl},
    {Does::kToggleTracker},
    {Does::kToggleEffects},
    {Does::kToggleControlPanel},
    {Does::kToggleDataDisplay},
    {Does::kToggleEffectsPanel},
    {Does::kToggleLimits},
    {Does::kToggleVibration},
    {Does::kLoadPresets},
    {Does::kSavePresets},
    {Does::kClearPresets},
    {Does::kLoadEffects},
    {Does::kSaveEffects},
    {Does::kLoadLimits},
    {Does::kSaveLimits},
    {Does::kClearLimits},
    {Does::kClearLimitsEdited},
    {Does::kPresetCommand, kAxisX, 0, 0},
    {Does::kPresetCommand, kAxisX, 0, 1},
    {Does::kPresetCommand, kAxisX, 0, 2},
    {Does::kPresetCommand, kAxisX, 0, 3},
    {Does::kPresetCommand, kAxisX, 0, 4},
    {Does::kPresetCommand, kAxisX, 0, 5},
    {Does::kPresetCommand, kAxisX, 0, 6},
    {Does::kPresetCommand, kAxisX, 0, 7},
    {Does::kPresetCommand, kAxisX, -1},
    {Does::kPresetCommand, kAxisX, 1},
    {Does::kRecallPreset, kAxisX, 0, 0},
    {Does::kRecallPreset, kAxisX, 0, 1},
    {Does::kRecallPreset, kAxisX, 0, 2},
    {Does::kRecallPreset, kAxisX, 0, 3},
    {Does::kRecallPreset, kAxisX, 0, 4},
    {Does::kRecallPreset, kAxisX, 0, 5},
    {Does::kRecallPreset, kAxisX, 0, 6},
    {Does::kRecallPreset, kAxisX, 0, 7},
    {Does::kPanelPreset, kAxisX, 0, 0},
    {Does::kPanelPreset, kAxisX, 0, 1},
    {Does::kPanelPreset, kAxisX, 0, 2},
    {Does::kPanelPreset, kAxisX, 0, 3},
    {Does::kPanelPreset, kAxisX, 0, 4},
    {Does::kPanelPreset, kAxisX, 0, 5},
    {Does::kPanelPreset, kAxisX, 0, 6},
    {Does::kPanelPreset, kAxisX, 0, 7},
    {Does::kMoveAxis, kAxisX, -1},
    {Does::kMoveAxis, kAxisX, 1},
    {Does::kMoveAxis, kAxisY, 1},
    {Does::kMoveAxis, kAxisY, -1},
    {Does::kMoveAxis, kAxisZ, -1},
    {Does::kMoveAxis, kAxisZ, 1},
    {Does::kMoveAxis, kAxisHeading, -1},
    {Does::kMoveAxis, kAxisHeading, 1},
    {Does::kMoveAxis, kAxisPitch, 1},
    {Does::kMoveAxis, kAxisPitch, -1},
    {Does::kMoveAxis, kAxisRoll, -1},
    {Does::kMoveAxis, kAxisRoll, 1},
    {Does::kClearRoll},
    {Does::kIncrementsUp},
    {Does::kIncrementsDown},
    {Does::kIncrementsReset},
    {Does::kStopMotion},
    {Does::kCaptureBound, kAxisX, -1},
    {Does::kCaptureBound, kAxisX, 1},
    {Does::kCaptureBound, kAxisY, -1},
    {Does::kCaptureBound, kAxisY, 1},
    {Does::kCaptureBound, kAxisZ, -1},
    {Does::kCaptureBound, kAxisZ, 1},
    {Does::kViewControlOn},
    {Does::kViewControlOff},
    {Does::kOpenControlPanel},
    {Does::kOpenDataDisplay},
    {Does::kOpenEffectsPanel},
    {Does::kTrackerOn},
    {Does::kTrackerOff},
};

}  // namespace talvenor
