#include "os/library.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace talvenor::os {

void* OpenLibrary(const char* path) {
  if (path == nullptr || path[0] == '\0') return nullptr;
  return reinterpret_cast<void*>(LoadLibraryA(path));
}

void* LibrarySymbol(void* library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace talvenor::os
