// The sixteen hotkey slots of the setup file, registered with the simulator at start.
#pragma once

#include "XPLMDisplay.h"
#include "config/setup_file.h"

namespace talvenor {

struct HotkeyRegistrations {
  XPLMHotKeyID ids[kHotkeySlots] = {};     // null: the slot is not registered
  char slotTexts[kHotkeySlots][256] = {};  // "00".."15": description and reference value
};

void RegisterHotkeys();    // one per enabled slot
void UnregisterHotkeys();  // and zero the enabled slots' bindings
extern "C" void HotkeyHandler(void* refcon);

}  // namespace talvenor
