// The control panel: the plugin's main window, and the operations that show and change it.
#pragma once

#include <cstdint>

#include "XPWidgetDefs.h"

namespace talvenor {

inline constexpr int kControlPanelLeft = 10;
inline constexpr int kControlPanelTop = 550;
inline constexpr int kControlPanelWidth = 430;
inline constexpr int kControlPanelHeight = 320;

// Creates the window and every widget, shown; the caller sets controlPanelCreated and may hide it.
void BuildControlPanel(int left, int top, int width, int height);
int ControlPanelHandler(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2);
void ToggleControlPanel();
void ToggleForceEffects();
void TogglePresetLimits();

}  // namespace talvenor
