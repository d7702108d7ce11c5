// The floor: the least a head-moving plugin does every frame. It finds the six head datarefs once at start
// and, on a flight loop of Talvenor's interval, reads each one and writes it back. Benchmarks load it into
// the simulated host beside nothing else, to compare Talvenor's per-frame cost with it.
#include <array>
#include <cstring>

#include "XPLMDataAccess.h"
#include "XPLMPlugin.h"
#include "XPLMProcessing.h"

namespace {

constexpr std::array<const char*, 6> kHead = {
    "sim/graphics/view/pilots_head_x",   "sim/graphics/view/pilots_head_y",
    "sim/graphics/view/pilots_head_z",   "sim/graphics/view/pilots_head_psi",
    "sim/graphics/view/pilots_head_the", "sim/graphics/view/field_of_view_roll_deg"};
constexpr float kInterval = 0.02f;

std::array<XPLMDataRef, 6> g_head{};
int g_calls = 0;
XPLMDataRef g_callsRef = nullptr;

float ReadAndWriteBack(float, float, int, void*) {
  for (XPLMDataRef ref : g_head) XPLMSetDataf(ref, XPLMGetDataf(ref));
  ++g_calls;
  return kInterval;
}

int ReadCalls(void*) {
  return g_calls;
}

}  // namespace

PLUGIN_API int XPluginStart(char* name, char* signature, char* description) {
  std::strcpy(name, "Floor");
  std::strcpy(signature, "talvenor.bench.floor");
  std::strcpy(description, "Reads the six head datarefs and writes them back every 0.02 s.");
  for (std::size_t i = 0; i < kHead.size(); ++i) g_head[i] = XPLMFindDataRef(kHead[i]);
  g_calls = 0;
  // How often the loop ran, so a benchmark can tell that it did the work.
  g_callsRef = XPLMRegisterDataAccessor("talvenor_bench/floor_calls", xplmType_Int, 0, &ReadCalls, nullptr,
                                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr, nullptr);
  XPLMRegisterFlightLoopCallback(ReadAndWriteBack, kInterval, nullptr);
  return 1;
}

PLUGIN_API void XPluginStop() {
  XPLMUnregisterFlightLoopCallback(ReadAndWriteBack, nullptr);
  XPLMUnregisterDataAccessor(g_callsRef);
}

PLUGIN_API int XPluginEnable() {
  return 1;
}

PLUGIN_API void XPluginDisable() {}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int, void*) {}
