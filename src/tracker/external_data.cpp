#include "tracker/external_data.h"

#include <utility>

#include "XPLMPlugin.h"

namespace talvenor {

const std::array<const char*, kExternalDataRefs> kExternalDataRefNames = {
    "quorlend/talvenor/external_enabled", "quorlend/talvenor/external_x",
    "quorlend/talvenor/external_y",       "quorlend/talvenor/external_z",
    "quorlend/talvenor/external_pitch",   "quorlend/talvenor/external_heading",
    "quorlend/talvenor/external_roll"};

namespace {

constexpr char kDataRefEditorSignature[] = "xplanesdk.examples.DataRefEditor";
constexpr int kMsgAddDataRef = 0x1000000;

}  // namespace

// The host calls these with null reference values, so each float needs its own pair; C linkage as for every
// host callback.
extern "C" {
static int ReadExternalEnabled(void*) {
  return External().externalEnabled;
}
static void WriteExternalEnabled(void*, int value) {
  External().externalEnabled = value;
}
#define TALVENOR_FLOAT_ACCESSORS(Axis)                  \
  static float ReadExternal##Axis(void*) {              \
    return External().external##Axis;                   \
  }                                                     \
  static void WriteExternal##Axis(void*, float value) { \
    External().external##Axis = value;                  \
  }
TALVENOR_FLOAT_ACCESSORS(X)
TALVENOR_FLOAT_ACCESSORS(Y)
TALVENOR_FLOAT_ACCESSORS(Z)
TALVENOR_FLOAT_ACCESSORS(Pitch)
TALVENOR_FLOAT_ACCESSORS(Heading)
TALVENOR_FLOAT_ACCESSORS(Roll)
#undef TALVENOR_FLOAT_ACCESSORS
}

void PublishExternalDataRefs() {
  using FloatReader = XPLMGetDataf_f;
  using FloatWriter = XPLMSetDataf_f;
  static constexpr std::array<std::pair<FloatReader, FloatWriter>, kExternalDataRefs - 1> kFloats = {{
      {&ReadExternalX, &WriteExternalX},
      {&ReadExternalY, &WriteExternalY},
      {&ReadExternalZ, &WriteExternalZ},
      {&ReadExternalPitch, &WriteExternalPitch},
      {&ReadExternalHeading, &WriteExternalHeading},
      {&ReadExternalRoll, &WriteExternalRoll},
  }};
  ExternalData& data = External();
  data.registered[0] = XPLMRegisterDataAccessor(
      kExternalDataRefNames[0], xplmType_Int, 1, &ReadExternalEnabled, &WriteExternalEnabled, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  for (int i = 1; i < kExternalDataRefs; ++i) {
    const auto& [read, write] = kFloats[static_cast<std::size_t>(i - 1)];
    data.registered[static_cast<std::size_t>(i)] = XPLMRegisterDataAccessor(
        kExternalDataRefNames[static_cast<std::size_t>(i)], xplmType_Float, 1, nullptr, nullptr, read, write,
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  }
}

void UnpublishExternalDataRefs() {
  for (XPLMDataRef& handle : External().registered) {
    if (handle != nullptr) XPLMUnregisterDataAccessor(handle);
    handle = nullptr;
  }
}

int FindExternalDataRefs() {
  ExternalData& data = External();
  for (std::size_t i = 0; i < kExternalDataRefNames.size(); ++i) {
    data.externalDataRefHandles[i] = XPLMFindDataRef(kExternalDataRefNames[i]);
  }
  return XPLMGetDatai(data.externalDataRefHandles[0]);
}

const std::array<XPLMDataRef, kExternalDataRefs>& ExternalDataRefHandles() {
  return External().externalDataRefHandles;
}

float RegisterWithDataRefEditor(float, float, int, void*) {
  const XPLMPluginID browser = XPLMFindPluginBySignature(kDataRefEditorSignature);
  if (browser != XPLM_NO_PLUGIN_ID) {
    for (const char* name : kExternalDataRefNames) {
      XPLMSendMessageToPlugin(browser, kMsgAddDataRef, const_cast<char*>(name));
    }
  }
  return 0.0f;  // once per start; it stays registered, inactive, until stop
}

}  // namespace talvenor
