// A third-party head-data source, as another plugin would be: scenarios set its own datarefs
// extsource/enabled, extsource/x, _y, _z, _pitch, _heading and _roll, and each write is passed on at once to
// Talvenor's published datarefs through the SDK's data access, found by name each time.
#include <array>
#include <cstring>

#include "XPLMDataAccess.h"
#include "XPLMPlugin.h"

namespace {

struct Channel {
  const char* own;     // the dataref a scenario writes
  const char* target;  // Talvenor's dataref the value goes to
};

constexpr std::array<Channel, 7> kChannels = {{
    {"extsource/enabled", "quorlend/talvenor/external_enabled"},
    {"extsource/x", "quorlend/talvenor/external_x"},
    {"extsource/y", "quorlend/talvenor/external_y"},
    {"extsource/z", "quorlend/talvenor/external_z"},
    {"extsource/pitch", "quorlend/talvenor/external_pitch"},
    {"extsource/heading", "quorlend/talvenor/external_heading"},
    {"extsource/roll", "quorlend/talvenor/external_roll"},
}};

int g_enabled = 0;
std::array<float, 7> g_values{};
std::array<XPLMDataRef, 7> g_registered{};

std::size_t Index(void* refcon) {
  return reinterpret_cast<std::size_t>(refcon);
}

int ReadEnabled(void*) {
  return g_enabled;
}
// Before Talvenor has published its datarefs the lookup gives null and the host drops the write.
void WriteEnabled(void*, int value) {
  g_enabled = value;
  XPLMSetDatai(XPLMFindDataRef(kChannels[0].target), value);
}
float ReadValue(void* refcon) {
  return g_values[Index(refcon)];
}
void WriteValue(void* refcon, float value) {
  g_values[Index(refcon)] = value;
  XPLMSetDataf(XPLMFindDataRef(kChannels[Index(refcon)].target), value);
}

void Copy(char* out, const char* text) {
  std::strncpy(out, text, 255);
  out[255] = '\0';
}

}  // namespace

PLUGIN_API int XPluginStart(char* outName, char* outSig, char* outDesc) {
  Copy(outName, "External Source");
  Copy(outSig, "quorlend.tests.external_source");
  Copy(outDesc, "Writes Talvenor's external-data datarefs as a third-party head-data source does.");
  g_registered[0] = XPLMRegisterDataAccessor(kChannels[0].own, xplmType_Int, 1, ReadEnabled, WriteEnabled,
                                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                             nullptr, nullptr, nullptr, nullptr, nullptr);
  for (std::size_t i = 1; i < kChannels.size(); ++i) {
    void* refcon = reinterpret_cast<void*>(i);
    g_registered[i] = XPLMRegisterDataAccessor(kChannels[i].own, xplmType_Float, 1, nullptr, nullptr,
                                               ReadValue, WriteValue, nullptr, nullptr, nullptr, nullptr,
                                               nullptr, nullptr, nullptr, nullptr, refcon, refcon);
  }
  return 1;
}

PLUGIN_API void XPluginStop(void) {
  for (XPLMDataRef& handle : g_registered) {
    XPLMUnregisterDataAccessor(handle);
    handle = nullptr;
  }
}

PLUGIN_API int XPluginEnable(void) {
  return 1;
}

PLUGIN_API void XPluginDisable(void) {}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int, void*) {}
