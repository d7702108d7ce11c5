#include "commands.h"

#include <algorithm>
#include <array>
#include <utility>

#include "c_guard.h"

namespace sim {

struct Commands::Handler {
  XPLMCommandCallback_f callback = nullptr;
  bool before = true;
  void* refcon = nullptr;
  PluginId owner = kPluginUnderTest;
  bool removed = false;  // unregistered while a phase that already copied it runs
};

struct Commands::Command {
  std::string name;
  std::string description;
  PluginId creator = kSimulatorId;
  bool builtin = false;  // the simulator has its own action for it
  bool removed = false;  // its creator was unloaded
  bool held = false;
  // Shared so that a phase can keep its copy of the list while handlers unregister themselves.
  std::vector<std::shared_ptr<Handler>> handlers;
  std::array<int, 3> simActions{};  // per phase
};

namespace {

struct Builtin {
  const char* name;
  const char* description;
};

constexpr std::array<Builtin, 10> kBuiltins{{
    {"sim/general/up", "Move view up."},
    {"sim/general/down", "Move view down."},
    {"sim/general/left", "Move view left."},
    {"sim/general/right", "Move view right."},
    {"sim/general/zoom_in", "Zoom in."},
    {"sim/general/zoom_out", "Zoom out."},
    {"sim/view/pan_up", "Pan view up."},
    {"sim/view/pan_down", "Pan view down."},
    {"sim/view/pan_left", "Pan view left."},
    {"sim/view/pan_right", "Pan view right."},
}};

bool ValidPhase(XPLMCommandPhase phase) {
  return phase >= xplm_CommandBegin && phase <= xplm_CommandEnd;
}

}  // namespace

Commands::Commands(Host& host) : host_(host) {
  for (const Builtin& builtin : kBuiltins) add(builtin.name, builtin.description, kSimulatorId, true);
}

Commands::~Commands() = default;

Commands::Command& Commands::add(std::string name, std::string description, PluginId creator, bool builtin) {
  auto command = std::make_unique<Command>();
  command->name = std::move(name);
  command->description = std::move(description);
  command->creator = creator;
  command->builtin = builtin;
  commands_.push_back(std::move(command));
  return *commands_.back();
}

Commands::Command* Commands::lookup(std::string_view name) const {
  for (const auto& command : commands_) {
    if (!command->removed && command->name == name) return command.get();
  }
  return nullptr;
}

Commands::Command* Commands::fromRef(XPLMCommandRef ref) const {
  if (ref == nullptr) return nullptr;
  for (const auto& command : commands_) {
    if (command.get() == ref) return command->removed ? nullptr : command.get();
  }
  return nullptr;
}

XPLMCommandRef Commands::create(const char* name, const char* description) {
  if (name == nullptr || *name == '\0') return nullptr;
  if (Command* existing = lookup(name)) return existing;
  return &add(name, description != nullptr ? description : "", host_.caller(), false);
}

XPLMCommandRef Commands::find(const char* name) const {
  return name != nullptr ? lookup(name) : nullptr;
}

void Commands::registerHandler(XPLMCommandRef ref, XPLMCommandCallback_f callback, int before, void* refcon) {
  Command* command = fromRef(ref);
  if (command == nullptr || callback == nullptr) return;
  auto handler = std::make_shared<Handler>();
  handler->callback = callback;
  handler->before = before != 0;
  handler->refcon = refcon;
  handler->owner = host_.caller();
  command->handlers.push_back(std::move(handler));
  registrationLog_.push_back({true, command->name, callback, before, refcon, host_.caller()});
}

void Commands::unregisterHandler(XPLMCommandRef ref, XPLMCommandCallback_f callback, int before,
                                 void* refcon) {
  Command* command = fromRef(ref);
  if (command == nullptr) return;
  auto& handlers = command->handlers;
  const auto match = std::find_if(handlers.begin(), handlers.end(), [&](const auto& handler) {
    return handler->callback == callback && handler->before == (before != 0) && handler->refcon == refcon;
  });
  if (match == handlers.end()) return;
  (*match)->removed = true;
  handlers.erase(match);
  registrationLog_.push_back({false, command->name, callback, before, refcon, host_.caller()});
}

void Commands::runPhase(Command& command, XPLMCommandPhase phase) {
  // A copy, so that handlers may change the registrations while the phase runs.
  const std::vector<std::shared_ptr<Handler>> handlers = command.handlers;
  auto runHandlers = [&](bool before) {
    for (const auto& handler : handlers) {
      if (handler->removed || handler->before != before) continue;
      int goOn = 1;
      {
        Host::PluginCall call(host_, handler->owner);
        goOn = handler->callback(&command, phase, handler->refcon);
      }
      if (goOn == 0) return false;
    }
    return true;
  };
  if (!runHandlers(true)) return;
  if (command.builtin && ValidPhase(phase)) ++command.simActions[static_cast<size_t>(phase)];
  runHandlers(false);
}

void Commands::press(Command& command) {
  if (command.held) return;
  // Held before the begin phase runs, so that a handler may end the command from within it.
  command.held = true;
  runPhase(command, xplm_CommandBegin);
}

void Commands::release(Command& command) {
  if (!command.held) return;
  command.held = false;
  runPhase(command, xplm_CommandEnd);
}

void Commands::begin(XPLMCommandRef ref) {
  if (Command* command = fromRef(ref)) press(*command);
}

void Commands::end(XPLMCommandRef ref) {
  if (Command* command = fromRef(ref)) release(*command);
}

void Commands::once(XPLMCommandRef ref) {
  Command* command = fromRef(ref);
  if (command == nullptr || command->held) return;
  press(*command);
  release(*command);
}

bool Commands::exists(std::string_view name) const {
  return lookup(name) != nullptr;
}

bool Commands::begin(std::string_view name) {
  Command* command = lookup(name);
  if (command == nullptr) return false;
  begin(static_cast<XPLMCommandRef>(command));
  return true;
}

bool Commands::end(std::string_view name) {
  Command* command = lookup(name);
  if (command == nullptr) return false;
  end(static_cast<XPLMCommandRef>(command));
  return true;
}

bool Commands::once(std::string_view name) {
  Command* command = lookup(name);
  if (command == nullptr) return false;
  once(static_cast<XPLMCommandRef>(command));
  return true;
}

bool Commands::isHeld(std::string_view name) const {
  const Command* command = lookup(name);
  return command != nullptr && command->held;
}

int Commands::handlerCount(std::string_view name) const {
  const Command* command = lookup(name);
  return command != nullptr ? static_cast<int>(command->handlers.size()) : 0;
}

int Commands::simActionCount(std::string_view name) const {
  const Command* command = lookup(name);
  if (command == nullptr) return 0;
  return command->simActions[0] + command->simActions[1] + command->simActions[2];
}

int Commands::simActionCount(std::string_view name, XPLMCommandPhase phase) const {
  const Command* command = lookup(name);
  if (command == nullptr || !ValidPhase(phase)) return 0;
  return command->simActions[static_cast<size_t>(phase)];
}

std::string Commands::description(std::string_view name) const {
  const Command* command = lookup(name);
  return command != nullptr ? command->description : std::string();
}

void Commands::continueHeld() {
  // The commands held as the cycle starts; one begun by a handler during this pass waits for the next cycle.
  std::vector<Command*> held;
  for (const auto& command : commands_) {
    if (command->held && !command->removed) held.push_back(command.get());
  }
  for (Command* command : held) {
    if (command->held && !command->removed) runPhase(*command, xplm_CommandContinue);
  }
}

std::vector<std::string> Commands::registrations(PluginId owner) const {
  std::vector<std::string> texts;
  for (const auto& command : commands_) {
    if (command->removed) continue;
    for (const auto& handler : command->handlers) {
      if (handler->owner != owner) continue;
      texts.push_back("command handler on " + command->name + (handler->before ? " (before)" : " (after)"));
    }
  }
  return texts;
}

void Commands::removePlugin(PluginId owner) {
  for (const auto& command : commands_) {
    const bool goes = !command->builtin && command->creator == owner;
    if (goes) {
      command->removed = true;
      command->held = false;
    }
    std::erase_if(command->handlers, [&](const auto& handler) {
      if (goes || handler->owner == owner) handler->removed = true;
      return handler->removed;
    });
  }
}

}  // namespace sim

// The SDK's C functions (XPLMUtilities.h).

using sim::Host;
using sim::WithHost;

XPLMCommandRef XPLMCreateCommand(const char* inName, const char* inDescription) {
  return WithHost<XPLMCommandRef>(nullptr,
                                  [&](Host& host) { return host.commands().create(inName, inDescription); });
}

XPLMCommandRef XPLMFindCommand(const char* inName) {
  return WithHost<XPLMCommandRef>(nullptr, [&](Host& host) { return host.commands().find(inName); });
}

void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore,
                                void* inRefcon) {
  WithHost([&](Host& host) { host.commands().registerHandler(inComand, inHandler, inBefore, inRefcon); });
}

void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore,
                                  void* inRefcon) {
  WithHost([&](Host& host) { host.commands().unregisterHandler(inComand, inHandler, inBefore, inRefcon); });
}

void XPLMCommandBegin(XPLMCommandRef inCommand) {
  WithHost([&](Host& host) { host.commands().begin(inCommand); });
}

void XPLMCommandEnd(XPLMCommandRef inCommand) {
  WithHost([&](Host& host) { host.commands().end(inCommand); });
}

void XPLMCommandOnce(XPLMCommandRef inCommand) {
  WithHost([&](Host& host) { host.commands().once(inCommand); });
}
