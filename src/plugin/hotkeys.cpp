// Skeleton: replaced by the full implementation.
#include "plugin/hotkeys.h"

namespace talvenor {

void RegisterHotkeys() {}
void UnregisterHotkeys() {}
void HotkeyHandler(void*) {}

}  // namespace talvenor
