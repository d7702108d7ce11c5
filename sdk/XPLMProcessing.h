#ifndef XPLMProcessing_h
#define XPLMProcessing_h

// Flight loop callbacks: periodic work run on X-Plane's main thread, once per frame at most.

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

// The return value schedules the next call: > 0 is seconds, < 0 is frames, 0 stops calling.
typedef float (*XPLMFlightLoop_f)(float inElapsedSinceLastCall, float inElapsedTimeSinceLastFlightLoop,
                                  int inCounter, void* inRefcon);

XPLM_API float XPLMGetElapsedTime(void);
XPLM_API int XPLMGetCycleNumber(void);

// inInterval uses the same convention as the callback's return value.
XPLM_API void XPLMRegisterFlightLoopCallback(XPLMFlightLoop_f inFlightLoop, float inInterval, void* inRefcon);
XPLM_API void XPLMUnregisterFlightLoopCallback(XPLMFlightLoop_f inFlightLoop, void* inRefcon);
XPLM_API void XPLMSetFlightLoopCallbackInterval(XPLMFlightLoop_f inFlightLoop, float inInterval,
                                                int inRelativeToNow, void* inRefcon);

#ifdef __cplusplus
}
#endif

#endif  // XPLMProcessing_h
