// Skeleton: replaced by the full implementation.
#include "view/view_state.h"

namespace talvenor {

EffectsSettings StartEffects() { return {}; }
void ApplyView(std::int32_t) {}
void ResetPresetsToCurrentView() {}
void LoadWorkingPose(int) {}

}  // namespace talvenor
