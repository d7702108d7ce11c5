// Skeleton: replaced by the full implementation.
#include "plugins.h"

namespace sim {
Plugins::Plugins(Host& host) : host_(host) {}
Plugins::~Plugins() = default;
}  // namespace sim
