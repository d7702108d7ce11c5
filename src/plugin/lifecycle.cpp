// Skeleton: replaced by the full implementation.
#include "plugin/plugin.h"
#include <cstring>

#include "plugin/identity.h"

namespace talvenor {

void StartPlugin(char* outName, char* outSig, char* outDesc) {
  std::strcpy(outName, kPluginName);
  std::strcpy(outSig, kPluginSignature);
  std::strcpy(outDesc, kPluginDescription);
}
void StopPlugin() {}
void ReceiveMessage(int, int, void*) {}

}  // namespace talvenor
