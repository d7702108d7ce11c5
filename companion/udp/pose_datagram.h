// The head pose a UDP head tracker sends: one datagram per pose, six little-endian 64-bit floats in the order
// x, y, z (centimetres), yaw, pitch, roll (degrees), 48 bytes and nothing else.
#pragma once

#include <array>
#include <cstddef>

namespace talvenor::udp {

inline constexpr std::size_t kPoseDatagramSize = 48;

// The tracker's axes in datagram order.
enum TrackerAxis { kAxisX, kAxisY, kAxisZ, kAxisYaw, kAxisPitch, kAxisRoll, kTrackerAxes };

using TrackerPose = std::array<double, kTrackerAxes>;

enum class Decoded { kPose, kWrongSize, kNotFinite };

// The pose of a datagram; POSE is changed only when the result is kPose.
Decoded DecodePoseDatagram(const unsigned char* bytes, std::size_t size, TrackerPose& pose);

}  // namespace talvenor::udp
