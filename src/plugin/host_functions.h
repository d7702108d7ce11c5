// The host functions found at run time instead of linked: X-Plane's SDK library is loaded by its path, its
// XPLMFindSymbol is taken from it and asked for a fixed list of names. Without that lookup the plugin runs
// without commands; everything else works.
#pragma once

#include <array>

#include "XPLMUtilities.h"
#include "plugin/state.h"

namespace talvenor {

// The entries of OptionalHostFunctions, in lookup order.
enum OptionalHostFunction {
  kHostCreateWindowEx = 0,
  kHostMeasureString,
  kHostCreateProbe,
  kHostDestroyProbe,
  kHostProbeTerrainXYZ,
  kHostLoadObject,
  kHostDrawObjects,
  kHostUnloadObject,
  kHostLookupObjects,
  kHostSetErrorCallback,
  kHostLoadDataFile,
  kHostSaveDataFile,
  kHostFindCommand,
  kHostCommandBegin,
  kHostCommandEnd,
  kHostCommandOnce,
  kHostCreateCommand,
  kHostRegisterCommandHandler,
  kHostUnregisterCommandHandler,
  kHostHasFeature,
  kHostIsFeatureEnabled,
  kHostEnableFeature,
  kHostEnumerateFeatures,
  kOptionalHostFunctionCount
};

inline constexpr std::array<const char*, kOptionalHostFunctionCount> kOptionalHostFunctionNames = {
    "XPLMCreateWindowEx",
    "XPLMMeasureString",
    "XPLMCreateProbe",
    "XPLMDestroyProbe",
    "XPLMProbeTerrainXYZ",
    "XPLMLoadObject",
    "XPLMDrawObjects",
    "XPLMUnloadObject",
    "XPLMLookupObjects",
    "XPLMSetErrorCallback",
    "XPLMLoadDataFile",
    "XPLMSaveDataFile",
    "XPLMFindCommand",
    "XPLMCommandBegin",
    "XPLMCommandEnd",
    "XPLMCommandOnce",
    "XPLMCreateCommand",
    "XPLMRegisterCommandHandler",
    "XPLMUnregisterCommandHandler",
    "XPLMHasFeature",
    "XPLMIsFeatureEnabled",
    "XPLMEnableFeature",
    "XPLMEnumerateFeatures",
};

using FindSymbolFunction = void* (*)(const char* name);
using CreateCommandFunction = XPLMCommandRef (*)(const char* name, const char* description);
using FindCommandFunction = XPLMCommandRef (*)(const char* name);
using CommandOnceFunction = void (*)(XPLMCommandRef command);
// XPLMRegisterCommandHandler and XPLMUnregisterCommandHandler.
using CommandHandlerFunction = void (*)(XPLMCommandRef command, XPLMCommandCallback_f handler, int before,
                                        void* refcon);

// Each entry null or the address the host gave for its name.
struct OptionalHostFunctions {
  std::array<void*, kOptionalHostFunctionCount> entries{};

  CreateCommandFunction createCommand() const;
  FindCommandFunction findCommand() const;
  CommandOnceFunction commandOnce() const;
  CommandHandlerFunction registerCommandHandler() const;
  CommandHandlerFunction unregisterCommandHandler() const;
};

// Loads the library at LIBRARYPATH and fills the table through its XPLMFindSymbol. 1 when the lookup function
// was found and asked for every name; 0 when the library cannot be loaded (the table is left as it was) or
// has no XPLMFindSymbol (every entry becomes null). The library is never released.
int LoadOptionalHostFunctions(const char* libraryPath);

// The table filled through FINDSYMBOL, one call per name in lookup order: 1. A null FINDSYMBOL empties the
// table: 0.
int FillOptionalHostFunctions(FindSymbolFunction findSymbol);

}  // namespace talvenor
