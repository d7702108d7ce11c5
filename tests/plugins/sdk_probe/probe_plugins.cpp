// Other plugins and the host: messages in and out, lookups by signature, XPLMFindSymbol directly and through
// the SDK library in Resources/plugins (as a plugin does that must run on hosts without the command API).
#include <cstdint>

#if IBM
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "XPLMPlugin.h"
#include "probe.h"

namespace probe {
namespace {

using FindSymbol = void* (*)(const char*);

// Asks the SDK library installed in Resources/plugins for XPLMFindSymbol and uses it.
void CheckLibraryFindSymbol(Checks& c) {
  char system[kPathSize] = {};
  XPLMGetSystemPath(system);
  system[sizeof system - 1] = '\0';
  const char* sep = XPLMGetDirectorySeparator();
  char path[kPathSize];
#if IBM
  if (!Compose(path, sizeof path, "%sResources%splugins%sXPLM_64.dll", system, sep, sep)) return;
  HMODULE library = LoadLibraryA(path);
  // Through void*: GCC warns of a cast between unrelated function types.
  auto find =
      library != nullptr
          ? reinterpret_cast<FindSymbol>(reinterpret_cast<void*>(GetProcAddress(library, "XPLMFindSymbol")))
          : nullptr;
#else
  if (!Compose(path, sizeof path, "%sResources%splugins%sXPLM_64.so", system, sep, sep)) return;
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  auto find = library != nullptr ? reinterpret_cast<FindSymbol>(dlsym(library, "XPLMFindSymbol")) : nullptr;
#endif
  c.libraryOffersFindSymbol = find != nullptr ? 1 : 0;
  if (find != nullptr) {
    c.libraryKnown = find("XPLMCreateCommand") != nullptr ? 1 : 0;
    c.libraryUnknown = find("XPLMNoSuchFunction") != nullptr ? 1 : 0;
  }
#if IBM
  if (library != nullptr) FreeLibrary(library);
#else
  if (library != nullptr) dlclose(library);
#endif
}

// XPLMFindSymbol as the plugin is linked to it. A Windows plugin that imported it could not even be loaded
// by a host whose XPLM_64.dll lacks it, so there it is looked up in the loaded SDK library; on POSIX the
// process's own definition answers whatever the library in Resources/plugins offers.
FindSymbol LinkedFindSymbol() {
#if IBM
  HMODULE xplm = GetModuleHandleA("XPLM_64.dll");
  return xplm != nullptr
             ? reinterpret_cast<FindSymbol>(reinterpret_cast<void*>(GetProcAddress(xplm, "XPLMFindSymbol")))
             : nullptr;
#else
  return &XPLMFindSymbol;
#endif
}

}  // namespace

void AnnounceToEditor() {
  Probe& p = State();
  p.editorId = XPLMFindPluginBySignature(kEditorSignature);
  if (p.editorId == XPLM_NO_PLUGIN_ID) return;
  // The browser keeps the pointer only for the call, so literals are fine.
  static const char* const kNames[] = {"probe/int_value", "probe/float_value", "probe/float_array",
                                       "probe/data"};
  for (const char* name : kNames) {
    XPLMSendMessageToPlugin(p.editorId, kEditorAddDataRef, const_cast<char*>(name));
    ++p.announced;
  }
}

void CheckPlugins() {
  Checks& c = State().checks;
  c.myId = XPLMGetMyID();
  c.selfBySignature = XPLMFindPluginBySignature(kSignature);
  c.unknownSignature = XPLMFindPluginBySignature("no.such.plugin");
  c.pluginCount = XPLMCountPlugins();
  const FindSymbol find = LinkedFindSymbol();
  void* known = find != nullptr ? find("XPLMFindDataRef") : nullptr;
  c.findSymbolKnown = known != nullptr ? 1 : 0;
  c.findSymbolMatches = known == reinterpret_cast<void*>(&XPLMFindDataRef) ? 1 : 0;
  c.findSymbolUnknown = find != nullptr && find("XPLMNoSuchFunction") != nullptr ? 1 : 0;
  CheckLibraryFindSymbol(c);
}

void ReceiveMessage(XPLMPluginID from, int message, void* param) {
  Probe& p = State();
  ++p.messages;
  p.lastSender = from;
  p.lastMessage = message;
  if (message == XPLM_MSG_PLANE_LOADED) {
    ++p.planeLoaded;
    p.lastPlaneIndex = static_cast<int>(reinterpret_cast<std::intptr_t>(param));
  }
}

}  // namespace probe
