// The five functions X-Plane looks up in the plugin's library; programs that link the plugin's code call them
// as the simulator would.
#pragma once

#include "XPLMDefs.h"

PLUGIN_API int XPluginStart(char* outName, char* outSig, char* outDesc);
PLUGIN_API void XPluginStop(void);
PLUGIN_API int XPluginEnable(void);
PLUGIN_API void XPluginDisable(void);
PLUGIN_API void XPluginReceiveMessage(XPLMPluginID inFrom, int inMessage, void* inParam);
