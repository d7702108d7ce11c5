// Any bytes as the text of TalvenorUDP.ini: the reader keeps every value within its bounds, reads the same
// bytes the same way twice, counts a refused line only with its reason, and a file written from what it
// read reads back to it without a refused line.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "udp_settings.h"

namespace {

using talvenor::udp::UdpSettings;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "udp settings fuzz: %s\n", what);
  std::abort();
}

constexpr const char* kAxes[talvenor::udp::kTrackerAxes] = {"X", "Y", "Z", "YAW", "PITCH", "ROLL"};

bool Same(const UdpSettings& a, const UdpSettings& b) {
  bool same = a.address == b.address && a.port == b.port &&
              std::memcmp(&a.timeout, &b.timeout, sizeof a.timeout) == 0;
  for (std::size_t axis = 0; axis < a.axes.size(); ++axis) {
    same = same && std::memcmp(&a.axes[axis], &b.axes[axis], sizeof a.axes[axis]) == 0;
  }
  return same;
}

void CheckBounds(const UdpSettings& settings) {
  Check(settings.port >= 1 && settings.port <= 65535, "a port out of range");
  Check(settings.timeout >= 0.05 && settings.timeout <= 60, "a timeout out of range");
  for (const talvenor::udp::AxisMapping& axis : settings.axes) {
    Check(axis.sign == 1 || axis.sign == -1, "a sign neither 1 nor -1");
    Check(std::isfinite(axis.scale) && std::fabs(axis.scale) <= 1000, "a scale out of range");
  }
}

std::string Written(const UdpSettings& settings) {
  char text[512];
  std::string file;
  (void)std::snprintf(text, sizeof text, "[UDP]\nADDRESS = %u.%u.%u.%u\nPORT = %d\nTIMEOUT = %.17g\n[AXES]\n",
                      settings.address >> 24, (settings.address >> 16) & 255u, (settings.address >> 8) & 255u,
                      settings.address & 255u, settings.port, settings.timeout);
  file += text;
  for (std::size_t axis = 0; axis < settings.axes.size(); ++axis) {
    (void)std::snprintf(text, sizeof text, "%sSIGN = %.17g\n%sSCALE = %.17g\n", kAxes[axis],
                        settings.axes[axis].sign, kAxes[axis], settings.axes[axis].scale);
    file += text;
  }
  return file;
}

UdpSettings Read(std::string_view text, talvenor::udp::SettingsReport& report) {
  return talvenor::udp::ReadUdpSettingsText(talvenor::SetupText{text, false}, report);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  talvenor::udp::SettingsReport report;
  const UdpSettings first = Read(text, report);
  CheckBounds(first);
  Check(report.opened, "a text read as no file");
  Check((report.problems == 0) == (report.firstProblemLine == 0), "a refused line without its line number");
  Check(report.problems == 0 || report.firstProblem[0] != '\0', "a refused line without its reason");
  Check(std::memchr(report.firstProblem, '\0', sizeof report.firstProblem) != nullptr,
        "a reason unterminated");

  talvenor::udp::SettingsReport again;
  Check(Same(Read(text, again), first) && again.problems == report.problems &&
            std::strcmp(again.firstProblem, report.firstProblem) == 0,
        "the same bytes read twice give different settings");

  talvenor::udp::SettingsReport back;
  Check(Same(Read(Written(first), back), first), "a file written from the settings reads back otherwise");
  Check(back.problems == 0, "a file written from the settings has a refused line");
  return 0;
}
