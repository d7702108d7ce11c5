// Hotkeys of the simulated host.
//
// Keys reach hotkeys as X-Plane 12 delivers them (xplane12-facts.md, "Keys and hot keys"): a key press is a
// message with xplm_DownFlag, then one message with neither DOWN nor UP for each repeat while the key is
// held, and last a message with xplm_UpFlag; each carries the modifier flags held (xplm_ShiftFlag,
// _OptionAltFlag, _ControlFlag). A message reaches every hotkey registered with its key and exactly its
// flags, in registration order: a hotkey registered with DOWN runs once per press, one with UP once per
// release, and one with neither only for the repeats of a held key, so a tap does not run it at all. The key
// code is taken as an unsigned 8-bit value.
//
// The driver presses keys as a user does: a tap sends the down and the up message between two cycles; a hold
// sends the down message, a repeat in each cycle it runs (before that cycle's flight loops, where held
// commands continue), then the up message. send() delivers one message with any flags, for tests of odd
// messages. A disabled plugin's hotkeys stay registered and are not run (host.h, "A disabled plugin").
//
// Where the SDK documentation is silent:
// - Ids count up from 1 and are never reused, so an id kept after its unregistration is simply unknown;
//   calls with an unknown id do nothing. Registering without a callback fails (null id).
// - XPLMGetHotKeyInfo copies at most 255 characters of the description and a terminator: the
//   documentation asks for a larger buffer, so any caller that follows it is safe.
// - A callback may register or unregister hotkeys while a press is delivered: one unregistered is not called
//   any more, one registered is first reached by the next press. XPLMSetHotKeyCombination keeps the hotkey's
//   place in the order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "XPLMDisplay.h"
#include "host.h"

namespace sim {

struct HotkeyInfo {
  int virtualKey = 0;  // 0 to 255
  XPLMKeyFlags flags = 0;
  std::string description;
  PluginId owner = 0;
};

class Hotkeys {
 public:
  explicit Hotkeys(Host& host);
  ~Hotkeys();

  // C API.
  XPLMHotKeyID registerHotKey(char virtualKey, XPLMKeyFlags flags, const char* description,
                              XPLMHotKey_f callback, void* refcon);
  void unregisterHotKey(XPLMHotKeyID id);
  int count() const { return static_cast<int>(hotkeys_.size()); }
  XPLMHotKeyID nth(int index) const;
  bool info(XPLMHotKeyID id, HotkeyInfo* out) const;
  void setCombination(XPLMHotKeyID id, char virtualKey, XPLMKeyFlags flags);

  // Driver API. Each returns the number of callbacks it called; modifiers are SHIFT, ALT and CONTROL only
  // (std::invalid_argument otherwise), as the host adds DOWN and UP itself.
  int send(int virtualKey, XPLMKeyFlags flags);
  int tap(int virtualKey, XPLMKeyFlags modifiers);
  int hold(int virtualKey, XPLMKeyFlags modifiers, long cycles);  // runs the host's cycles
  void repeatHeld();  // the host's cycle: one repeat message for each held key
  std::vector<HotkeyInfo> list(PluginId owner) const;
  // One text per hotkey the plugin left registered: hotkey F1 (SHIFT+CONTROL) "03".
  std::vector<std::string> registrations(PluginId owner) const;
  void removePlugin(PluginId owner);  // the plugin is unloaded: its hotkeys go
  // What a host checkpoint keeps of them, and putting it back (host.h, Host::Checkpoint).
  struct Saved;
  std::shared_ptr<const Saved> save() const;
  void restore(const Saved& saved);

  // A key and its modifiers as people read them: "F1", "NUMPAD5 (SHIFT+ALT)", "0xB0 (DOWN)".
  static std::string describe(int virtualKey, XPLMKeyFlags flags);

 private:
  struct Hotkey;
  Hotkey* fromId(XPLMHotKeyID id) const;

  Host& host_;
  std::vector<std::unique_ptr<Hotkey>> hotkeys_;
  std::uintptr_t nextId_ = 1;
  struct HeldKey {
    int virtualKey = 0;
    XPLMKeyFlags modifiers = 0;
    bool operator==(const HeldKey&) const = default;
  };
  std::vector<HeldKey> held_;
  int repeatCalls_ = 0;  // callbacks run by repeat messages so far
};

}  // namespace sim
