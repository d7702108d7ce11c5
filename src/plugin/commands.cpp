#include "plugin/commands.h"

#include "plugin/actions.h"
#include "plugin/host_functions.h"
#include "plugin/plugin.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

constexpr int kBefore = 1;
constexpr int kNoCommand = -1;

constexpr XPLMCommandCallback_f kHandlers[] = {nullptr, &ToggleCommandHandler, &PresetCommandHandler,
                                               &AxisCommandHandler};

// The plugin's command of KIND whose handle is COMMAND, or kNoCommand.
int FindOwnCommand(XPLMCommandRef command, HandlerKind kind) {
  if (command == nullptr) return kNoCommand;
  for (const CommandSpec& row : kPluginCommands) {
    if (row.handler == kind && State().commands.own[row.id] == command) return row.id;
  }
  return kNoCommand;
}

// The axis command whose movement COMMAND makes: one of the plugin's or a hooked simulator command.
int FindAxisCommand(XPLMCommandRef command) {
  const int own = FindOwnCommand(command, kAxisHandler);
  if (own != kNoCommand || command == nullptr) return own;
  const auto& sim = State().commands.sim;
  for (int index = 0; index < kSimCommandCount; ++index) {
    if (sim[index] == command) return kSimCommands[index].sameAs;
  }
  return kNoCommand;
}

// Registers or unregisters (the host's function CHANGE) HANDLER on COMMAND, when it exists.
void Change(CommandHandlerFunction change, XPLMCommandRef command, XPLMCommandCallback_f handler) {
  if (command != nullptr) change(command, handler, kBefore, nullptr);
}

void CreateKind(CreateCommandFunction create, HandlerKind kind) {
  for (const CommandSpec& row : kPluginCommands) {
    if (row.handler == kind) State().commands.own[row.id] = create(row.path, row.description);
  }
}

// The hooked simulator commands come with the axis kind, after the plugin's own.
void ChangeKind(CommandHandlerFunction change, HandlerKind kind) {
  for (const CommandSpec& row : kPluginCommands) {
    if (row.handler == kind) Change(change, State().commands.own[row.id], kHandlers[kind]);
  }
  if (kind != kAxisHandler) return;
  for (XPLMCommandRef command : State().commands.sim) Change(change, command, &AxisCommandHandler);
}

// Toggle and preset commands act on the press and end the command in every phase.
int RunOnPress(XPLMCommandRef command, XPLMCommandPhase phase, HandlerKind kind) {
  if (phase != xplm_CommandBegin) return 0;
  const int index = FindOwnCommand(command, kind);
  if (index != kNoCommand) RunAction(kPluginCommands[index].action);
  return 0;
}

}  // namespace

void CreateCommands() {
  const OptionalHostFunctions& host = HostFunctions();
  const CreateCommandFunction create = host.createCommand();
  const FindCommandFunction find = host.findCommand();
  const CommandHandlerFunction registerHandler = host.registerCommandHandler();
  // A host with only part of the command functions is treated as one without any.
  if (create == nullptr || find == nullptr || registerHandler == nullptr) return;

  CreateKind(create, kToggleHandler);
  ChangeKind(registerHandler, kToggleHandler);
  CreateKind(create, kPresetHandler);
  ChangeKind(registerHandler, kPresetHandler);
  CreateKind(create, kAxisHandler);
  auto& sim = State().commands.sim;
  for (int index = 0; index < kSimCommandCount; ++index) {
    const SimCommandSpec& hook = kSimCommands[index];
    sim[index] = find(hook.path);
    if (sim[index] == nullptr && hook.fallback != nullptr) sim[index] = find(hook.fallback);
  }
  ChangeKind(registerHandler, kAxisHandler);
}

void RemoveCommands() {
  const CommandHandlerFunction unregisterHandler = HostFunctions().unregisterCommandHandler();
  if (unregisterHandler == nullptr) return;
  ChangeKind(unregisterHandler, kAxisHandler);
  ChangeKind(unregisterHandler, kToggleHandler);
  ChangeKind(unregisterHandler, kPresetHandler);
}

int MovePresetCursor(int preset, int sign) {
  std::int32_t& cursor = State().commands.commandPresetCursor;
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
  return RunOnPress(command, phase, kToggleHandler);
}

int PresetCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void*) {
  return RunOnPress(command, phase, kPresetHandler);
}

int AxisCommandHandler(XPLMCommandRef command, XPLMCommandPhase phase, void*) {
  if (!View().pluginEnabled) return 1;
  const int axisCommand = FindAxisCommand(command);
  if (phase == xplm_CommandContinue) {
    if (axisCommand != kNoCommand) HoldAction(kPluginCommands[axisCommand].action);
    // Every held cycle writes the view, whichever axis command it is.
    ApplyView(SelectedLimitsFlag());
  } else if (phase == xplm_CommandBegin && axisCommand != kNoCommand) {
    RunAction(kPluginCommands[axisCommand].action);
  }
  return 1;
}

}  // namespace talvenor
