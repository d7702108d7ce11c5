// Hotkeys of the simulated host.
//
// A key press carries a virtual-key code and modifier flags (xplm_ShiftFlag, _OptionAltFlag, _ControlFlag,
// _DownFlag, _UpFlag); it reaches every hotkey registered with that key and exactly those flags, once per
// press, in registration order. The key code is taken as an unsigned 8-bit value.
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
  int count() const;
  XPLMHotKeyID nth(int index) const;
  bool info(XPLMHotKeyID id, HotkeyInfo* out) const;
  void setCombination(XPLMHotKeyID id, char virtualKey, XPLMKeyFlags flags);

  // Driver API.
  int press(int virtualKey, XPLMKeyFlags flags);  // number of callbacks called
  std::vector<HotkeyInfo> list(PluginId owner) const;
  // One text per hotkey the plugin left registered: hotkey F1 (SHIFT+CONTROL) "03".
  std::vector<std::string> registrations(PluginId owner) const;
  void removePlugin(PluginId owner);  // the plugin is unloaded: its hotkeys go

  // A key and its modifiers as people read them: "F1", "NUMPAD5 (SHIFT+ALT)", "0xB0 (DOWN)".
  static std::string describe(int virtualKey, XPLMKeyFlags flags);

 private:
  struct Hotkey;
  Hotkey* fromId(XPLMHotKeyID id) const;

  Host& host_;
  std::vector<std::unique_ptr<Hotkey>> hotkeys_;
  std::uintptr_t nextId_ = 1;
};

}  // namespace sim
