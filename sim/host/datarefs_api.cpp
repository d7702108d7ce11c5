// XPLMDataAccess.h on the current host, behind the guard that keeps host exceptions out of the plugin's C
// code.
#include "datarefs_entry.h"

#include "c_guard.h"

using sim::DataRefs;
using sim::Host;

namespace {
DataRefs::Entry* Resolve(Host& host, XPLMDataRef ref) {
  return host.datarefs().fromHandle(ref);
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
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    if (entry == nullptr || !entry->live) return 0;
    return entry->mayWrite(entry->types, true) ? 1 : 0;
  });
}

XPLM_API int XPLMIsDataRefGood(XPLMDataRef inDataRef) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr && entry->live ? 1 : 0;
  });
}

XPLM_API XPLMDataTypeID XPLMGetDataRefTypes(XPLMDataRef inDataRef) {
  return sim::WithHost<XPLMDataTypeID>(xplmType_Unknown, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr && entry->live ? entry->types : xplmType_Unknown;
  });
}

XPLM_API int XPLMGetDatai(XPLMDataRef inDataRef) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getInt() : 0;
  });
}

XPLM_API void XPLMSetDatai(XPLMDataRef inDataRef, int inValue) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef)) entry->setInt(inValue, true);
  });
}

XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef) {
  return sim::WithHost(0.0f, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getFloat() : 0.0f;
  });
}

XPLM_API void XPLMSetDataf(XPLMDataRef inDataRef, float inValue) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef)) entry->setFloat(inValue, true);
  });
}

XPLM_API double XPLMGetDatad(XPLMDataRef inDataRef) {
  return sim::WithHost(0.0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getDouble() : 0.0;
  });
}

XPLM_API void XPLMSetDatad(XPLMDataRef inDataRef, double inValue) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef)) entry->setDouble(inValue, true);
  });
}

XPLM_API int XPLMGetDatavi(XPLMDataRef inDataRef, int* outValues, int inOffset, int inMax) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getIntArray(outValues, inOffset, inMax) : 0;
  });
}

XPLM_API void XPLMSetDatavi(XPLMDataRef inDataRef, int* inValues, int inoffset, int inCount) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef))
      entry->setIntArray(inValues, inoffset, inCount, true);
  });
}

XPLM_API int XPLMGetDatavf(XPLMDataRef inDataRef, float* outValues, int inOffset, int inMax) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getFloatArray(outValues, inOffset, inMax) : 0;
  });
}

XPLM_API void XPLMSetDatavf(XPLMDataRef inDataRef, float* inValues, int inoffset, int inCount) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef))
      entry->setFloatArray(inValues, inoffset, inCount, true);
  });
}

XPLM_API int XPLMGetDatab(XPLMDataRef inDataRef, void* outValue, int inOffset, int inMaxBytes) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getData(outValue, inOffset, inMaxBytes) : 0;
  });
}

XPLM_API void XPLMSetDatab(XPLMDataRef inDataRef, void* inValue, int inOffset, int inLength) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef)) entry->setData(inValue, inOffset, inLength, true);
  });
}

XPLM_API XPLMDataRef XPLMRegisterDataAccessor(
    const char* inDataName, XPLMDataTypeID inDataType, int inIsWritable, XPLMGetDatai_f inReadInt,
    XPLMSetDatai_f inWriteInt, XPLMGetDataf_f inReadFloat, XPLMSetDataf_f inWriteFloat,
    XPLMGetDatad_f inReadDouble, XPLMSetDatad_f inWriteDouble, XPLMGetDatavi_f inReadIntArray,
    XPLMSetDatavi_f inWriteIntArray, XPLMGetDatavf_f inReadFloatArray, XPLMSetDatavf_f inWriteFloatArray,
    XPLMGetDatab_f inReadData, XPLMSetDatab_f inWriteData, void* inReadRefcon, void* inWriteRefcon) {
  return sim::WithHost<XPLMDataRef>(nullptr, [&](Host& host) {
    return host.datarefs().registerAccessor(
        inDataName, inDataType, inIsWritable, inReadInt, inWriteInt, inReadFloat, inWriteFloat, inReadDouble,
        inWriteDouble, inReadIntArray, inWriteIntArray, inReadFloatArray, inWriteFloatArray, inReadData,
        inWriteData, inReadRefcon, inWriteRefcon);
  });
}

XPLM_API void XPLMUnregisterDataAccessor(XPLMDataRef inDataRef) {
  sim::WithHost([&](Host& host) { host.datarefs().unregisterAccessor(inDataRef); });
}
