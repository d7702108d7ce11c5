// Every action of the plugin in one table. The commands, the hot keys, the menu items and the control panel's
// buttons are rows of their own tables, each naming its action here, so an action is written once however
// many inputs reach it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "view/head_pose.h"

namespace talvenor {

// The input tables hold their rows at the place of the row's own identifier: a row out of place or left out
// would silently give another input's behaviour, so each table is checked when it compiles.
template <typename Rows>
constexpr bool RowsInPlace(const Rows& rows) {
  std::size_t place = 0;
  for (const auto& row : rows) {
    if (static_cast<std::size_t>(row.id) != place++) return false;
  }
  return true;
}

template <typename Rows, typename Check>
constexpr bool EveryRow(const Rows& rows, Check check) {
  for (const auto& row : rows) {
    if (!check(row)) return false;
  }
  return true;
}

constexpr bool Named(const char* text) {
  return text != nullptr && text[0] != '\0';
}

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
  kCount  // the number of kinds, not one itself
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

// The N-th of a family of actions that follow one another: kActRecallPreset1 + 2 recalls the third preset.
constexpr ActionId operator+(ActionId first, int n) {
  return static_cast<ActionId>(static_cast<int>(first) + n);
}

struct Action {
  ActionId id;
  Does does;
  HeadAxis axis = kAxisX;
  int sign = 0;
  int preset = -1;
};

inline constexpr Action kActions[kActionCount] = {
    {kActViewControlToggle, Does::kToggleViewControl},
    {kActTrackerToggle, Does::kToggleTracker},
    {kActEffectsToggle, Does::kToggleEffects},
    {kActControlPanelToggle, Does::kToggleControlPanel},
    {kActDataDisplayToggle, Does::kToggleDataDisplay},
    {kActEffectsPanelToggle, Does::kToggleEffectsPanel},
    {kActLimitsToggle, Does::kToggleLimits},
    {kActVibrationToggle, Does::kToggleVibration},
    {kActLoadPresets, Does::kLoadPresets},
    {kActSavePresets, Does::kSavePresets},
    {kActClearPresets, Does::kClearPresets},
    {kActLoadEffects, Does::kLoadEffects},
    {kActSaveEffects, Does::kSaveEffects},
    {kActLoadLimits, Does::kLoadLimits},
    {kActSaveLimits, Does::kSaveLimits},
    {kActClearLimits, Does::kClearLimits},
    {kActClearLimitsEdited, Does::kClearLimitsEdited},
    {kActPresetCommand1, Does::kPresetCommand, kAxisX, 0, 0},
    {kActPresetCommand1 + 1, Does::kPresetCommand, kAxisX, 0, 1},
    {kActPresetCommand1 + 2, Does::kPresetCommand, kAxisX, 0, 2},
    {kActPresetCommand1 + 3, Does::kPresetCommand, kAxisX, 0, 3},
    {kActPresetCommand1 + 4, Does::kPresetCommand, kAxisX, 0, 4},
    {kActPresetCommand1 + 5, Does::kPresetCommand, kAxisX, 0, 5},
    {kActPresetCommand1 + 6, Does::kPresetCommand, kAxisX, 0, 6},
    {kActPresetCommand1 + 7, Does::kPresetCommand, kAxisX, 0, 7},
    {kActPreviousPreset, Does::kPresetCommand, kAxisX, -1},
    {kActNextPreset, Does::kPresetCommand, kAxisX, 1},
    {kActRecallPreset1, Does::kRecallPreset, kAxisX, 0, 0},
    {kActRecallPreset1 + 1, Does::kRecallPreset, kAxisX, 0, 1},
    {kActRecallPreset1 + 2, Does::kRecallPreset, kAxisX, 0, 2},
    {kActRecallPreset1 + 3, Does::kRecallPreset, kAxisX, 0, 3},
    {kActRecallPreset1 + 4, Does::kRecallPreset, kAxisX, 0, 4},
    {kActRecallPreset1 + 5, Does::kRecallPreset, kAxisX, 0, 5},
    {kActRecallPreset1 + 6, Does::kRecallPreset, kAxisX, 0, 6},
    {kActRecallPreset1 + 7, Does::kRecallPreset, kAxisX, 0, 7},
    {kActPanelPreset1, Does::kPanelPreset, kAxisX, 0, 0},
    {kActPanelPreset1 + 1, Does::kPanelPreset, kAxisX, 0, 1},
    {kActPanelPreset1 + 2, Does::kPanelPreset, kAxisX, 0, 2},
    {kActPanelPreset1 + 3, Does::kPanelPreset, kAxisX, 0, 3},
    {kActPanelPreset1 + 4, Does::kPanelPreset, kAxisX, 0, 4},
    {kActPanelPreset1 + 5, Does::kPanelPreset, kAxisX, 0, 5},
    {kActPanelPreset1 + 6, Does::kPanelPreset, kAxisX, 0, 6},
    {kActPanelPreset1 + 7, Does::kPanelPreset, kAxisX, 0, 7},
    {kActXLeft, Does::kMoveAxis, kAxisX, -1},
    {kActXRight, Does::kMoveAxis, kAxisX, 1},
    {kActYUp, Does::kMoveAxis, kAxisY, 1},
    {kActYDown, Does::kMoveAxis, kAxisY, -1},
    {kActZIn, Does::kMoveAxis, kAxisZ, -1},
    {kActZOut, Does::kMoveAxis, kAxisZ, 1},
    {kActHeadingLeft, Does::kMoveAxis, kAxisHeading, -1},
    {kActHeadingRight, Does::kMoveAxis, kAxisHeading, 1},
    {kActPitchUp, Does::kMoveAxis, kAxisPitch, 1},
    {kActPitchDown, Does::kMoveAxis, kAxisPitch, -1},
    {kActRollLeft, Does::kMoveAxis, kAxisRoll, -1},
    {kActRollRight, Does::kMoveAxis, kAxisRoll, 1},
    {kActClearRoll, Does::kClearRoll},
    {kActIncrementsUp, Does::kIncrementsUp},
    {kActIncrementsDown, Does::kIncrementsDown},
    {kActIncrementsReset, Does::kIncrementsReset},
    {kActStopMotion, Does::kStopMotion},
    {kActCaptureX1, Does::kCaptureBound, kAxisX, -1},
    {kActCaptureX1 + 1, Does::kCaptureBound, kAxisX, 1},
    {kActCaptureX1 + 2, Does::kCaptureBound, kAxisY, -1},
    {kActCaptureX1 + 3, Does::kCaptureBound, kAxisY, 1},
    {kActCaptureX1 + 4, Does::kCaptureBound, kAxisZ, -1},
    {kActCaptureX1 + 5, Does::kCaptureBound, kAxisZ, 1},
    {kActViewControlOn, Does::kViewControlOn},
    {kActViewControlOff, Does::kViewControlOff},
    {kActOpenControlPanel, Does::kOpenControlPanel},
    {kActOpenDataDisplay, Does::kOpenDataDisplay},
    {kActOpenEffectsPanel, Does::kOpenEffectsPanel},
    {kActTrackerOn, Does::kTrackerOn},
    {kActTrackerOff, Does::kTrackerOff},
};
static_assert(RowsInPlace(kActions));

}  // namespace talvenor
