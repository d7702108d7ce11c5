#include "os/library.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "os/win32/wide_path.h"

namespace talvenor::os {

void* OpenLibrary(const char* path, PathText text) {
  WidePath wide;
  if (path == nullptr || path[0] == '\0' || !wide.convert(path, text)) return nullptr;
  return reinterpret_cast<void*>(LoadLibraryW(wide.text()));
}

void* LibrarySymbol(void* library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace talvenor::os
