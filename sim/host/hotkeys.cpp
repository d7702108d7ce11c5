#include "hotkeys.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "c_guard.h"
#include "config/key_names.h"

namespace sim {

struct Hotkeys::Hotkey {
  std::uintptr_t id = 0;
  unsigned char virtualKey = 0;
  XPLMKeyFlags flags = 0;
  std::string description;
  XPLMHotKey_f callback = nullptr;
  void* refcon = nullptr;
  PluginId owner = kPluginUnderTest;
  bool operator==(const Hotkey&) const = default;
};

namespace {

// The longest description XPLMGetHotKeyInfo copies, without its terminator.
constexpr size_t kMaxDescription = 255;

XPLMHotKeyID ToHandle(std::uintptr_t id) {
  return reinterpret_cast<XPLMHotKeyID>(id);
}

void CheckModifiers(XPLMKeyFlags modifiers) {
  if ((modifiers & ~(xplm_ShiftFlag | xplm_OptionAltFlag | xplm_ControlFlag)) != 0)
    throw std::invalid_argument("a key's modifiers are SHIFT, ALT and CONTROL; the host adds DOWN and UP");
}

std::string KeyName(int code) {
  for (const talvenor::KeyName& key : talvenor::kKeyNameTable) {
    if (key.code == code) return key.name;
  }
  std::array<char, 8> hex{};
  std::snprintf(hex.data(), hex.size(), "0x%02X", static_cast<unsigned>(code) & 0xFFu);
  return hex.data();
}

}  // namespace

Hotkeys::Hotkeys(Host& host) : host_(host) {}

Hotkeys::~Hotkeys() = default;

struct Hotkeys::Saved {
  std::vector<Hotkey> hotkeys;
  std::uintptr_t nextId = 0;
  std::vector<HeldKey> held;
  int repeatCalls = 0;
};

std::shared_ptr<const Hotkeys::Saved> Hotkeys::save() const {
  auto saved = std::make_shared<Saved>();
  for (const auto& hotkey : hotkeys_) saved->hotkeys.push_back(*hotkey);
  saved->nextId = nextId_;
  saved->held = held_;
  saved->repeatCalls = repeatCalls_;
  return saved;
}

void Hotkeys::restore(const Saved& saved) {
  bool same = hotkeys_.size() == saved.hotkeys.size();
  for (std::size_t i = 0; same && i < hotkeys_.size(); ++i) same = *hotkeys_[i] == saved.hotkeys[i];
  if (!same) {
    hotkeys_.clear();
    for (const Hotkey& hotkey : saved.hotkeys) hotkeys_.push_back(std::make_unique<Hotkey>(hotkey));
  }
  nextId_ = saved.nextId;
  if (held_ != saved.held) held_ = saved.held;
  repeatCalls_ = saved.repeatCalls;
}

Hotkeys::Hotkey* Hotkeys::fromId(XPLMHotKeyID id) const {
  const auto wanted = reinterpret_cast<std::uintptr_t>(id);
  if (wanted == 0) return nullptr;
  for (const auto& hotkey : hotkeys_) {
    if (hotkey->id == wanted) return hotkey.get();
  }
  return nullptr;
}

XPLMHotKeyID Hotkeys::registerHotKey(char virtualKey, XPLMKeyFlags flags, const char* description,
                                     XPLMHotKey_f callback, void* refcon) {
  if (callback == nullptr) return nullptr;
  auto hotkey = std::make_unique<Hotkey>();
  hotkey->id = nextId_++;
  hotkey->virtualKey = static_cast<unsigned char>(virtualKey);
  hotkey->flags = flags;
  hotkey->description = description != nullptr ? description : "";
  hotkey->callback = callback;
  hotkey->refcon = refcon;
  hotkey->owner = host_.caller();
  hotkeys_.push_back(std::move(hotkey));
  return ToHandle(hotkeys_.back()->id);
}

void Hotkeys::unregisterHotKey(XPLMHotKeyID id) {
  const auto wanted = reinterpret_cast<std::uintptr_t>(id);
  std::erase_if(hotkeys_, [wanted](const auto& hotkey) { return hotkey->id == wanted; });
}

XPLMHotKeyID Hotkeys::nth(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= hotkeys_.size()) return nullptr;
  return ToHandle(hotkeys_[static_cast<size_t>(index)]->id);
}

bool Hotkeys::info(XPLMHotKeyID id, HotkeyInfo* out) const {
  const Hotkey* hotkey = fromId(id);
  if (hotkey == nullptr) return false;
  if (out != nullptr) *out = {hotkey->virtualKey, hotkey->flags, hotkey->description, hotkey->owner};
  return true;
}

void Hotkeys::setCombination(XPLMHotKeyID id, char virtualKey, XPLMKeyFlags flags) {
  Hotkey* hotkey = fromId(id);
  if (hotkey == nullptr) return;
  hotkey->virtualKey = static_cast<unsigned char>(virtualKey);
  hotkey->flags = flags;
}

int Hotkeys::send(int virtualKey, XPLMKeyFlags flags) {
  const auto key = static_cast<unsigned char>(virtualKey);
  // Ids, not pointers: a callback may unregister any hotkey, itself included.
  std::vector<std::uintptr_t> matching;
  for (const auto& hotkey : hotkeys_) {
    if (hotkey->virtualKey == key && hotkey->flags == flags) matching.push_back(hotkey->id);
  }
  int called = 0;
  for (const std::uintptr_t id : matching) {
    const Hotkey* hotkey = fromId(ToHandle(id));
    if (hotkey == nullptr || !host_.delivers(hotkey->owner)) continue;
    const XPLMHotKey_f callback = hotkey->callback;
    void* const refcon = hotkey->refcon;
    Host::PluginCall call(host_, hotkey->owner);
    callback(refcon);
    ++called;
  }
  return called;
}

int Hotkeys::tap(int virtualKey, XPLMKeyFlags modifiers) {
  CheckModifiers(modifiers);
  const int down = send(virtualKey, modifiers | xplm_DownFlag);
  return down + send(virtualKey, modifiers | xplm_UpFlag);
}

int Hotkeys::hold(int virtualKey, XPLMKeyFlags modifiers, long cycles) {
  CheckModifiers(modifiers);
  int called = send(virtualKey, modifiers | xplm_DownFlag);
  const int repeatsBefore = repeatCalls_;
  held_.push_back({virtualKey, modifiers});
  host_.runCycles(cycles);
  held_.pop_back();
  called += repeatCalls_ - repeatsBefore;
  return called + send(virtualKey, modifiers | xplm_UpFlag);
}

void Hotkeys::repeatHeld() {
  for (const HeldKey& key : held_) repeatCalls_ += send(key.virtualKey, key.modifiers);
}

std::vector<HotkeyInfo> Hotkeys::list(PluginId owner) const {
  std::vector<HotkeyInfo> result;
  for (const auto& hotkey : hotkeys_) {
    if (hotkey->owner == owner)
      result.push_back({hotkey->virtualKey, hotkey->flags, hotkey->description, owner});
  }
  return result;
}

std::vector<std::string> Hotkeys::registrations(PluginId owner) const {
  std::vector<std::string> texts;
  for (const auto& hotkey : hotkeys_) {
    if (hotkey->owner == owner) {
      texts.push_back("hotkey " + describe(hotkey->virtualKey, hotkey->flags) + " \"" + hotkey->description +
                      "\"");
    }
  }
  return texts;
}

void Hotkeys::removePlugin(PluginId owner) {
  std::erase_if(hotkeys_, [owner](const auto& hotkey) { return hotkey->owner == owner; });
}

std::string Hotkeys::describe(int virtualKey, XPLMKeyFlags flags) {
  std::string text = KeyName(virtualKey & 0xFF);
  static constexpr std::array<std::pair<XPLMKeyFlags, const char*>, 5> kFlags{{{xplm_ShiftFlag, "SHIFT"},
                                                                               {xplm_OptionAltFlag, "ALT"},
                                                                               {xplm_ControlFlag, "CONTROL"},
                                                                               {xplm_DownFlag, "DOWN"},
                                                                               {xplm_UpFlag, "UP"}}};
  std::string modifiers;
  for (const auto& [flag, name] : kFlags) {
    if ((flags & flag) == 0) continue;
    if (!modifiers.empty()) modifiers += '+';
    modifiers += name;
  }
  if (!modifiers.empty()) text += " (" + modifiers + ")";
  return text;
}

}  // namespace sim

// The SDK's C functions (XPLMDisplay.h).

using sim::Forward;
using sim::Host;
using sim::Hotkeys;
using sim::WithHost;

XPLMHotKeyID XPLMRegisterHotKey(char inVirtualKey, XPLMKeyFlags inFlags, const char* inDescription,
                                XPLMHotKey_f inCallback, void* inRefcon) {
  return Forward<&Host::hotkeys, &Hotkeys::registerHotKey>(inVirtualKey, inFlags, inDescription, inCallback,
                                                           inRefcon);
}

void XPLMUnregisterHotKey(XPLMHotKeyID inHotKey) {
  Forward<&Host::hotkeys, &Hotkeys::unregisterHotKey>(inHotKey);
}

int XPLMCountHotKeys(void) {
  return Forward<&Host::hotkeys, &Hotkeys::count>();
}

XPLMHotKeyID XPLMGetNthHotKey(int inIndex) {
  return Forward<&Host::hotkeys, &Hotkeys::nth>(inIndex);
}

void XPLMGetHotKeyInfo(XPLMHotKeyID inHotKey, char* outVirtualKey, XPLMKeyFlags* outFlags,
                       char* outDescription, XPLMPluginID* outPlugin) {
  WithHost([&](Host& host) {
    sim::HotkeyInfo info;
    if (!host.hotkeys().info(inHotKey, &info)) return;
    if (outVirtualKey != nullptr) *outVirtualKey = static_cast<char>(info.virtualKey);
    if (outFlags != nullptr) *outFlags = info.flags;
    if (outPlugin != nullptr) *outPlugin = info.owner;
    sim::CopyOut(outDescription, info.description, sim::kMaxDescription + 1);
  });
}

void XPLMSetHotKeyCombination(XPLMHotKeyID inHotKey, char inVirtualKey, XPLMKeyFlags inFlags) {
  Forward<&Host::hotkeys, &Hotkeys::setCombination>(inHotKey, inVirtualKey, inFlags);
}
