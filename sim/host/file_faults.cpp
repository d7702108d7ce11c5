// Skeleton: replaced by the full implementation.
#include "file_faults.h"

namespace sim {
FileFaults::FileFaults(Host& host) : host_(host) {}
FileFaults::~FileFaults() = default;
}  // namespace sim
