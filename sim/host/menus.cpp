// Skeleton: replaced by the full implementation.
#include "menus.h"

namespace sim {
struct Menus::Menu {};
void Menus::removePluginItems(PluginId) {}
Menus::Menus(Host& host) : host_(host) {}
Menus::~Menus() = default;
std::vector<std::string> Menus::registrations(PluginId) const { return {}; }
}  // namespace sim
