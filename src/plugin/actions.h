// The inputs' maps into the action table (ui/action_table.h), and what an action does.
#pragma once

#include <cstdint>

#include "config/setup_file.h"
#include "plugin/commands.h"
#include "ui/action_table.h"

namespace talvenor {

// The plugin's commands in creation order.
inline constexpr ActionId kCommandActions[kPluginCommandCount] = {
    kActViewControlToggle,
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
    kActPresetCommand1,
    ActionId(kActPresetCommand1 + 1),
    ActionId(kActPresetCommand1 + 2),
    ActionId(kActPresetCommand1 + 3),
    ActionId(kActPresetCommand1 + 4),
    ActionId(kActPresetCommand1 + 5),
    ActionId(kActPresetCommand1 + 6),
    ActionId(kActPresetCommand1 + 7),
    kActPreviousPreset,
    kActNextPreset,
    kActXLeft,
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
};

// The setup file's hot-key slots.
inline constexpr ActionId kHotkeyActions[kHotkeySlots] = {
    kActRecallPreset1,
    ActionId(kActRecallPreset1 + 1),
    ActionId(kActRecallPreset1 + 2),
    ActionId(kActRecallPreset1 + 3),
    ActionId(kActRecallPreset1 + 4),
    ActionId(kActRecallPreset1 + 5),
    ActionId(kActRecallPreset1 + 6),
    ActionId(kActRecallPreset1 + 7),
    kActViewControlToggle,
    kActTrackerToggle,
    kActEffectsToggle,
    kActControlPanelToggle,
    kActDataDisplayToggle,
    kActEffectsPanelToggle,
    kActLimitsToggle,
    kActVibrationToggle,
};

// The plugin menu's seven items.
inline constexpr int kMenuItemCount = 7;
inline constexpr ActionId kMenuActions[kMenuItemCount] = {
    kActViewControlOn,    kActViewControlOff, kActOpenControlPanel, kActOpenDataDisplay,
    kActOpenEffectsPanel, kActTrackerOn,      kActTrackerOff,
};

// What a press does (the first phase of a command, a key, a pick, a click). A move of an axis does nothing
// on a command's press: it moves while the command is held (HoldAction), or by the panel's step on a click.
void RunAction(ActionId id);
// One held cycle of a command: a move of an axis steps by the axis's current increment; nothing is written.
void HoldAction(ActionId id);

}  // namespace talvenor
