// The five functions X-Plane calls; everything else the plugin does hangs off these.
#include <cstring>

#include "XPLMDefs.h"

namespace {

constexpr char kName[] = "Talvenor";
constexpr char kSignature[] = "quorlend.projects.talvenor";
constexpr char kDescription[] = "Talvenor allows the pilot's view to be moved around the 3-D cockpit.";

// The host's buffers hold at least 256 characters; the texts are far shorter.
void CopyIdentity(char* out, const char* text) { std::memcpy(out, text, std::strlen(text) + 1); }

}  // namespace

PLUGIN_API int XPluginStart(char* outName, char* outSig, char* outDesc) {
  CopyIdentity(outName, kName);
  CopyIdentity(outSig, kSignature);
  CopyIdentity(outDesc, kDescription);
  return 1;
}

PLUGIN_API void XPluginStop(void) {}

PLUGIN_API int XPluginEnable(void) { return 1; }

PLUGIN_API void XPluginDisable(void) {}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID, int, void*) {}
