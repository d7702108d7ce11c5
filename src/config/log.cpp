// Skeleton: replaced by the full implementation.
#include "config/log.h"

namespace talvenor {

void LogReset() {}
void LogAlways(const char*) {}
void LogMessage(const char*) {}

}  // namespace talvenor
