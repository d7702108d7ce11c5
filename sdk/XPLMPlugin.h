#ifndef XPLMPlugin_h
#define XPLMPlugin_h

// Finding and managing plugins, inter-plugin messages, and optional SDK features.

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

XPLM_API XPLMPluginID XPLMGetMyID(void);
XPLM_API int XPLMCountPlugins(void);
XPLM_API XPLMPluginID XPLMGetNthPlugin(int inIndex);
// Both lookups return XPLM_NO_PLUGIN_ID when nothing matches.
XPLM_API XPLMPluginID XPLMFindPluginByPath(const char* inPath);
XPLM_API XPLMPluginID XPLMFindPluginBySignature(const char* inSignature);
// Any output may be NULL; each buffer needs room for 256 chars.
XPLM_API void XPLMGetPluginInfo(XPLMPluginID inPlugin, char* outName, char* outFilePath, char* outSignature,
                                char* outDescription);

XPLM_API int XPLMIsPluginEnabled(XPLMPluginID inPluginID);
XPLM_API int XPLMEnablePlugin(XPLMPluginID inPluginID);
XPLM_API void XPLMDisablePlugin(XPLMPluginID inPluginID);
XPLM_API void XPLMReloadPlugins(void);

// Messages X-Plane sends to every plugin's XPluginReceiveMessage (from XPLM_PLUGIN_XPLANE). For
// PLANE_LOADED, PLANE_UNLOADED and LIVERY_LOADED inParam carries the aircraft index.
#define XPLM_MSG_PLANE_CRASHED 101
#define XPLM_MSG_PLANE_LOADED 102
#define XPLM_MSG_AIRPORT_LOADED 103
#define XPLM_MSG_SCENERY_LOADED 104
#define XPLM_MSG_AIRPLANE_COUNT_CHANGED 105
#if defined(XPLM200)
#define XPLM_MSG_PLANE_UNLOADED 106
#endif
#if defined(XPLM210)
#define XPLM_MSG_WILL_WRITE_PREFS 107
#define XPLM_MSG_LIVERY_LOADED 108
#endif

// Sending to XPLM_NO_PLUGIN_ID broadcasts to every enabled plugin.
XPLM_API void XPLMSendMessageToPlugin(XPLMPluginID inPlugin, int inMessage, void* inParam);

#if defined(XPLM200)
typedef void (*XPLMFeatureEnumerator_f)(const char* inFeature, void* inRef);

XPLM_API int XPLMHasFeature(const char* inFeature);
XPLM_API int XPLMIsFeatureEnabled(const char* inFeature);
XPLM_API void XPLMEnableFeature(const char* inFeature, int inEnable);
XPLM_API void XPLMEnumerateFeatures(XPLMFeatureEnumerator_f inEnumerator, void* inRef);
#endif  // XPLM200

#ifdef __cplusplus
}
#endif

#endif  // XPLMPlugin_h
