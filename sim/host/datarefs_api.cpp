// XPLMDataAccess.h on the current host, behind the guard that keeps host exceptions out of the plugin's C
// code.
#include "datarefs_entry.h"

#include <utility>

#include "c_guard.h"

using sim::Host;

using Entry = sim::DataRefs::Entry;

namespace {

Entry* Resolve(Host& host, XPLMDataRef ref) {
  return host.datarefs().fromHandle(ref);
}

// A read through a handle the host never gave out gives 0, as without a host.
template <auto Get, typename... Args>
auto Read(XPLMDataRef ref, Args... args) {
  using Result = decltype((std::declval<const Entry&>().*Get)(args...));
  return sim::WithHost(Result{}, [&](Host& host) {
    const Entry* entry = Resolve(host, ref);
    return entry != nullptr ? (entry->*Get)(args...) : Result{};
  });
}

// A plugin's write; through a handle the host never gave out it is ignored.
template <auto Set, typename... Args>
void Write(XPLMDataRef ref, Args... args) {
  sim::WithHost([&](Host& host) {
    if (Entry* entry = Resolve(host, ref)) (entry->*Set)(args..., true);
  });
}

}  // namespace

XPLM_API XPLMDataRef XPLMFindDataRef(const char* inDataRefName) {
  return sim::WithHost<XPLMDataRef>(nullptr, [&](Host& host) -> XPLMDataRef {
    if (inDataRefName == nullptr) return nullptr;
    return host.datarefs().find(inDataRefName);
  });
}

XPLM_API int XPLMCanWriteDataRef(XPLMDataRef inDataRef) {
  return sim::WithHost(0, [&](Host& host) {
    const Entry* entry = Resolve(host, inDataRef);
    if (entry == nullptr || !entry->live) return 0;
    return entry->mayWrite(entry->types, true) ? 1 : 0;
  });
}

XPLM_API int XPLMIsDataRefGood(XPLMDataRef inDataRef) {
  return sim::WithHost(0, [&](Host& host) {
    const Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr && entry->live ? 1 : 0;
  });
}

XPLM_API XPLMDataTypeID XPLMGetDataRefTypes(XPLMDataRef inDataRef) {
  return Read<&Entry::liveTypes>(inDataRef);
}

XPLM_API int XPLMGetDatai(XPLMDataRef inDataRef) {
  return Read<&Entry::getInt>(inDataRef);
}

XPLM_API void XPLMSetDatai(XPLMDataRef inDataRef, int inValue) {
  Write<&Entry::setInt>(inDataRef, inValue);
}

XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef) {
  return Read<&Entry::getFloat>(inDataRef);
}

XPLM_API void XPLMSetDataf(XPLMDataRef inDataRef, float inValue) {
  Write<&Entry::setFloat>(inDataRef, inValue);
}

XPLM_API double XPLMGetDatad(XPLMDataRef inDataRef) {
  return Read<&Entry::getDouble>(inDataRef);
}

XPLM_API void XPLMSetDatad(XPLMDataRef inDataRef, double inValue) {
  Write<&Entry::setDouble>(inDataRef, inValue);
}

XPLM_API int XPLMGetDatavi(XPLMDataRef inDataRef, int* outValues, int inOffset, int inMax) {
  return Read<&Entry::getIntArray>(inDataRef, outValues, inOffset, inMax);
}

XPLM_API void XPLMSetDatavi(XPLMDataRef inDataRef, int* inValues, int inoffset, int inCount) {
  Write<&Entry::setIntArray>(inDataRef, inValues, inoffset, inCount);
}

XPLM_API int XPLMGetDatavf(XPLMDataRef inDataRef, float* outValues, int inOffset, int inMax) {
  return Read<&Entry::getFloatArray>(inDataRef, outValues, inOffset, inMax);
}

XPLM_API void XPLMSetDatavf(XPLMDataRef inDataRef, float* inValues, int inoffset, int inCount) {
  Write<&Entry::setFloatArray>(inDataRef, inValues, inoffset, inCount);
}

XPLM_API int XPLMGetDatab(XPLMDataRef inDataRef, void* outValue, int inOffset, int inMaxBytes) {
  return Read<&Entry::getData>(inDataRef, outValue, inOffset, inMaxBytes);
}

XPLM_API void XPLMSetDatab(XPLMDataRef inDataRef, void* inValue, int inOffset, int inLength) {
  Write<&Entry::setData>(inDataRef, inValue, inOffset, inLength);
}

XPLM_API XPLMDataRef XPLMRegisterDataAccessor(
    const char* inDataName, XPLMDataTypeID inDataType, int inIsWritable, XPLMGetDatai_f inReadInt,
    XPLMSetDatai_f inWriteInt, XPLMGetDataf_f inReadFloat, XPLMSetDataf_f inWriteFloat,
    XPLMGetDatad_f inReadDouble, XPLMSetDatad_f inWriteDouble, XPLMGetDatavi_f inReadIntArray,
    XPLMSetDatavi_f inWriteIntArray, XPLMGetDatavf_f inReadFloatArray, XPLMSetDatavf_f inWriteFloatArray,
    XPLMGetDatab_f inReadData, XPLMSetDatab_f inWriteData, void* inReadRefcon, void* inWriteRefcon) {
  return sim::WithHost<XPLMDataRef>(nullptr, [&](Host& host) {
    return host.datarefs().registerAccessor(
        inDataName, inDataType, inIsWritable,
        {inReadInt, inWriteInt, inReadFloat, inWriteFloat, inReadDouble, inWriteDouble, inReadIntArray,
         inWriteIntArray, inReadFloatArray, inWriteFloatArray, inReadData, inWriteData, inReadRefcon,
         inWriteRefcon});
  });
}

XPLM_API void XPLMUnregisterDataAccessor(XPLMDataRef inDataRef) {
  sim::WithHost([&](Host& host) { host.datarefs().unregisterAccessor(inDataRef); });
}
