// Switching view control and head tracking on and off, keeping the plugin menu in step.
#pragma once

namespace talvenor {

void EnableViewControl();
void DisableViewControl(int viewType);
void SwitchTrackerOn();
void SwitchTrackerOff();
void ToggleViewControl();
void ToggleTracker();

// Makes a stored preset (0..7) the live view, writes it without bounds and shows its limits on the control
// panel; an index out of range does nothing.
void SelectPreset(int preset);

}  // namespace talvenor
