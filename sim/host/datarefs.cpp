// Skeleton: replaced by the full implementation.
#include "datarefs.h"

namespace sim {
struct DataRefs::Entry {};
DataRefs::DataRefs(Host& host) : host_(host) {}
DataRefs::~DataRefs() = default;
std::vector<std::string> DataRefs::registrations(PluginId) const { return {}; }
}  // namespace sim
