// TalvenorUDP.ini: where the plugin listens and how the tracker's axes become Talvenor's, read once at start.
//
//   [UDP]                    [AXES]
//   ADDRESS = 127.0.0.1      XSIGN = 1       XSCALE = 0.01     (and Y, Z, YAW, PITCH, ROLL)
//   PORT = 4242
//   TIMEOUT = 0.5
//
// A line holding ";" is a comment; blanks anywhere are ignored; names are not case sensitive. Each offset
// Talvenor receives is SIGN x SCALE x the tracker's value of that axis. The defaults turn centimetres into
// metres and move the head as Talvenor's TrackIR path does with the same pose from opentrack's TrackIR
// emulation: opentrack's x grows to the left and its roll with a tilt to the left, so both are mirrored;
// y up, z back (away from the screen), yaw to the right and pitch up keep their signs.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "config/setup_lines.h"
#include "pose_datagram.h"

namespace talvenor::udp {

struct AxisMapping {
  double sign = 1.0;
  double scale = 1.0;
};

struct UdpSettings {
  std::uint32_t address = 0x7F000001;  // 127.0.0.1: datagrams from this machine only
  int port = 4242;
  double timeout = 0.5;  // seconds without a datagram after which the source is switched off
  std::array<AxisMapping, kTrackerAxes> axes{
      {{-1.0, 0.01}, {1.0, 0.01}, {1.0, 0.01}, {1.0, 1.0}, {1.0, 1.0}, {-1.0, 1.0}}};
};

// Where reading the file stopped being clean.
struct SettingsReport {
  bool opened = false;
  int problems = 0;          // lines whose key or value was refused (the default stays)
  int firstProblemLine = 0;  // 1-based; 0 when none
  char firstProblem[160] = {};
};

// Reads FILE (a stream opened in text mode, or null for none) over the defaults: whole, as its text.
UdpSettings ReadUdpSettings(std::FILE* file, SettingsReport& report);
// The same on the file's text in memory.
UdpSettings ReadUdpSettingsText(SetupText file, SettingsReport& report);

// "A.B.C.D" with each part 0 to 255 and nothing else; false leaves VALUE unchanged.
bool ParseIPv4(const char* text, std::uint32_t& value);
// VALUE as "A.B.C.D" into BUFFER (at least 16 characters).
void FormatIPv4(std::uint32_t value, char* buffer, std::size_t size);

}  // namespace talvenor::udp
