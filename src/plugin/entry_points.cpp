// The five functions X-Plane calls; everything else the plugin does hangs off these.
#include "plugin/entry_points.h"

#include "plugin/plugin.h"

PLUGIN_API int XPluginStart(char* outName, char* outSig, char* outDesc) {
  talvenor::StartPlugin(outName, outSig, outDesc);
  return 1;
}

PLUGIN_API void XPluginStop(void) {
  talvenor::StopPlugin();
}

PLUGIN_API int XPluginEnable(void) {
  return 1;
}

PLUGIN_API void XPluginDisable(void) {
  talvenor::DisablePlugin();
}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID inFrom, int inMessage, void* inParam) {
  talvenor::ReceiveMessage(inFrom, inMessage, inParam);
}
