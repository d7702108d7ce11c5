#ifndef XPLMPlanes_h
#define XPLMPlanes_h

// Aircraft queries. Index 0 is always the user's aircraft.

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

// outFileName needs room for 256 chars, outPath for 512.
XPLM_API void XPLMGetNthAircraftModel(int inIndex, char* outFileName, char* outPath);
XPLM_API void XPLMCountAircraft(int* outTotalAircraft, int* outActiveAircraft, XPLMPluginID* outController);

#ifdef __cplusplus
}
#endif

#endif  // XPLMPlanes_h
