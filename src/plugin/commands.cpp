#include "plugin/commands.h"

#include "plugin/actions.h"
#include "plugin/host_functions.h"
#include "plugin/plugin.h"
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
    const SimCommandSpec& hook = kSimCommands[index];
    sim[index] = find(hook.path);
    if (sim[index] == nullptr && hook.fallback != nullptr) sim[index] = find(hook.fallback);
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

int MovePresetCursor(int preset, int sign) {
  std::int32_t& cursor = Registrations().commandPresetCursor;
  if (sign < 0) {
    cursor = cursor - 1 < 0 ? 0 : cursor - 1;
  } else if (sign > 0) {
    cursor = cursor + 1 > kPresetSlots - 1 ? kPresetSlots - 1 : cursor + 1;
  } else {
    cursor = preset;
  }
  return cursor;
}

int ToggleCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void*) {
  if (phase != xplm_CommandBegin) return 0;
  const int index = FindOwnCommand(command, kFirstToggleCommand, kFirstPresetCommand);
  if (index != kNoCommand) RunAction(kCommandActions[index]);
  return 0;
}

int PresetCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void*) {
  if (phase != xplm_CommandBegin) return 0;
  const int index = FindOwnCommand(command, kFirstPresetCommand, kFirstAxisCommand);
  if (index != kNoCommand) RunAction(kCommandActions[index]);
  return 0;
}

int AxisCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void*) {
  if (!View().pluginEnabled) return 1;
  const int axisCommand = FindAxisCommand(command);
  if (phase == xplm_CommandContinue) {
    if (axisCommand != kNoCommand) HoldAction(kCommandActions[axisCommand]);
    // Every held cycle writes the view, whichever axis command it is.
    ApplyView(SelectedLimitsFlag());
  } else if (phase == xplm_CommandBegin && axisCommand != kNoCommand) {
    RunAction(kCommandActions[axisCommand]);
  }
  return 1;
}

}  // namespace talvenor
