// Skeleton: replaced by the full implementation.
#include "hotkeys.h"

namespace sim {
struct Hotkeys::Hotkey {};
Hotkeys::Hotkeys(Host& host) : host_(host) {}
Hotkeys::~Hotkeys() = default;
std::vector<std::string> Hotkeys::registrations(PluginId) const { return {}; }
}  // namespace sim
