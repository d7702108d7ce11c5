// The effects panel: the force effects' six divisors and their switch, tried out, saved and loaded per
// aircraft.
#pragma once

#include <cstdint>

#include "XPWidgetDefs.h"

namespace talvenor {

// The main window's callback: 1 when the message was the panel's own (close box, its box, its buttons).
extern "C" int EffectsPanelHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1,
                                   intptr_t param2);
// Builds the panel hidden unless it exists already.
void BuildEffectsPanelHidden();
// Shows the panel, building it on first use.
void OpenEffectsPanel();
// Shows or hides the panel, building it on first use.
void ToggleEffectsPanel();
// The six fields become the divisors; a field reading 0 stores 1 and is rewritten "1". Without the panel
// nothing changes.
void ApplyEffectsFields();

}  // namespace talvenor
