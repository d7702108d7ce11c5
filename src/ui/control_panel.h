// The control panel: the plugin's main window, and the operations that show and change it.
#pragma once

#include <cstdint>

#include "XPWidgetDefs.h"

namespace talvenor {

// The main window's callback: 1 when the message was the panel's own (close box, its boxes, its buttons).
extern "C" int ControlPanelHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1,
                                   intptr_t param2);
// Builds the panel hidden unless it exists already (then it stays as it is).
void BuildControlPanelHidden();
// Shows the panel, building it on first use; an existing panel's source widgets are left as they are.
void OpenControlPanel();
// Shows or hides the panel, building it on first use.
void ToggleControlPanel();
// A preset button: the stored preset becomes the live view, or an empty slot stores the view (and its limits
// are cleared); the continuous box goes off and "Preset No." shows the preset.
void PresetButtonPressed(int preset);
// A capture button: the selected slot's bound (X1, X2, Y1, Y2, Z1, Z2 as 0..5) := the view's value, shown.
void CaptureLimit(int index);
// These change the state whether or not the panel exists; its widgets follow when it does.
void ToggleForceEffects();
void TogglePresetLimits();

}  // namespace talvenor
