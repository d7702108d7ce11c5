// The data display: a read-only window of what the plugin is doing, refreshed by the per-frame update.
#pragma once

#include <cstdint>

#include "XPWidgetDefs.h"

namespace talvenor {

inline constexpr int kDataDisplayLeft = 120;
inline constexpr int kDataDisplayTop = 540;
inline constexpr int kDataDisplayWidth = 270;
inline constexpr int kDataDisplayHeight = 480;

// Creates the window and its 21 rows, shown; the caller sets dataDisplayCreated. A window that exists
// already is left as it is.
void BuildDataDisplay(int left, int top, int width, int height);
// The main window's callback: 1 for the close box, 0 for anything else.
extern "C" int DataDisplayHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1,
                                  intptr_t param2);
// Shows the window, building it on first use.
void OpenDataDisplay();
// Shows or hides the window, building it on first use.
void ToggleDataDisplay();

}  // namespace talvenor
