// The effects panel: the force effects' six divisors and their switch, tried out, saved and loaded per
// aircraft.
#pragma once

#include <cstdint>

#include "XPWidgetDefs.h"

namespace talvenor {

inline constexpr int kEffectsPanelLeft = 130;
inline constexpr int kEffectsPanelTop = 550;
inline constexpr int kEffectsPanelWidth = 310;
inline constexpr int kEffectsPanelHeight = 200;

// Creates the window and every widget, shown; the caller sets effectsPanelCreated and may hide it. A panel
// that exists already is left as it is.
void BuildEffectsPanel(int left, int top, int width, int height);
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
