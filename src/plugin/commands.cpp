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
  ViewState& view = View();
  HeadPose& pose = view.workingPose;
  const auto& inc = view.currentIncrements;
  switch (command) {
    case kCmdAxisXLeft:
      pose.x = pose.x - inc[kIncX];
      break;
    case kCmdAxisXRight:
      pose.x = pose.x + inc[kIncX];
      break;
    case kCmdAxisYUp:
      pose.y = pose.y + inc[kIncY];
      break;
    case kCmdAxisYDown:
      pose.y = pose.y - inc[kIncY];
      break;
    case kCmdAxisZIn:
      pose.z = pose.z - inc[kIncZ];
      break;
    case kCmdAxisZOut:
      pose.z = pose.z + inc[kIncZ];
      break;
    case kCmdAxisHeadingLeft:
      pose.heading = pose.heading - inc[kIncHeading];
      break;
    case kCmdAxisHeadingRight:
      pose.heading = pose.heading + inc[kIncHeading];
      break;
    case kCmdAxisPitchUp:
      pose.pitch = pose.pitch + inc[kIncPitch];
      break;
    case kCmdAxisPitchDown:
      pose.pitch = pose.pitch - inc[kIncPitch];
      break;
    case kCmdAxisRollLeft:
      pose.roll = pose.roll - inc[kIncRoll];
      break;
    case kCmdAxisRollRight:
      pose.roll = pose.roll + inc[kIncRoll];
      break;
    default:
      break;
  }
}

std::int32_t SelectedLimitsFlag() {
  const ViewState& view = View();
  return view.limits[view.selectedPreset].enabled;
}

void ChangeIncrements(int command) {
  ViewState& view = View();
  const float change = Settings().axisIncrementChange;
  for (int axis = 0; axis < kIncrementAxes; ++axis) {
    float& current = view.currentIncrements[axis];
    const float step = change * view.configuredIncrements[axis];
    if (command == kCmdAxisIncrementIncrease) {
      current = current + step;
    } else {
      // The step never falls below one change.
      current = current - step;
      if (step > current) current = step;
    }
  }
}

// The press of an axis command: only the roll clear and the increment commands act on it.
void PressAxisCommand(int command) {
  ViewState& view = View();
  switch (command) {
    case kCmdAxisClearRoll:
      // Applied at once, as the panel's roll clear is: otherwise a tap would be undone by the next frame,
      // which reloads the working pose from the preset.
      view.workingPose.roll = 0.0f;
      ApplyView(SelectedLimitsFlag());
      break;
    case kCmdAxisIncrementIncrease:
    case kCmdAxisIncrementDecrease:
      ChangeIncrements(command);
      break;
    case kCmdAxisIncrementReset:
      view.currentIncrements = view.configuredIncrements;
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
