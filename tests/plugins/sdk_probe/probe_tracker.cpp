// A minimal tracker client: finds the client library through the registry (on POSIX the file-based
// stand-in under $TALVENOR_REGISTRY), loads it, resolves the NP_* entry points and reads frames.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if IBM
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "probe.h"

namespace probe {
namespace {

using NoArgument = int (*)();
using QueryVersion = int (*)(unsigned short*);
using GetData = int (*)(void*);

constexpr std::array<const char*, 11> kEntries = {"NP_RegisterWindowHandle",
                                                  "NP_UnregisterWindowHandle",
                                                  "NP_RegisterProgramProfileID",
                                                  "NP_QueryVersion",
                                                  "NP_RequestData",
                                                  "NP_GetData",
                                                  "NP_StartCursor",
                                                  "NP_StopCursor",
                                                  "NP_ReCenter",
                                                  "NP_StartDataTransmission",
                                                  "NP_StopDataTransmission"};
enum Entry { kQueryVersion = 3, kGetData = 5, kStartTransmission = 9, kStopTransmission = 10 };

// The 80-byte frame: status, number, flags, then the pose as floats.
struct Frame {
  unsigned short status;
  unsigned short number;
  unsigned int flags;
  float roll, pitch, heading, x, y, z;
  float rest[12];
};
static_assert(sizeof(Frame) == 80);

void* Symbol(void* library, const char* name) {
#if IBM
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
#else
  return dlsym(library, name);
#endif
}

// The library's folder as the registry names it; false when there is no entry.
bool RegistryFolder(char* out, std::size_t size) {
#if IBM
  DWORD length = static_cast<DWORD>(size);
  return RegGetValueA(HKEY_CURRENT_USER, "Software\\NaturalPoint\\NATURALPOINT\\NPClient Location", "Path",
                      RRF_RT_REG_SZ, nullptr, out, &length) == ERROR_SUCCESS;
#else
  const char* root = std::getenv("TALVENOR_REGISTRY");
  char path[kPathSize];
  if (root == nullptr ||
      !Compose(path, sizeof path,
               "%s/HKEY_CURRENT_USER/Software/NaturalPoint/NATURALPOINT/NPClient Location/Path", root)) {
    return false;
  }
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  const std::size_t n = std::fread(out, 1, size - 1, file);
  std::fclose(file);
  out[n] = '\0';
  return true;
#endif
}

}  // namespace

void ConnectTracker() {
  Probe& p = State();
  if (p.trackerLibrary != nullptr) return;
  char folder[kPathSize] = {}, path[kPathSize];
  p.tracker.found = RegistryFolder(folder, sizeof folder) ? 1 : 0;
  if (p.tracker.found == 0 ||
      !Compose(path, sizeof path, "%s%sNPClient64.%s", folder, IBM ? "\\" : "/", IBM ? "dll" : "so"))
    return;
#if IBM
  p.trackerLibrary = LoadLibraryA(path);
#else
  p.trackerLibrary = dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
  p.tracker.loaded = p.trackerLibrary != nullptr ? 1 : 0;
  if (p.trackerLibrary == nullptr) return;
  p.tracker.entries = 0;
  for (std::size_t i = 0; i < kEntries.size(); ++i) {
    p.trackerEntries[i] = Symbol(p.trackerLibrary, kEntries[i]);
    if (p.trackerEntries[i] != nullptr) ++p.tracker.entries;
  }
  if (auto query = reinterpret_cast<QueryVersion>(p.trackerEntries[kQueryVersion])) {
    unsigned short version = 0;
    if (query(&version) == 0) p.tracker.version = version;
  }
  if (auto start = reinterpret_cast<NoArgument>(p.trackerEntries[kStartTransmission])) {
    p.tracker.startResult = start();
  }
}

void ReadTracker() {
  Probe& p = State();
  auto get = reinterpret_cast<GetData>(p.trackerEntries[kGetData]);
  if (get == nullptr) return;
  Frame frame{};
  p.tracker.getResult = get(&frame);
  if (p.tracker.getResult != 0) return;
  p.tracker.status = frame.status;
  p.tracker.number = frame.number;
  p.trackerPose = {frame.roll, frame.pitch, frame.heading, frame.x, frame.y, frame.z};
}

void DisconnectTracker() {
  Probe& p = State();
  if (p.trackerLibrary == nullptr) return;
  if (auto stop = reinterpret_cast<NoArgument>(p.trackerEntries[kStopTransmission])) stop();
#if IBM
  FreeLibrary(static_cast<HMODULE>(p.trackerLibrary));
#else
  dlclose(p.trackerLibrary);
#endif
  p.trackerLibrary = nullptr;
  p.trackerEntries = {};
  p.tracker.loaded = 0;
}

}  // namespace probe
