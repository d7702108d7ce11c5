// Hotkeys of the simulated host.
//
// A key press carries a virtual-key code and modifier flags (xplm_ShiftFlag, _OptionAltFlag, _ControlFlag,
// _DownFlag, _UpFlag); it reaches every hotkey registered with that key and exactly those flags, once per
// press, in registration order. The key code is taken as an unsigned 8-bit value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "XPLMDisplay.h"
#include "host.h"

namespace sim {

struct HotkeyInfo {
  int virtualKey = 0;
  XPLMKeyFlags flags = 0;
  std::string description;
  PluginId owner = 0;
};

class Hotkeys {
 public:
  explicit Hotkeys(Host& host);
  ~Hotkeys();

  // C API.
  XPLMHotKeyID registerHotKey(char virtualKey, XPLMKeyFlags flags, const char* description, XPLMHotKey_f callback,
                              void* refcon);
  void unregisterHotKey(XPLMHotKeyID id);
  int count() const;
  XPLMHotKeyID nth(int index) const;
  bool info(XPLMHotKeyID id, HotkeyInfo* out) const;
  void setCombination(XPLMHotKeyID id, char virtualKey, XPLMKeyFlags flags);

  // Driver API.
  int press(int virtualKey, XPLMKeyFlags flags);  // number of callbacks called
  std::vector<HotkeyInfo> list(PluginId owner) const;
  std::vector<std::string> registrations(PluginId owner) const;

 private:
  struct Hotkey;
  Host& host_;
  std::vector<std::unique_ptr<Hotkey>> hotkeys_;
  std::uintptr_t nextId_ = 1;
};

}  // namespace sim
