#include "plugin/commands.h"

#include "config/aircraft_files.h"
#include "plugin/host_functions.h"
#include "plugin/mode_switches.h"
#include "plugin/plugin.h"
#include "ui/control_panel.h"
#include "ui/panels.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

constexpr int kBefore = 1;
constexpr int kNoCommand = -1;

CommandRegistrations& Registrations() {
  return State().commands;
}

// The first of the plugin's commands FIRST..LAST-1 whose handle is COMMAND, or kNoCommand.
int FindOwnCommand(XPLMCommandRef command, int first, int last) {
  if (command == nullptr) return kNoCommand;
  const auto& own = Registrations().own;
  for (int index = first; index < last; ++index) {
    if (own[index] == command) return index;
  }
  return kNoCommand;
}

// The axis command whose movement COMMAND makes: one of the plugin's or a hooked simulator command.
int FindAxisCommand(XPLMCommandRef command) {
  const int own = FindOwnCommand(command, kFirstAxisCommand, kPluginCommandCount);
  if (own != kNoCommand || command == nullptr) return own;
  const auto& sim = Registrations().sim;
  for (int index = 0; index < kSimCommandCount; ++index) {
    if (sim[index] == command) return kSimCommands[index].sameAs;
  }
  return kNoCommand;
}

void Register(CommandHandlerFunction registerHandler, XPLMCommandRef command, XPLMCommandCallback_f handler) {
  if (command != nullptr) registerHandler(command, handler, kBefore, nullptr);
}

void Unregister(CommandHandlerFunction unregisterHandler, XPLMCommandRef command,
                XPLMCommandCallback_f handler) {
  if (command != nullptr) unregisterHandler(command, handler, kBefore, nullptr);
}

void CreateRange(CreateCommandFunction create, int first, int last) {
  auto& own = Registrations().own;
  for (int index = first; index < last; ++index) {
    own[index] = create(kPluginCommands[index].path, kPluginCommands[index].description);
  }
}

void RegisterRange(CommandHandlerFunction registerHandler, int first, int last,
                   XPLMCommandCallback_f handler) {
  for (int index = first; index < last; ++index)
    Register(registerHandler, Registrations().own[index], handler);
}

void UnregisterRange(CommandHandlerFunction unregisterHandler, int first, int last,
                     XPLMCommandCallback_f handler) {
  for (int index = first; index < last; ++index) {
    Unregister(unregisterHandler, Registrations().own[index], handler);
  }
}

void RunToggleAction(int command) {
  switch (command) {
    case kCmdEnableToggle:
      ToggleViewControl();
      break;
    case kCmdTrackerToggle:
      ToggleTracker();
      break;
    case kCmdEffectsToggle:
      ToggleForceEffects();
      break;
    case kCmdControlPanelToggle:
      ToggleControlPanel();
      break;
    case kCmdDataPanelToggle:
      // The data display's toggle comes with the data display.
      break;
    case kCmdEffectsPanelToggle:
      // The effects panel's toggle comes with the effects panel.
      break;
    case kCmdLimitsToggle:
      TogglePresetLimits();
      break;
    case kCmdVibrationToggle:
      // The engine vibration's toggle comes with the effects panel.
      break;
    case kCmdLoadPresets:
      LoadPresets();
      break;
    case kCmdSavePresets:
      WritePresetFile(kPresetFileName);
      break;
    case kCmdClearPresets:
      ClearPresets();
      break;
    case kCmdLoadEffects:
      LoadEffects();
      break;
    case kCmdSaveEffects:
      // The effects panel's fields are taken into the record here once that panel exists.
      WriteEffectsFile(kEffectsFileName);
      break;
    case kCmdLoadLimits:
      LoadLimits();
      break;
    case kCmdSaveLimits:
      WriteLimitsFile(kLimitsFileName);
      break;
    case kCmdClearLimits:
      ClearAllLimits();
      break;
    default:
      break;
  }
}

// One held cycle of an axis command; every command without a movement leaves the pose alone.
void MoveWorkingPose(int command) {
  switch (command) {
    case kCmdAxisXLeft:
      StepAxis(kAxisX, -1);
      break;
    case kCmdAxisXRight:
      StepAxis(kAxisX, 1);
      break;
    case kCmdAxisYUp:
      StepAxis(kAxisY, 1);
      break;
    case kCmdAxisYDown:
      StepAxis(kAxisY, -1);
      break;
    case kCmdAxisZIn:
      StepAxis(kAxisZ, -1);
      break;
    case kCmdAxisZOut:
      StepAxis(kAxisZ, 1);
      break;
    case kCmdAxisHeadingLeft:
      StepAxis(kAxisHeading, -1);
      break;
    case kCmdAxisHeadingRight:
      StepAxis(kAxisHeading, 1);
      break;
    case kCmdAxisPitchUp:
      StepAxis(kAxisPitch, 1);
      break;
    case kCmdAxisPitchDown:
      StepAxis(kAxisPitch, -1);
      break;
    case kCmdAxisRollLeft:
      StepAxis(kAxisRoll, -1);
      break;
    case kCmdAxisRollRight:
      StepAxis(kAxisRoll, 1);
      break;
    default:
      break;
  }
}

// The press of an axis command: only the roll clear and the increment commands act on it.
void PressAxisCommand(int command) {
  switch (command) {
    case kCmdAxisClearRoll:
      ClearRoll();
      break;
    case kCmdAxisIncrementIncrease:
      ChangeIncrements(1);
      break;
    case kCmdAxisIncrementDecrease:
      ChangeIncrements(-1);
      break;
    case kCmdAxisIncrementReset:
      ResetIncrements();
      break;
    default:
      break;
  }
}

}  // namespace

void CreateCommands() {
  const OptionalHostFunctions& host = HostFunctions();
  const CreateCommandFunction create = host.createCommand();
  const FindCommandFunction find = host.findCommand();
  const CommandHandlerFunction registerHandler = host.registerCommandHandler();
  // A host with only part of the command functions is treated as one without any.
  if (create == nullptr || find == nullptr || registerHandler == nullptr) return;

  CreateRange(create, kFirstToggleCommand, kFirstPresetCommand);
  RegisterRange(registerHandler, kFirstToggleCommand, kFirstPresetCommand, &ToggleCommandHandler);

  CreateRange(create, kFirstPresetCommand, kFirstAxisCommand);
  RegisterRange(registerHandler, kFirstPresetCommand, kFirstAxisCommand, &PresetCommandHandler);

  CreateRange(create, kFirstAxisCommand, kPluginCommandCount);
  auto& sim = Registrations().sim;
  for (int index = 0; index < kSimCommandCount; ++index) {
    const SimCommandSpec& spec = kSimCommands[index];
    sim[index] = find(spec.path);
    if (sim[index] == nullptr && spec.fallback != nullptr) sim[index] = find(spec.fallback);
  }
  RegisterRange(registerHandler, kFirstAxisCommand, kPluginCommandCount, &AxisCommandHandler);
  for (XPLMCommandRef command : sim) Register(registerHandler, command, &AxisCommandHandler);
}

void RemoveCommands() {
  const CommandHandlerFunction unregisterHandler = HostFunctions().unregisterCommandHandler();
  if (unregisterHandler == nullptr) return;
  UnregisterRange(unregisterHandler, kFirstAxisCommand, kPluginCommandCount, &AxisCommandHandler);
  for (XPLMCommandRef command : Registrations().sim)
    Unregister(unregisterHandler, command, &AxisCommandHandler);
  UnregisterRange(unregisterHandler, kFirstToggleCommand, kFirstPresetCommand, &ToggleCommandHandler);
  UnregisterRange(unregisterHandler, kFirstPresetCommand, kFirstAxisCommand, &PresetCommandHandler);
}

int ToggleCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void*) {
  if (phase != xplm_CommandBegin) return 0;
  RunToggleAction(FindOwnCommand(command, kFirstToggleCommand, kFirstPresetCommand));
  return 0;
}

int PresetCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void*) {
  if (phase != xplm_CommandBegin) return 0;
  std::int32_t& cursor = Registrations().commandPresetCursor;
  const int index = FindOwnCommand(command, kFirstPresetCommand, kFirstAxisCommand);
  if (index == kCmdPreviousPreset) {
    cursor = cursor - 1 < 0 ? 0 : cursor - 1;
  } else if (index == kCmdNextPreset) {
    cursor = cursor + 1 > kPresetSlots - 1 ? kPresetSlots - 1 : cursor + 1;
  } else if (index != kNoCommand) {
    cursor = index - kCmdPreset1;
  } else {
    return 0;  // not one of the preset commands
  }
  const int target = cursor;
  // An empty preset: the cursor has moved, nothing else.
  if (View().presets[target].stored == 0) return 0;
  SelectPreset(target);
  ShowPresetNumber(target + 1);
  return 0;
}

int AxisCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void*) {
  if (!View().pluginEnabled) return 1;
  const int axisCommand = FindAxisCommand(command);
  if (phase == xplm_CommandContinue) {
    MoveWorkingPose(axisCommand);
    ApplyView(SelectedLimitsFlag());
  } else if (phase == xplm_CommandBegin) {
    PressAxisCommand(axisCommand);
  }
  return 1;
}

}  // namespace talvenor
