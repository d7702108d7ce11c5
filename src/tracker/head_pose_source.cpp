// Every probe reports "no source", there is nothing to stop and no pose is ever new (README: still to come).
#include "tracker/head_pose_source.h"

namespace talvenor {

namespace {
constexpr int kNoNewPose = 5;
}  // namespace

int ProbeHeadPoseSource() {
  return 0;
}

void StopHeadPoseSource() {}

int ReadHeadPose(float*, float*, float*, float*, float*, float*) {
  return kNoNewPose;
}

}  // namespace talvenor
