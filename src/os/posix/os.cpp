// Skeleton: replaced by the full implementation.
#include "os/os.h"

namespace talvenor::os {

const char* PathSeparator() { return "/"; }
void DebugOutput(const char*) {}

}  // namespace talvenor::os
