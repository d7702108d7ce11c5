// The 42 commands the plugin publishes under "quorlend/talvenor/" and the ten simulator view commands it
// hooks, with their three handlers. They exist only when the host's command functions were found.
#pragma once

#include <array>
#include <cstdint>

#include "XPLMUtilities.h"
#include "ui/action_table.h"

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
  kCmdPreset1,
  kCmdPreset2,
  kCmdPreset3,
  kCmdPreset4,
  kCmdPreset5,
  kCmdPreset6,
  kCmdPreset7,
  kCmdPreset8,
  kCmdPreviousPreset,
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

// The handler a command gets. The commands are created and registered kind by kind, in this order, so the
// table keeps each kind's rows together.
enum HandlerKind : std::uint8_t { kToggleHandler = 1, kPresetHandler, kAxisHandler };

// A new command is one row; its handler kind says when its action runs (on the press, or per held cycle).
struct CommandSpec {
  PluginCommand id;
  const char* path;
  const char* description;
  ActionId action = kActionCount;  // kActionCount: left out
  HandlerKind handler{};           // 0: left out
};

inline constexpr std::array<CommandSpec, kPluginCommandCount> kPluginCommands = {{
    {kCmdEnableToggle, "quorlend/talvenor/enable_toggle", "Enable Toggle", kActViewControlToggle,
     kToggleHandler},
    {kCmdTrackerToggle, "quorlend/talvenor/trackir_toggle", "TrackIR Toggle", kActTrackerToggle,
     kToggleHandler},
    {kCmdEffectsToggle, "quorlend/talvenor/effects_toggle", "Effects Toggle", kActEffectsToggle,
     kToggleHandler},
    {kCmdControlPanelToggle, "quorlend/talvenor/control_panel_toggle", "Control Panel Toggle",
     kActControlPanelToggle, kToggleHandler},
    {kCmdDataPanelToggle, "quorlend/talvenor/data_panel_toggle", "Data Panel Toggle", kActDataDisplayToggle,
     kToggleHandler},
    {kCmdEffectsPanelToggle, "quorlend/talvenor/effects_panel_toggle", "Effects Panel Toggle",
     kActEffectsPanelToggle, kToggleHandler},
    {kCmdLimitsToggle, "quorlend/talvenor/limits_toggle", "Limits Toggle", kActLimitsToggle, kToggleHandler},
    {kCmdVibrationToggle, "quorlend/talvenor/vibration_effect_toggle", "Vibration Effect Toggle",
     kActVibrationToggle, kToggleHandler},
    {kCmdLoadPresets, "quorlend/talvenor/load_presets", "Load Presets", kActLoadPresets, kToggleHandler},
    {kCmdSavePresets, "quorlend/talvenor/save_presets", "Save Presets", kActSavePresets, kToggleHandler},
    {kCmdClearPresets, "quorlend/talvenor/clear_presets", "Clear Presets", kActClearPresets, kToggleHandler},
    {kCmdLoadEffects, "quorlend/talvenor/load_effects", "Load Effects", kActLoadEffects, kToggleHandler},
    {kCmdSaveEffects, "quorlend/talvenor/save_effects", "Save Effects", kActSaveEffects, kToggleHandler},
    {kCmdLoadLimits, "quorlend/talvenor/load_limits", "Load Limits", kActLoadLimits, kToggleHandler},
    {kCmdSaveLimits, "quorlend/talvenor/save_limits", "Save Limits", kActSaveLimits, kToggleHandler},
    {kCmdClearLimits, "quorlend/talvenor/clear_limits", "Clear Limits", kActClearLimits, kToggleHandler},
    {kCmdPreset1, "quorlend/talvenor/preset1", "Select Preset 1", kActPresetCommand1, kPresetHandler},
    {kCmdPreset2, "quorlend/talvenor/preset2", "Select Preset 2", kActPresetCommand1 + 1, kPresetHandler},
    {kCmdPreset3, "quorlend/talvenor/preset3", "Select Preset 3", kActPresetCommand1 + 2, kPresetHandler},
    {kCmdPreset4, "quorlend/talvenor/preset4", "Select Preset 4", kActPresetCommand1 + 3, kPresetHandler},
    {kCmdPreset5, "quorlend/talvenor/preset5", "Select Preset 5", kActPresetCommand1 + 4, kPresetHandler},
    {kCmdPreset6, "quorlend/talvenor/preset6", "Select Preset 6", kActPresetCommand1 + 5, kPresetHandler},
    {kCmdPreset7, "quorlend/talvenor/preset7", "Select Preset 7", kActPresetCommand1 + 6, kPresetHandler},
    {kCmdPreset8, "quorlend/talvenor/preset8", "Select Preset 8", kActPresetCommand1 + 7, kPresetHandler},
    {kCmdPreviousPreset, "quorlend/talvenor/previous_preset", "Previous Preset", kActPreviousPreset,
     kPresetHandler},
    {kCmdNextPreset, "quorlend/talvenor/next_preset", "Next Preset", kActNextPreset, kPresetHandler},
    {kCmdAxisXLeft, "quorlend/talvenor/axis_x_left", "Axis X Left", kActXLeft, kAxisHandler},
    {kCmdAxisXRight, "quorlend/talvenor/axis_x_right", "Axis X Right", kActXRight, kAxisHandler},
    {kCmdAxisYUp, "quorlend/talvenor/axis_y_up", "Axis Y Up", kActYUp, kAxisHandler},
    {kCmdAxisYDown, "quorlend/talvenor/axis_y_down", "Axis Y Down", kActYDown, kAxisHandler},
    {kCmdAxisZIn, "quorlend/talvenor/axis_z_in", "Axis Z In", kActZIn, kAxisHandler},
    {kCmdAxisZOut, "quorlend/talvenor/axis_z_out", "Axis Z Out", kActZOut, kAxisHandler},
    {kCmdAxisHeadingLeft, "quorlend/talvenor/axis_heading_left", "Axis Heading Left", kActHeadingLeft,
     kAxisHandler},
    {kCmdAxisHeadingRight, "quorlend/talvenor/axis_heading_right", "Axis Heading Right", kActHeadingRight,
     kAxisHandler},
    {kCmdAxisPitchUp, "quorlend/talvenor/axis_pitch_up", "Axis Pitch Up", kActPitchUp, kAxisHandler},
    {kCmdAxisPitchDown, "quorlend/talvenor/axis_pitch_down", "Axis Pitch Down", kActPitchDown, kAxisHandler},
    {kCmdAxisRollLeft, "quorlend/talvenor/axis_roll_left", "Axis Roll Left", kActRollLeft, kAxisHandler},
    {kCmdAxisRollRight, "quorlend/talvenor/axis_roll_right", "Axis Roll Right", kActRollRight, kAxisHandler},
    {kCmdAxisClearRoll, "quorlend/talvenor/axis_clear_roll_offset", "Axis Clear Roll Offset", kActClearRoll,
     kAxisHandler},
    {kCmdAxisIncrementIncrease, "quorlend/talvenor/axis_increment_increase", "Axis Increment Increase",
     kActIncrementsUp, kAxisHandler},
    {kCmdAxisIncrementDecrease, "quorlend/talvenor/axis_increment_decrease", "Axis Increment Decrease",
     kActIncrementsDown, kAxisHandler},
    {kCmdAxisIncrementReset, "quorlend/talvenor/axis_increment_reset", "Axis Increment Reset",
     kActIncrementsReset, kAxisHandler},
}};
static_assert(kPluginCommandCount == 42 && RowsInPlace(kPluginCommands));
// Every row is filled in, and a preset step or an axis move gets the handler that runs it.
static_assert(EveryRow(kPluginCommands, [](const CommandSpec& row) {
  if (!Named(row.path) || !Named(row.description) || row.action >= kActionCount || row.handler == 0)
    return false;
  const Does does = kActions[row.action].does;
  return (row.handler == kPresetHandler) == (does == Does::kPresetCommand) &&
         (does != Does::kMoveAxis || row.handler == kAxisHandler);
}));

constexpr int FirstCommandOf(HandlerKind kind) {
  int first = 0;
  while (first < kPluginCommandCount && kPluginCommands[first].handler != kind) ++first;
  return first;
}
inline constexpr int kFirstPresetCommand = FirstCommandOf(kPresetHandler);
inline constexpr int kFirstAxisCommand = FirstCommandOf(kAxisHandler);
// The kinds follow one another in the order they are registered.
static_assert(EveryRow(kPluginCommands, [](const CommandSpec& row) {
  return row.id == 0 ? row.handler == kToggleHandler : row.handler >= kPluginCommands[row.id - 1].handler;
}));

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
static_assert(EveryRow(kSimCommands, [](const SimCommandSpec& row) {
  return Named(row.path) && kPluginCommands[row.sameAs].handler == kAxisHandler;
}));

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
