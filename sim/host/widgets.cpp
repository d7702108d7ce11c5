// Skeleton: replaced by the full implementation.
#include "widgets.h"

namespace sim {
struct Widgets::Widget {};
Widgets::Widgets(Host& host) : host_(host) {}
Widgets::~Widgets() = default;
std::vector<std::string> Widgets::registrations(PluginId) const { return {}; }
}  // namespace sim
