// The 42 commands the plugin publishes under "quorlend/talvenor/" and the ten simulator view commands it
// hooks, with their three handlers. They exist only when the host's command functions were found.
#pragma once

#include <array>
#include <cstdint>

#include "XPLMUtilities.h"

namespace talvenor {

// The plugin's commands in creation order.
enum PluginCommand {
  kCmdEnableToggle = 0,
  kCmdTrackerToggle,
  kCmdEffectsToggle,
  kCmdControlPanelToggle,
  kCmdDataPanelToggle,
  kCmdEffectsPanelToggle,
  kCmdLimitsToggle,
  kCmdVibrationToggle,
  kCmdLoadPresets,
  kCmdSavePresets,
  kCmdClearPresets,
  kCmdLoadEffects,
  kCmdSaveEffects,
  kCmdLoadLimits,
  kCmdSaveLimits,
  kCmdClearLimits,
  kCmdPreset1,  // to kCmdPreset1 + 7
  kCmdPreviousPreset = kCmdPreset1 + 8,
  kCmdNextPreset,
  kCmdAxisXLeft,
  kCmdAxisXRight,
  kCmdAxisYUp,
  kCmdAxisYDown,
  kCmdAxisZIn,
  kCmdAxisZOut,
  kCmdAxisHeadingLeft,
  kCmdAxisHeadingRight,
  kCmdAxisPitchUp,
  kCmdAxisPitchDown,
  kCmdAxisRollLeft,
  kCmdAxisRollRight,
  kCmdAxisClearRoll,
  kCmdAxisIncrementIncrease,
  kCmdAxisIncrementDecrease,
  kCmdAxisIncrementReset,
  kPluginCommandCount
};

// The first command of each handler's range; each range ends where the next begins.
inline constexpr int kFirstToggleCommand = kCmdEnableToggle;
inline constexpr int kFirstPresetCommand = kCmdPreset1;
inline constexpr int kFirstAxisCommand = kCmdAxisXLeft;

struct CommandSpec {
  const char* path;
  const char* description;
};

inline constexpr std::array<CommandSpec, kPluginCommandCount> kPluginCommands = {{
    {"quorlend/talvenor/enable_toggle", "Enable Toggle"},
    {"quorlend/talvenor/trackir_toggle", "TrackIR Toggle"},
    {"quorlend/talvenor/effects_toggle", "Effects Toggle"},
    {"quorlend/talvenor/control_panel_toggle", "Control Panel Toggle"},
    {"quorlend/talvenor/data_panel_toggle", "Data Panel Toggle"},
    {"quorlend/talvenor/effects_panel_toggle", "Effects Panel Toggle"},
    {"quorlend/talvenor/limits_toggle", "Limits Toggle"},
    {"quorlend/talvenor/vibration_effect_toggle", "Vibration Effect Toggle"},
    {"quorlend/talvenor/load_presets", "Load Presets"},
    {"quorlend/talvenor/save_presets", "Save Presets"},
    {"quorlend/talvenor/clear_presets", "Clear Presets"},
    {"quorlend/talvenor/load_effects", "Load Effects"},
    {"quorlend/talvenor/save_effects", "Save Effects"},
    {"quorlend/talvenor/load_limits", "Load Limits"},
    {"quorlend/talvenor/save_limits", "Save Limits"},
    {"quorlend/talvenor/clear_limits", "Clear Limits"},
    {"quorlend/talvenor/preset1", "Select Preset 1"},
    {"quorlend/talvenor/preset2", "Select Preset 2"},
    {"quorlend/talvenor/preset3", "Select Preset 3"},
    {"quorlend/talvenor/preset4", "Select Preset 4"},
    {"quorlend/talvenor/preset5", "Select Preset 5"},
    {"quorlend/talvenor/preset6", "Select Preset 6"},
    {"quorlend/talvenor/preset7", "Select Preset 7"},
    {"quorlend/talvenor/preset8", "Select Preset 8"},
    {"quorlend/talvenor/previous_preset", "Previous Preset"},
    {"quorlend/talvenor/next_preset", "Next Preset"},
    {"quorlend/talvenor/axis_x_left", "Axis X Left"},
    {"quorlend/talvenor/axis_x_right", "Axis X Right"},
    {"quorlend/talvenor/axis_y_up", "Axis Y Up"},
    {"quorlend/talvenor/axis_y_down", "Axis Y Down"},
    {"quorlend/talvenor/axis_z_in", "Axis Z In"},
    {"quorlend/talvenor/axis_z_out", "Axis Z Out"},
    {"quorlend/talvenor/axis_heading_left", "Axis Heading Left"},
    {"quorlend/talvenor/axis_heading_right", "Axis Heading Right"},
    {"quorlend/talvenor/axis_pitch_up", "Axis Pitch Up"},
    {"quorlend/talvenor/axis_pitch_down", "Axis Pitch Down"},
    {"quorlend/talvenor/axis_roll_left", "Axis Roll Left"},
    {"quorlend/talvenor/axis_roll_right", "Axis Roll Right"},
    {"quorlend/talvenor/axis_clear_roll_offset", "Axis Clear Roll Offset"},
    {"quorlend/talvenor/axis_increment_increase", "Axis Increment Increase"},
    {"quorlend/talvenor/axis_increment_decrease", "Axis Increment Decrease"},
    {"quorlend/talvenor/axis_increment_reset", "Axis Increment Reset"},
}};

// The simulator's view commands that get the axis handler, and the plugin command whose movement each shares.
// X-Plane 11 and 12 have no sim/view/pan_* commands; there the rotation command of the same direction is
// hooked in its place, so that the pilot's usual keys still turn the head.
struct SimCommandSpec {
  const char* path;
  PluginCommand sameAs;
  const char* fallback = nullptr;  // hooked instead when the host has no command PATH
};

inline constexpr int kSimCommandCount = 10;
inline constexpr std::array<SimCommandSpec, kSimCommandCount> kSimCommands = {{
    {"sim/general/up", kCmdAxisYUp},
    {"sim/general/down", kCmdAxisYDown},
    {"sim/general/left", kCmdAxisXLeft},
    {"sim/general/right", kCmdAxisXRight},
    {"sim/general/zoom_in", kCmdAxisZIn},
    {"sim/general/zoom_out", kCmdAxisZOut},
    {"sim/view/pan_up", kCmdAxisPitchUp, "sim/general/rot_up"},
    {"sim/view/pan_down", kCmdAxisPitchDown, "sim/general/rot_down"},
    {"sim/view/pan_left", kCmdAxisHeadingLeft, "sim/general/rot_left"},
    {"sim/view/pan_right", kCmdAxisHeadingRight, "sim/general/rot_right"},
}};

struct CommandRegistrations {
  std::array<XPLMCommandRef, kPluginCommandCount> own{};  // null: not created
  std::array<XPLMCommandRef, kSimCommandCount> sim{};     // null: the host has no such command nor fallback
  // The preset that "Previous Preset" and "Next Preset" step from (0..7); only the preset commands move it.
  std::int32_t commandPresetCursor = 0;
};

// Creates the commands, finds the simulator's and registers the handlers, all with "before" 1 and a null
// reference value. Nothing at all when the host lacks XPLMCreateCommand, XPLMFindCommand or
// XPLMRegisterCommandHandler; a simulator command the host does not have gets no handler.
void CreateCommands();

// Undoes every registration CreateCommands made, when the host offers XPLMUnregisterCommandHandler.
void RemoveCommands();

// The preset command cursor := PRESET (SIGN 0), or one step back (SIGN -1) or on (+1) within 0..7; returns
// it.
int MovePresetCursor(int preset, int sign);

// Toggles, file operations and the clearing of presets and limits: act on the press, and end the command.
extern "C" int ToggleCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void* refcon);
// The eight presets and the previous/next steps: act on the press, and end the command.
extern "C" int PresetCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void* refcon);
// Nudges and increment steps, while view control is on; always lets the simulator act too.
extern "C" int AxisCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void* refcon);

}  // namespace talvenor
