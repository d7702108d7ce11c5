// Skeleton: replaced by the full implementation.
#include "ui/panels.h"

namespace talvenor {

bool TrackerAxisEnabled(int) { return false; }
float TrackerTranslationMultiplier() { return 0; }
bool ContinuousMode() { return false; }
bool LimitsEnableBox() { return false; }
bool ForceEffectsBox() { return false; }
void ShowPresetBoxesFirstOnly() {}
void ShowPresetNumber(int) {}
void ShowChangeIndicators(bool, bool) {}
void ShowPilotOffsets(const HeadPose&) {}
void ShowSourcePose(const HeadPose&) {}
void ShowDataDisplay(const HeadPose&, const float (&)[3], const float (&)[6]) {}
void SetForceEffectsBoxes(bool) {}
void ClearAllLimits() {}
void RefreshSourceWidgets() {}
void HideAllWindows() {}

}  // namespace talvenor
