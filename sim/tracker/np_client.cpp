// The substitute tracker client: the NP_* entry points of NPClient64, answered from the current host's
// TrackerScript. Laid out by TrackerScript::installLibrary as DIR/NPClient64.dll (.so on POSIX) and loaded by
// the plugin with the platform's loader, it reaches the host through the host library already in the process.
//
// Every entry point returns 0 on success. Without a host (a library loaded outside any test) each answers
// kNoHost, so the plugin sees a tracker that does not work rather than a crash.
#include <cstdint>
#include <cstring>

#include "host.h"
#include "tracker_script.h"

namespace {

constexpr int kNoHost = 1;

// Records the call and gives the scripted result; EFFECT runs only when that result is success.
template <typename Effect>
int Answer(const char* entry, Effect effect) noexcept {
  try {
    sim::Host* host = sim::Host::current();
    if (host == nullptr) return kNoHost;
    sim::TrackerScript& script = host->tracker();
    script.recordCall(entry);
    const int result = script.resultOf(entry);
    if (result == 0) effect(script);
    return result;
  } catch (...) {  // nothing may unwind into the plugin
    return kNoHost;
  }
}

int Answer(const char* entry) noexcept {
  return Answer(entry, [](sim::TrackerScript&) {});
}

}  // namespace

#ifdef _WIN32
#define NP_EXPORT extern "C" __declspec(dllexport)
#else
#define NP_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The window handle is an HWND on Windows; here the value passed is recorded, so a test can see it.
NP_EXPORT int NP_RegisterWindowHandle(void* window) {
  if (sim::Host* host = sim::Host::current()) {
    host->tracker().recordWindowHandle(reinterpret_cast<std::uintptr_t>(window));
  }
  return Answer("NP_RegisterWindowHandle");
}

NP_EXPORT int NP_UnregisterWindowHandle(void) {
  return Answer("NP_UnregisterWindowHandle");
}

NP_EXPORT int NP_RegisterProgramProfileID(short /*profile*/) {
  return Answer("NP_RegisterProgramProfileID");
}

NP_EXPORT int NP_QueryVersion(unsigned short* version) {
  return Answer("NP_QueryVersion", [version](sim::TrackerScript& script) {
    if (version != nullptr) *version = script.version();
  });
}

NP_EXPORT int NP_RequestData(short /*fields*/) {
  return Answer("NP_RequestData");
}

NP_EXPORT int NP_GetData(void* frame) {
  return Answer("NP_GetData", [frame](sim::TrackerScript& script) {
    if (frame != nullptr) std::memcpy(frame, &script.frame(), sizeof(sim::TrackerFrame));
  });
}

NP_EXPORT int NP_StartCursor(void) {
  return Answer("NP_StartCursor");
}

NP_EXPORT int NP_StopCursor(void) {
  return Answer("NP_StopCursor");
}

NP_EXPORT int NP_ReCenter(void) {
  return Answer("NP_ReCenter");
}

NP_EXPORT int NP_StartDataTransmission(void) {
  return Answer("NP_StartDataTransmission");
}

NP_EXPORT int NP_StopDataTransmission(void) {
  return Answer("NP_StopDataTransmission");
}
