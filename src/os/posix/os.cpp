#include "os/os.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace talvenor::os {

const char* PathSeparator() {
  return "/";
}

void DebugOutput(const char* text) {
  if (text == nullptr) return;
  std::fwrite(text, 1, std::strlen(text), stderr);
  std::fflush(stderr);
}

bool FlushToDisk(std::FILE* file) {
  if (file == nullptr || std::fflush(file) != 0) return false;
  return ::fsync(::fileno(file)) == 0;
}

// rename(2) replaces the target atomically within one file system; the temporary file always lies beside it.
bool ReplaceFileAtomically(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) return false;
  return std::rename(from, to) == 0;
}

}  // namespace talvenor::os
