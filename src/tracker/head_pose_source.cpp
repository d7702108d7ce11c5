// Skeleton: replaced by the full implementation.
#include "tracker/head_pose_source.h"

namespace talvenor {

int ProbeHeadPoseSource() { return 0; }
void StopHeadPoseSource() {}
int ReadHeadPose(float*, float*, float*, float*, float*, float*) { return 5; }

}  // namespace talvenor
