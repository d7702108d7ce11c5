#include "os/library.h"

#include <dlfcn.h>

namespace talvenor::os {

void* OpenLibrary(const char* path, PathText text) {
  if (path == nullptr || path[0] == '\0' || !IsPathText(path, text)) return nullptr;
  // Local: the library's names are reached only through LibrarySymbol, never by the plugin's own imports.
  return dlopen(path, RTLD_NOW | RTLD_LOCAL);
}

void* LibrarySymbol(void* library, const char* name) {
  if (library == nullptr || name == nullptr) return nullptr;
  return dlsym(library, name);
}

}  // namespace talvenor::os
