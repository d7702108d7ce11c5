// Skeleton: replaced by the full implementation.
#include "config/setup_file.h"

namespace talvenor {

bool ReadSetupFile() { return false; }
int ParseSetupFile(const char*) { return 0; }
char* ReadSetupLine(char*, int, std::FILE*) { return nullptr; }
void StripBlanks(const char*, char (&result)[256]) { result[0] = 0; }
std::int32_t LookupKeyName(const char*) { return 0; }
std::int32_t ParseModifiers(const char*) { return 0; }

}  // namespace talvenor
