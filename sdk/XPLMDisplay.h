#ifndef XPLMDisplay_h
#define XPLMDisplay_h

// Display services. Only hot keys are declared here; windows appear only as an opaque ID because
// the widgets library hands them out.

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

// Opaque window handle.
typedef void* XPLMWindowID;

// Opaque hot key handle.
typedef void* XPLMHotKeyID;

typedef void (*XPLMHotKey_f)(void* inRefcon);

// The key is only a preference: the user (or another plugin) may remap it later.
XPLM_API XPLMHotKeyID XPLMRegisterHotKey(char inVirtualKey, XPLMKeyFlags inFlags, const char* inDescription,
                                         XPLMHotKey_f inCallback, void* inRefcon);
XPLM_API void XPLMUnregisterHotKey(XPLMHotKeyID inHotKey);
XPLM_API int XPLMCountHotKeys(void);
XPLM_API XPLMHotKeyID XPLMGetNthHotKey(int inIndex);
// Any output may be NULL; outDescription needs room for 512 chars.
XPLM_API void XPLMGetHotKeyInfo(XPLMHotKeyID inHotKey, char* outVirtualKey, XPLMKeyFlags* outFlags,
                                char* outDescription, XPLMPluginID* outPlugin);
XPLM_API void XPLMSetHotKeyCombination(XPLMHotKeyID inHotKey, char inVirtualKey, XPLMKeyFlags inFlags);

#ifdef __cplusplus
}
#endif

#endif  // XPLMDisplay_h
