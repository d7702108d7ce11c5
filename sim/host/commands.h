// Commands of the simulated host.
//
// The host knows X-Plane 12's view commands (its Commands.txt; a test holds the table against
// xplane12-facts.md), each with the simulator's own handler, whose calls are counted per phase:
// - the ten view-moving commands sim/general/up, down, left, right, zoom_in, zoom_out, rot_up, rot_down,
//   rot_left and rot_right;
// - the view selectors sim/view/3d_cockpit_cmnd_look (1026), forward_with_2d_panel (1000),
//   forward_with_hud (1023) and chase (1017), whose own action in the begin phase sets view_type, the
//   only way a plugin changes the view in X-Plane 11 and 12;
// - sim/view/pan_up, pan_down, pan_left and pan_right only when the host models the older simulator
//   (Simulator::Older); in X-Plane 11 and 12 XPLMFindCommand gives null for them.
// A command's phase runs its "before" handlers in registration order, then the simulator's own handler
// (built-in commands only), then the "after" handlers; a handler's 0 stops the rest of that phase. A held
// command gets its continue phase once per cycle, before the cycle's flight loops. Unregistering needs the
// same command, handler, before flag and refcon; a registration that does not match is ignored.
//
// As in X-Plane, a command may be held by several sources at once (a key and a joystick button): each begin
// runs the begin phase and each end the end phase, so a handler can see begin, begin, end, end; the command
// is held while any source holds it and then gets one continue phase per cycle. A command that a plugin
// created stays after that plugin is unloaded (its handlers go with the plugin), and a later
// XPLMCreateCommand of the same name gives the same command. A disabled plugin's handlers are passed over
// (host.h, "A disabled plugin"): the other handlers and the simulator's own action run as if it let the
// command go on.
//
// Where the SDK documentation is silent:
// - End on a command that no source holds does nothing. Once runs a begin and an end as one more source, so
//   it leaves a command that was held still held.
// - The before flag counts as a truth value (any non-zero is "before"). Registering the same four values
//   twice adds a second registration; an unregister removes the earliest match.
// - A handler may register or unregister handlers (itself included) while it runs: one unregistered during
//   a phase is not called again in it, one registered during a phase is first called in the next phase.
// - Command handles stay valid for the host's life.
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
  bool exists(std::string_view name) const { return lookup(name) != nullptr; }
  bool begin(std::string_view name);  // one more source holds it
  bool end(std::string_view name);    // one source lets go
  bool once(std::string_view name);
  bool isHeld(std::string_view name) const;
  int handlerCount(std::string_view name) const;    // handlers of plugins registered on it
  int simActionCount(std::string_view name) const;  // calls of the simulator's own handler, one per phase
  int simActionCount(std::string_view name, XPLMCommandPhase phase) const;  // those of one phase
  std::string description(std::string_view name) const;
  // Every registration and unregistration of handlers that took effect, in the order they were made.
  const std::vector<HandlerRegistrationEvent>& registrationLog() const { return registrationLog_; }

  // The names of the simulator's own commands, in every simulator the host models.
  static std::vector<std::string> builtinNames();

  // Runs the continue phase of every held command (once per cycle).
  void continueHeld();
  // One text per handler the plugin left registered ("command handler on sim/general/left (before)").
  // Commands the plugin created are not listed: they stay with the simulator.
  std::vector<std::string> registrations(PluginId owner) const;
  // The plugin is unloaded: its handlers go.
  void removePlugin(PluginId owner);
  // What a host checkpoint keeps of them, and putting it back (host.h, Host::Checkpoint).
  struct Saved;
  std::shared_ptr<const Saved> save() const;
  void restore(const Saved& saved);

 private:
  struct Command;
  struct Handler;
  Command* lookup(std::string_view name) const;
  Command* fromRef(XPLMCommandRef ref) const;
  bool present(const Command& command) const;  // exists in the simulator the host models
  Command& add(std::string name, std::string description, PluginId creator, bool builtin);
  void runPhase(Command& command, XPLMCommandPhase phase);
  void press(Command& command);
  void release(Command& command);

  Host& host_;
  std::vector<std::unique_ptr<Command>> commands_;  // shrinks only to a checkpoint: handles stay valid
  long holds_ = 0;                                  // the holds of all commands together
  std::vector<HandlerRegistrationEvent> registrationLog_;
  // The checkpoint whose handlers are those in force (none once a registration changed), so that putting it
  // back need not compare every command's handlers.
  mutable const Saved* handlersOf_ = nullptr;
};

}  // namespace sim
