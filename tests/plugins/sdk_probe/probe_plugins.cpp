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
  auto find =
      library != nullptr ? reinterpret_cast<FindSymbol>(GetProcAddress(library, "XPLMFindSymbol")) : nullptr;
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
  void* known = XPLMFindSymbol("XPLMFindDataRef");
  c.findSymbolKnown = known != nullptr ? 1 : 0;
  c.findSymbolMatches = known == reinterpret_cast<void*>(&XPLMFindDataRef) ? 1 : 0;
  c.findSymbolUnknown = XPLMFindSymbol("XPLMNoSuchFunction") != nullptr ? 1 : 0;
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
