// Loading a shared library by its path and finding an exported name in it (LoadLibraryW / GetProcAddress on
// Windows, dlopen / dlsym elsewhere). A library once loaded is never released: the plugin keeps using what
// it found there until it is unloaded itself.
#pragma once

#include "os/os.h"

namespace talvenor::os {

// The tracker vendor's client library, looked for in the folder its registry entry names, and X-Plane's SDK
// library in Resources/plugins.
#ifdef _WIN32
inline constexpr char kTrackerLibraryFileName[] = "NPClient64.dll";
inline constexpr char kXplmLibraryFileName[] = "XPLM_64.DLL";
#else
inline constexpr char kTrackerLibraryFileName[] = "NPClient64.so";
inline constexpr char kXplmLibraryFileName[] = "XPLM_64.so";
#endif

// The library at PATH, or null when there is none or it cannot be loaded. An empty or null path is never
// handed to the loader (which would take it for the running program), nor one that is not a text of its
// encoding.
void* OpenLibrary(const char* path, PathText text);

// The address of the exported NAME of LIBRARY, or null when it exports no such name.
void* LibrarySymbol(void* library, const char* name);

}  // namespace talvenor::os
