// Any bytes as a datagram that reaches TalvenorUDP: only 48 bytes of six finite numbers are a pose, and the
// pose is those numbers as the machine reads little-endian doubles; anything else leaves the pose alone.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pose_datagram.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "udp datagram fuzz: %s\n", what);
  std::abort();
}

}  // namespace

static_assert(std::endian::native == std::endian::little,
              "the reference reading copies the bytes as they are");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using talvenor::udp::Decoded;
  constexpr double kUntouched = -12345.5;
  talvenor::udp::TrackerPose pose;
  pose.fill(kUntouched);
  const Decoded result = talvenor::udp::DecodePoseDatagram(data, size, pose);

  double reference[talvenor::udp::kTrackerAxes] = {};
  bool finite = size == talvenor::udp::kPoseDatagramSize;
  if (finite) {
    std::memcpy(reference, data, sizeof reference);
    for (const double value : reference) finite = finite && std::isfinite(value);
  }
  if (size != talvenor::udp::kPoseDatagramSize) {
    Check(result == Decoded::kWrongSize, "a datagram of another size is not refused for its size");
  } else {
    Check(result == (finite ? Decoded::kPose : Decoded::kNotFinite), "a pose is refused or taken wrongly");
  }
  for (std::size_t axis = 0; axis < pose.size(); ++axis) {
    const double expected = result == Decoded::kPose ? reference[axis] : kUntouched;
    Check(std::memcmp(&pose[axis], &expected, sizeof expected) == 0,
          "the pose is not the datagram's little-endian numbers, or a refused one changed it");
  }
  return 0;
}
