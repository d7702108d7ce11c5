// Skeleton: replaced by the full implementation.
#include "flight_loops.h"

namespace sim {
struct FlightLoops::Loop {};
void FlightLoops::runDue() {}
FlightLoops::FlightLoops(Host& host) : host_(host) {}
FlightLoops::~FlightLoops() = default;
std::vector<std::string> FlightLoops::registrations(PluginId) const { return {}; }
}  // namespace sim
