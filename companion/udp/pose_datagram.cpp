#include "pose_datagram.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace talvenor::udp {

Decoded DecodePoseDatagram(const unsigned char* bytes, std::size_t size, TrackerPose& pose) {
  if (bytes == nullptr || size != kPoseDatagramSize) return Decoded::kWrongSize;
  TrackerPose decoded{};
  for (std::size_t axis = 0; axis < decoded.size(); ++axis) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < 8; ++i) bits |= std::uint64_t{bytes[axis * 8 + i]} << (8 * i);
    decoded[axis] = std::bit_cast<double>(bits);
    if (!std::isfinite(decoded[axis])) return Decoded::kNotFinite;
  }
  pose = decoded;
  return Decoded::kPose;
}

}  // namespace talvenor::udp
