// Commands of the simulated host.
//
// The host knows X-Plane's ten built-in view commands (sim/general/up, down, left, right, zoom_in,
// zoom_out, sim/view/pan_up, pan_down, pan_left, pan_right), each with the simulator's own handler, whose
// calls are counted per phase. A command's phase runs its "before" handlers in registration order, then the
// simulator's own handler (built-in commands only), then the "after" handlers; a handler's 0 stops the rest
// of that phase. A held command gets its continue phase once per cycle, before the cycle's flight loops.
// Unregistering needs the same command, handler, before flag and refcon; a registration that does not match
// is ignored.
//
// Where the SDK documentation is silent:
// - Begin on a command that is already held does nothing: it stays held once, and one end releases it.
//   End on a command that is not held does nothing. Once on a held command does nothing either.
// - The before flag counts as a truth value (any non-zero is "before"). Registering the same four values
//   twice adds a second registration; an unregister removes the earliest match.
// - A handler may register or unregister handlers (itself included) while it runs: one unregistered during
//   a phase is not called again in it, one registered during a phase is first called in the next phase.
// - Command handles stay valid for the host's life. When the plugin that created a command is unloaded the
//   command goes away with it: finding it gives null and its old handle is ignored.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "XPLMUtilities.h"
#include "host.h"

namespace sim {

// One registration or unregistration of a command handler that took effect, as the plugin made it.
struct HandlerRegistrationEvent {
  bool registered = true;  // false: an unregistration that removed a handler
  std::string command;
  XPLMCommandCallback_f handler = nullptr;
  int before = 0;  // the value given, not just its truth
  void* refcon = nullptr;
  PluginId owner = 0;
};

class Commands {
 public:
  explicit Commands(Host& host);
  ~Commands();

  // C API.
  XPLMCommandRef create(const char* name, const char* description);
  XPLMCommandRef find(const char* name) const;
  void registerHandler(XPLMCommandRef command, XPLMCommandCallback_f handler, int before, void* refcon);
  void unregisterHandler(XPLMCommandRef command, XPLMCommandCallback_f handler, int before, void* refcon);
  void begin(XPLMCommandRef command);
  void end(XPLMCommandRef command);
  void once(XPLMCommandRef command);

  // Driver API: false when no command has that name.
  bool exists(std::string_view name) const;
  bool begin(std::string_view name);
  bool end(std::string_view name);
  bool once(std::string_view name);
  bool isHeld(std::string_view name) const;
  int handlerCount(std::string_view name) const;    // handlers of plugins registered on it
  int simActionCount(std::string_view name) const;  // calls of the simulator's own handler, one per phase
  int simActionCount(std::string_view name, XPLMCommandPhase phase) const;  // those of one phase
  std::string description(std::string_view name) const;
  // Every registration and unregistration of handlers that took effect, in the order they were made.
  const std::vector<HandlerRegistrationEvent>& registrationLog() const { return registrationLog_; }

  // Runs the continue phase of every held command (once per cycle).
  void continueHeld();
  // One text per handler the plugin left registered ("command handler on sim/general/left (before)").
  // Commands the plugin created are not listed: they go with the plugin.
  std::vector<std::string> registrations(PluginId owner) const;
  // The plugin is unloaded: its handlers and the commands it created go.
  void removePlugin(PluginId owner);

 private:
  struct Command;
  struct Handler;
  Command* lookup(std::string_view name) const;
  Command* fromRef(XPLMCommandRef ref) const;
  Command& add(std::string name, std::string description, PluginId creator, bool builtin);
  void runPhase(Command& command, XPLMCommandPhase phase);
  void press(Command& command);
  void release(Command& command);

  Host& host_;
  std::vector<std::unique_ptr<Command>> commands_;  // never shrinks: handles stay valid
  std::vector<HandlerRegistrationEvent> registrationLog_;
};

}  // namespace sim
