// Skeleton: replaced by the probe plugin.
#include "XPLMDefs.h"
PLUGIN_API int XPluginStart(char*, char*, char*) { return 1; }
PLUGIN_API void XPluginStop(void) {}
PLUGIN_API int XPluginEnable(void) { return 1; }
PLUGIN_API void XPluginDisable(void) {}
PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int, void*) {}
