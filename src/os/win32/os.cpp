#include "os/os.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace talvenor::os {

const char* PathSeparator() {
  return "\\";
}

void DebugOutput(const char* text) {
  if (text == nullptr) return;
  OutputDebugStringA(text);
}

bool FlushToDisk(std::FILE* file) {
  if (file == nullptr || std::fflush(file) != 0) return false;
  const std::intptr_t handle = _get_osfhandle(_fileno(file));
  if (handle == -1) return false;
  return FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

// MoveFileExA with MOVEFILE_REPLACE_EXISTING swaps the target in one step on the same volume; the write
// through makes the move itself durable before the call returns.
bool ReplaceFileAtomically(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) return false;
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace talvenor::os
