#include "receiver.h"

#include <cmath>
#include <cstdio>

#include "XPLMUtilities.h"

namespace talvenor::udp {
namespace {

// A flood cannot hold the simulator's frame: a frame takes this many datagrams at most, and the socket holds
// fewer, because a full buffer makes the system drop the datagrams that arrive, so only a frame that empties
// it finds the newest pose the system kept and leaves no backlog of old ones to the frames after it.
constexpr int kMostDatagramsPerFrame = 64;
constexpr int kMostHeldDatagrams = kMostDatagramsPerFrame - 1;
// Talvenor reads its source every 0.02 s of the simulator's clock, and only while the switch is on: the
// pose of zeros stays up this long before the switch goes off, so that Talvenor has taken it.
constexpr double kZeroPoseHold = 0.1;

const char* Reason(OpenFailure failure) {
  switch (failure) {
    case OpenFailure::kAddressInUse:
      return "the port is in use by another program";
    case OpenFailure::kAddressNotAvailable:
      return "the address is not one of this computer's";
    case OpenFailure::kNotPermitted:
      return "not permitted";
    case OpenFailure::kNoSockets:
      return "no network sockets";
    case OpenFailure::kOther:
    case OpenFailure::kNone:
      break;
  }
  return "system error";
}

void Log(const char* text) {
  XPLMDebugString("TalvenorUDP: ");
  XPLMDebugString(text);
  XPLMDebugString("\n");
}

}  // namespace

bool Receiver::Open() {
  problem_[0] = '\0';
  const OpenResult opened = OpenDatagramSocket(settings_.address, settings_.port, kMostHeldDatagrams);
  char address[16];
  FormatIPv4(settings_.address, address, sizeof address);
  char line[160];
  if (opened.socket == kNoSocket) {
    (void)std::snprintf(problem_, sizeof problem_, "Cannot listen on %s:%d: %s", address, settings_.port,
                        Reason(opened.failure));
    (void)std::snprintf(line, sizeof line, "%s (error %d); nothing will be received", problem_, opened.code);
    Log(line);
    return false;
  }
  socket_ = opened.socket;
  (void)std::snprintf(line, sizeof line, "listening on %s:%d", address, settings_.port);
  Log(line);
  if (settings_.address >> 24 != 127) {
    (void)std::snprintf(line, sizeof line,
                        "%s is not a loopback address: any computer that can reach port %d can move the view",
                        address, settings_.port);
    Log(line);
  }
  return true;
}

void Receiver::Close() {
  SwitchOff();
  CloseDatagramSocket(socket_);
  socket_ = kNoSocket;
  windowStart_ = -1;
  rateHz_ = -1;
}

void Receiver::SwitchOff() {
  if (sourceOn_ && talvenorLoaded_) link_.WriteEnabled(0);
  sourceOn_ = false;
  returningSince_ = -1;
}

// Talvenor keeps adding the last offsets after its source goes off, so the head comes back to the preset
// only through a pose of zeros, as opentrack sends one when it stops.
void Receiver::ReturnHead(double now) {
  if (!sourceOn_ || returningSince_ >= 0) return;
  if (talvenorLoaded_) link_.WriteOffsets({});
  returningSince_ = now;
}

void Receiver::SetPaused(bool paused) {
  paused_ = paused;
  if (paused_) ReturnHead(lastFrameTime_);
}

void Receiver::Drop(const char* why) {
  ++dropped_;
  if (droppedLogged_) return;
  droppedLogged_ = true;
  char line[160];
  (void)std::snprintf(line, sizeof line, "dropped a datagram: %s (the menu counts the ones that follow)",
                      why);
  Log(line);
}

bool Receiver::Convert(const TrackerPose& pose, TalvenorOffsets& offsets) const {
  float value[kTrackerAxes];
  for (int axis = 0; axis < kTrackerAxes; ++axis) {
    const AxisMapping& mapping = settings_.axes[static_cast<std::size_t>(axis)];
    value[axis] = static_cast<float>(mapping.sign * mapping.scale * pose[static_cast<std::size_t>(axis)]);
    // A value beyond a float's range would reach Talvenor as infinity.
    if (!std::isfinite(value[axis])) return false;
  }
  offsets = {value[kAxisX],     value[kAxisY],   value[kAxisZ],
             value[kAxisPitch], value[kAxisYaw], value[kAxisRoll]};
  return true;
}

void Receiver::Drain(double now) {
  unsigned char buffer[kPoseDatagramSize + 16];
  for (int i = 0; i < kMostDatagramsPerFrame; ++i) {
    std::size_t size = 0;
    const Receive received = ReceiveDatagram(socket_, buffer, sizeof buffer, size);
    if (received == Receive::kNothing || received == Receive::kError) return;
    TrackerPose pose{};
    TalvenorOffsets offsets;
    if (received == Receive::kTooLong) {
      Drop("longer than the 48 bytes of a pose");
    } else if (const Decoded decoded = DecodePoseDatagram(buffer, size, pose);
               decoded == Decoded::kWrongSize) {
      Drop("not the 48 bytes of a pose");
    } else if (decoded == Decoded::kNotFinite || !Convert(pose, offsets)) {
      Drop("a value that is not a finite number");
    } else {
      newest_ = pose;
      newPose_ = true;
      lastPoseTime_ = now;
      ++windowCount_;
    }
  }
}

void Receiver::RunFrame(double now) {
  if (socket_ == kNoSocket) return;
  newPose_ = false;
  lastFrameTime_ = now;
  if (windowStart_ < 0) windowStart_ = now;
  Drain(now);
  Pass(now);
  if (now - windowStart_ >= 1.0) {
    rateHz_ = static_cast<int>(std::lround(windowCount_ / (now - windowStart_)));
    windowStart_ = now;
    windowCount_ = 0;
  }
}

void Receiver::Pass(double now) {
  const bool wasLoaded = talvenorLoaded_;
  talvenorLoaded_ = link_.Connect();
  // A Talvenor loaded anew starts with its switch at 0.
  if (!talvenorLoaded_ || !wasLoaded) {
    sourceOn_ = false;
    returningSince_ = -1;
  }
  if (!talvenorLoaded_) return;
  const bool passOn = newPose_ && !paused_;
  // A pose that comes during the hold takes the head again, and the switch stays on.
  if (returningSince_ >= 0 && !passOn) {
    if (now - returningSince_ >= kZeroPoseHold) SwitchOff();
    return;
  }
  if (paused_) return;
  if (newPose_) {
    if (!sourceOn_) {
      // The rate is measured from the first datagram on: the ones that arrived in this frame start it.
      windowStart_ = now;
      windowCount_ = 0;
      rateHz_ = -1;
    }
    TalvenorOffsets offsets;
    Convert(newest_, offsets);
    link_.WriteOffsets(offsets);
    link_.WriteEnabled(1);
    sourceOn_ = true;
    returningSince_ = -1;
  } else if (sourceOn_ && now - lastPoseTime_ >= settings_.timeout) {
    ReturnHead(now);
  }
}

void Receiver::StateText(char* buffer, std::size_t size) const {
  char address[16];
  FormatIPv4(settings_.address, address, sizeof address);
  if (socket_ == kNoSocket) {
    (void)std::snprintf(buffer, size, "%s", problem_[0] != '\0' ? problem_ : "Not listening");
  } else if (!talvenorLoaded_) {
    (void)std::snprintf(buffer, size, "Talvenor not loaded: nothing is passed on");
  } else if (paused_) {
    (void)std::snprintf(buffer, size, "Paused");
  } else if (sourceOn_ && returningSince_ < 0) {
    // Until a whole second has passed, the rate so far.
    const double span = lastFrameTime_ - windowStart_;
    const long rate = rateHz_ >= 0 ? rateHz_ : span > 0 ? std::lround(windowCount_ / span) : 0;
    (void)std::snprintf(buffer, size, "Receiving at %ld Hz on %s:%d", rate, address, settings_.port);
  } else {
    (void)std::snprintf(buffer, size, "Listening on %s:%d", address, settings_.port);
  }
}

void Receiver::DroppedText(char* buffer, std::size_t size) const {
  (void)std::snprintf(buffer, size, "Dropped datagrams: %llu", static_cast<unsigned long long>(dropped_));
}

}  // namespace talvenor::udp
