// Skeleton: replaced by the full implementation.
#include "view/view_update.h"

namespace talvenor {

float ViewUpdateCallback(float, float, int, void*) { return kViewUpdateInterval; }

}  // namespace talvenor
