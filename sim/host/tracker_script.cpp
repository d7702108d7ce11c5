// Skeleton: replaced by the full implementation.
#include "tracker_script.h"

namespace sim {
TrackerScript::TrackerScript(Host& host) : host_(host) {}
TrackerScript::~TrackerScript() = default;
}  // namespace sim
