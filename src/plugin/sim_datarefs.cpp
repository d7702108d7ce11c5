// Skeleton: replaced by the full implementation.
#include "plugin/sim_datarefs.h"

namespace talvenor {

void FindSimDataRefs(SimDataRefs&) {}

}  // namespace talvenor
