// The receiving side of the UDP plugin: the socket, the newest pose, the on switch with its timeout, the
// counts and the state text the menu shows. Runs on the simulator's thread, once per frame, without waiting
// and without allocating.
#pragma once

#include <cstddef>
#include <cstdint>

#include "pose_datagram.h"
#include "talvenor_link.h"
#include "udp_settings.h"
#include "udp_socket.h"

namespace talvenor::udp {

inline constexpr std::size_t kStateTextSize = 96;

class Receiver {
 public:
  void Configure(const UdpSettings& settings) { settings_ = settings; }
  const UdpSettings& Settings() const { return settings_; }

  // Opens the socket; false (with the reason in the state text and the log) when it cannot be bound. Says
  // in the log when datagrams from other computers can reach it.
  bool Open();
  // Switches the source off in Talvenor if this plugin had it on, and closes the socket.
  void Close();

  // One frame at NOW seconds of the simulator's elapsed time: takes the waiting datagrams (a bounded number,
  // more than the socket holds), keeps the newest pose, writes it to Talvenor, and TIMEOUT seconds after the
  // last good datagram writes a pose of zeros and then switches the source off, so that the head comes back
  // to the preset.
  void RunFrame(double now);

  void SetPaused(bool paused);
  bool Paused() const { return paused_; }

  // The menu's texts: "Listening on A.B.C.D:P", "Receiving at N Hz on A.B.C.D:P", "Paused",
  // "Talvenor not loaded" or why the port cannot be used; and "Dropped datagrams: N".
  void StateText(char* buffer, std::size_t size) const;
  void DroppedText(char* buffer, std::size_t size) const;
  std::uint64_t Dropped() const { return dropped_; }

 private:
  void Drain(double now);
  void Pass(double now);  // to Talvenor: the newest pose, or the switch off after the timeout
  void Drop(const char* why);
  void SwitchOff();
  void ReturnHead(double now);  // the pose of zeros, then the switch off after a hold
  bool Convert(const TrackerPose& pose, TalvenorOffsets& offsets) const;

  UdpSettings settings_;
  SocketHandle socket_ = kNoSocket;
  char problem_[kStateTextSize] = {};
  TalvenorLink link_;
  bool talvenorLoaded_ = false;
  bool paused_ = false;
  bool sourceOn_ = false;       // this plugin's last write of Talvenor's switch was 1
  double returningSince_ = -1;  // when the pose of zeros was written; -1: none is up
  bool newPose_ = false;
  TrackerPose newest_{};
  double lastPoseTime_ = 0;
  std::uint64_t dropped_ = 0;
  bool droppedLogged_ = false;
  // The rate: good datagrams counted over windows of at least a second.
  double windowStart_ = -1;
  double lastFrameTime_ = 0;
  int windowCount_ = 0;
  int rateHz_ = -1;  // -1: no window completed yet
};

}  // namespace talvenor::udp
