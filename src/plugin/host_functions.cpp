#include "plugin/host_functions.h"

#include "config/bounded_text.h"
#include "os/library.h"

namespace talvenor {
namespace {

// The host hands out addresses as object pointers; on the platforms X-Plane runs on they convert to
// function pointers and back.
template <typename Function>
Function As(void* address) {
  return reinterpret_cast<Function>(address);
}

}  // namespace

CreateCommandFunction OptionalHostFunctions::createCommand() const {
  return As<CreateCommandFunction>(entries[kHostCreateCommand]);
}
FindCommandFunction OptionalHostFunctions::findCommand() const {
  return As<FindCommandFunction>(entries[kHostFindCommand]);
}
CommandOnceFunction OptionalHostFunctions::commandOnce() const {
  return As<CommandOnceFunction>(entries[kHostCommandOnce]);
}
CommandHandlerFunction OptionalHostFunctions::registerCommandHandler() const {
  return As<CommandHandlerFunction>(entries[kHostRegisterCommandHandler]);
}
CommandHandlerFunction OptionalHostFunctions::unregisterCommandHandler() const {
  return As<CommandHandlerFunction>(entries[kHostUnregisterCommandHandler]);
}

int FillOptionalHostFunctions(FindSymbolFunction findSymbol) {
  OptionalHostFunctions& table = HostFunctions();
  if (findSymbol == nullptr) {
    table.entries.fill(nullptr);
    return 0;
  }
  for (int entry = 0; entry < kOptionalHostFunctionCount; ++entry) {
    table.entries[entry] = findSymbol(kOptionalHostFunctionNames[entry]);
  }
  return 1;
}

int LoadOptionalHostFunctions(const char* libraryPath) {
  void* library = os::OpenLibrary(libraryPath, HostPathText());
  if (library == nullptr) return 0;
  return FillOptionalHostFunctions(As<FindSymbolFunction>(os::LibrarySymbol(library, "XPLMFindSymbol")));
}

}  // namespace talvenor
