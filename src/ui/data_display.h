// The data display: a read-only window of what the plugin is doing, refreshed by the per-frame update.
#pragma once

#include <cstdint>

#include "XPWidgetDefs.h"

namespace talvenor {

// The main window's callback: 1 for the close box, 0 for anything else.
extern "C" int DataDisplayHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1,
                                  intptr_t param2);
// Shows the window, building it on first use.
void OpenDataDisplay();
// Shows or hides the window, building it on first use.
void ToggleDataDisplay();

}  // namespace talvenor
