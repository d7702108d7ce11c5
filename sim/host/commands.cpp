#include "commands.h"

#include <algorithm>
#include <array>
#include <utility>

#include "c_guard.h"
#include "datarefs.h"

namespace sim {

struct Commands::Handler {
  XPLMCommandCallback_f callback = nullptr;
  bool before = true;
  void* refcon = nullptr;
  PluginId owner = kPluginUnderTest;
  bool removed = false;  // unregistered while a phase that already copied it runs
  bool operator==(const Handler&) const = default;
};

struct Commands::Command {
  std::string name;
  std::string description;
  PluginId creator = kSimulatorId;
  bool builtin = false;    // the simulator has its own action for it
  bool olderOnly = false;  // exists only when the host models the older simulator
  int viewType = 0;        // the view type its own action selects; 0: none
  int holds = 0;           // sources holding it down (a key and a joystick button may both)
  // Shared so that a phase can keep its copy of the list while handlers unregister themselves.
  std::vector<std::shared_ptr<Handler>> handlers;
  std::array<int, 3> simActions{};  // per phase
};

namespace {

struct Builtin {
  const char* name;
  const char* description;
  int viewType = 0;
  bool olderOnly = false;
};

// X-Plane 12's view commands (Commands.txt), and the four pan commands only an older simulator has.
constexpr std::array<Builtin, 18> kBuiltins{{
    {"sim/general/up", "Move view up."},
    {"sim/general/down", "Move view down."},
    {"sim/general/left", "Move view left."},
    {"sim/general/right", "Move view right."},
    {"sim/general/zoom_in", "Zoom in."},
    {"sim/general/zoom_out", "Zoom out."},
    {"sim/general/rot_up", "Rotate view: tilt up."},
    {"sim/general/rot_down", "Rotate view: tilt down."},
    {"sim/general/rot_left", "Rotate view: pan left."},
    {"sim/general/rot_right", "Rotate view: pan right."},
    {"sim/view/3d_cockpit_cmnd_look", "3-D cockpit.", 1026},
    {"sim/view/forward_with_2d_panel", "Forward with 2-D panel.", 1000},
    {"sim/view/forward_with_hud", "Forward with HUD.", 1023},
    {"sim/view/chase", "Chase.", 1017},
    {"sim/view/pan_up", "Pan view up.", 0, true},
    {"sim/view/pan_down", "Pan view down.", 0, true},
    {"sim/view/pan_left", "Pan view left.", 0, true},
    {"sim/view/pan_right", "Pan view right.", 0, true},
}};

bool ValidPhase(XPLMCommandPhase phase) {
  return phase >= xplm_CommandBegin && phase <= xplm_CommandEnd;
}

}  // namespace

Commands::Commands(Host& host) : host_(host) {
  for (const Builtin& builtin : kBuiltins) {
    Command& command = add(builtin.name, builtin.description, kSimulatorId, true);
    command.viewType = builtin.viewType;
    command.olderOnly = builtin.olderOnly;
  }
}

std::vector<std::string> Commands::builtinNames() {
  std::vector<std::string> names;
  for (const Builtin& builtin : kBuiltins) names.emplace_back(builtin.name);
  return names;
}

bool Commands::present(const Command& command) const {
  return !command.olderOnly || host_.simulator() == Simulator::Older;
}

Commands::~Commands() = default;

// Of each command what a session changes: its holds, its handlers and the simulator's own actions.
struct Commands::Saved {
  struct State {
    int holds = 0;
    std::vector<Handler> handlers;
    std::array<int, 3> simActions{};
  };
  std::vector<State> commands;
  long holds = 0;
  std::size_t logSize = 0;
};

std::shared_ptr<const Commands::Saved> Commands::save() const {
  auto saved = std::make_shared<Saved>();
  for (const auto& command : commands_) {
    Saved::State state{command->holds, {}, command->simActions};
    for (const auto& handler : command->handlers) state.handlers.push_back(*handler);
    saved->commands.push_back(std::move(state));
  }
  saved->holds = holds_;
  saved->logSize = registrationLog_.size();
  handlersOf_ = saved.get();
  return saved;
}

void Commands::restore(const Saved& saved) {
  // Commands created since go with their handles: nothing the checkpoint's state holds refers to them.
  commands_.resize(saved.commands.size());
  for (std::size_t i = 0; i < commands_.size(); ++i) {
    Command& command = *commands_[i];
    const Saved::State& state = saved.commands[i];
    command.holds = state.holds;
    command.simActions = state.simActions;
    if (handlersOf_ == &saved ||
        std::equal(command.handlers.begin(), command.handlers.end(), state.handlers.begin(),
                   state.handlers.end(), [](const auto& live, const Handler& kept) { return *live == kept; }))
      continue;
    command.handlers.clear();
    for (const Handler& handler : state.handlers)
      command.handlers.push_back(std::make_shared<Handler>(handler));
  }
  handlersOf_ = &saved;
  holds_ = saved.holds;
  if (registrationLog_.size() > saved.logSize) registrationLog_.resize(saved.logSize);
}

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
    if (present(*command) && command->name == name) return command.get();
  }
  return nullptr;
}

Commands::Command* Commands::fromRef(XPLMCommandRef ref) const {
  if (ref == nullptr) return nullptr;
  for (const auto& command : commands_) {
    if (command.get() == ref) return present(*command) ? command.get() : nullptr;
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
  handlersOf_ = nullptr;
  command->handlers.push_back(std::make_shared<Handler>(
      Handler{.callback = callback, .before = before != 0, .refcon = refcon, .owner = host_.caller()}));
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
  handlersOf_ = nullptr;
  (*match)->removed = true;
  handlers.erase(match);
  registrationLog_.push_back({false, command->name, callback, before, refcon, host_.caller()});
}

void Commands::runPhase(Command& command, XPLMCommandPhase phase) {
  // A copy, so that handlers may change the registrations while the phase runs.
  const std::vector<std::shared_ptr<Handler>> handlers = command.handlers;
  auto runHandlers = [&](bool before) {
    for (const auto& handler : handlers) {
      if (handler->removed || handler->before != before || !host_.delivers(handler->owner)) continue;
      const int goOn =
          host_.runAs(handler->owner, [&] { return handler->callback(&command, phase, handler->refcon); });
      if (goOn == 0) return false;
    }
    return true;
  };
  if (!runHandlers(true)) return;
  if (command.builtin && ValidPhase(phase)) {
    ++command.simActions[static_cast<size_t>(phase)];
    if (command.viewType != 0 && phase == xplm_CommandBegin) {
      host_.datarefs().write("sim/graphics/view/view_type", command.viewType);
    }
  }
  runHandlers(false);
}

void Commands::press(Command& command) {
  // Held before the begin phase runs, so that a handler may end the command from within it.
  ++command.holds;
  ++holds_;
  runPhase(command, xplm_CommandBegin);
}

void Commands::release(Command& command) {
  if (command.holds == 0) return;
  --command.holds;
  --holds_;
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
  if (command == nullptr) return;
  press(*command);
  release(*command);
}

bool Commands::begin(std::string_view name) {
  Command* command = lookup(name);
  if (command != nullptr) press(*command);
  return command != nullptr;
}

bool Commands::end(std::string_view name) {
  Command* command = lookup(name);
  if (command != nullptr) release(*command);
  return command != nullptr;
}

bool Commands::once(std::string_view name) {
  Command* command = lookup(name);
  if (command != nullptr) once(static_cast<XPLMCommandRef>(command));
  return command != nullptr;
}

bool Commands::isHeld(std::string_view name) const {
  const Command* command = lookup(name);
  return command != nullptr && command->holds > 0;
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
  // Most cycles hold nothing: the scan of every command would be the host's cost, not a plugin's.
  if (holds_ == 0) return;
  // The commands held as the cycle starts; one begun by a handler during this pass waits for the next cycle.
  std::vector<Command*> held;
  for (const auto& command : commands_) {
    if (command->holds > 0 && present(*command)) held.push_back(command.get());
  }
  for (Command* command : held) {
    if (command->holds > 0) runPhase(*command, xplm_CommandContinue);
  }
}

std::vector<std::string> Commands::registrations(PluginId owner) const {
  std::vector<std::string> texts;
  for (const auto& command : commands_) {
    for (const auto& handler : command->handlers) {
      if (handler->owner != owner) continue;
      texts.push_back("command handler on " + command->name + (handler->before ? " (before)" : " (after)"));
    }
  }
  return texts;
}

void Commands::removePlugin(PluginId owner) {
  // The commands it created stay, as X-Plane keeps them: only its handlers go.
  handlersOf_ = nullptr;
  for (const auto& command : commands_) {
    std::erase_if(command->handlers, [&](const auto& handler) {
      if (handler->owner == owner) handler->removed = true;
      return handler->removed;
    });
  }
}

}  // namespace sim

// The SDK's C functions (XPLMUtilities.h).

using sim::Commands;
using sim::Forward;
using sim::Host;
using sim::WithHost;

XPLMCommandRef XPLMCreateCommand(const char* inName, const char* inDescription) {
  return Forward<&Host::commands, &Commands::create>(inName, inDescription);
}

XPLMCommandRef XPLMFindCommand(const char* inName) {
  return Forward<&Host::commands, &Commands::find>(inName);
}

void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore,
                                void* inRefcon) {
  Forward<&Host::commands, &Commands::registerHandler>(inComand, inHandler, inBefore, inRefcon);
}

void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler, int inBefore,
                                  void* inRefcon) {
  Forward<&Host::commands, &Commands::unregisterHandler>(inComand, inHandler, inBefore, inRefcon);
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
