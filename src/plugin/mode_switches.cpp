// Skeleton: replaced by the full implementation.
#include "plugin/mode_switches.h"

namespace talvenor {

void EnableViewControl() {}
void DisableViewControl(int) {}
void SwitchTrackerOn() {}
void SwitchTrackerOff() {}
void ToggleViewControl() {}
void ToggleTracker() {}

}  // namespace talvenor
