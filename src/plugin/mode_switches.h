// Switching view control and head tracking on and off, keeping the plugin menu in step.
#pragma once

namespace talvenor {

void EnableViewControl();
void DisableViewControl(int viewType);
// With view control on, the Roll Offset saved at switch-on goes back before the simulator may write its
// preferences or stop hearing from the plugin; the next frame writes the view's roll again.
void PutBackRollWhileOn();
void SwitchTrackerOn();
void SwitchTrackerOff();
void ToggleViewControl();
void ToggleTracker();
// The menu's tracker items: as the switches, and the toggle's state follows the item, whatever the outcome.
void PickTrackerOn();
void PickTrackerOff();

// In external-data mode the tracker follows the external source's own switch: the toggle's state and menu
// items 5 and 6 follow it, and tracking goes active while it is on and view control is on or the control
// panel exists.
void FollowSourceState();
// FollowSourceState, then the control panel's source widgets follow (RefreshSourceWidgets).
void RefreshSource();

}  // namespace talvenor
