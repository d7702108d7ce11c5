// Skeleton: replaced by the full implementation.
#include "commands.h"

namespace sim {
struct Commands::Command {};
struct Commands::Handler {};
void Commands::continueHeld() {}
Commands::Commands(Host& host) : host_(host) {}
Commands::~Commands() = default;
std::vector<std::string> Commands::registrations(PluginId) const { return {}; }
}  // namespace sim
