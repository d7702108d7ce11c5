#include "plugin/view_selection.h"

#include <cstdio>

#include "XPLMDataAccess.h"
#include "config/log.h"
#include "plugin/host_functions.h"
#include "plugin/plugin.h"

namespace talvenor {
namespace {

XPLMCommandRef FindViewCommand(int viewType) {
  ViewSelection& selection = State().viewSelection;
  if (!selection.looked) {
    // Found through the same run-time lookup as the other command functions; a host without it has none.
    selection.looked = true;
    const FindCommandFunction find = HostFunctions().findCommand();
    for (std::size_t i = 0; i < kViewCommands.size(); ++i) {
      selection.commands[i] = find != nullptr ? find(kViewCommands[i].path) : nullptr;
    }
  }
  for (std::size_t i = 0; i < kViewCommands.size(); ++i) {
    if (kViewCommands[i].viewType == viewType) return selection.commands[i];
  }
  return nullptr;
}

}  // namespace

void SelectViewType(int viewType) {
  const XPLMDataRef ref = SimRefs().viewType;
  if (XPLMCanWriteDataRef(ref) != 0) {
    XPLMSetDatai(ref, viewType);
    return;
  }
  if (ref != nullptr && XPLMGetDatai(ref) == viewType) return;
  const XPLMCommandRef command = FindViewCommand(viewType);
  const CommandOnceFunction once = HostFunctions().commandOnce();
  if (command != nullptr && once != nullptr) {
    once(command);
    return;
  }
  ViewSelection& selection = State().viewSelection;
  if (selection.reported) return;
  selection.reported = true;
  char message[kLogMessageSize];
  (void)std::snprintf(message, sizeof message,
                      "The simulator offers no command that selects view %d; the view stays as it is\n",
                      viewType);
  LogMessage(message);
}

}  // namespace talvenor
