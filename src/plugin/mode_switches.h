// Switching view control and head tracking on and off, keeping the plugin menu in step.
#pragma once

namespace talvenor {

void EnableViewControl();
void DisableViewControl(int viewType);
void SwitchTrackerOn();
void SwitchTrackerOff();
void ToggleViewControl();
void ToggleTracker();

}  // namespace talvenor
