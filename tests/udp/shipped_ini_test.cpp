// The TalvenorUDP.ini that pilots get in the package reads without a refused line and holds exactly the
// values the plugin uses without a file: putting it in place changes nothing until the pilot edits it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "udp_settings.h"

namespace talvenor::udp {
namespace {

TEST(ShippedUdpIni, ReadsCleanlyAsTheDefaults) {
  const auto path =
      std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "companion" / "udp" / "TalvenorUDP.ini";
  std::FILE* file = std::fopen(path.string().c_str(), "r");
  ASSERT_NE(file, nullptr) << path;
  SettingsReport report;
  const UdpSettings read = ReadUdpSettings(file, report);
  (void)std::fclose(file);
  EXPECT_EQ(report.problems, 0) << "line " << report.firstProblemLine << ": " << report.firstProblem;
  const UdpSettings defaults;
  EXPECT_EQ(read.address, defaults.address);
  EXPECT_EQ(read.port, defaults.port);
  EXPECT_EQ(read.timeout, defaults.timeout);
  for (std::size_t axis = 0; axis < read.axes.size(); ++axis) {
    EXPECT_EQ(read.axes[axis].sign, defaults.axes[axis].sign) << "axis " << axis;
    EXPECT_EQ(read.axes[axis].scale, defaults.axes[axis].scale) << "axis " << axis;
  }
}

}  // namespace
}  // namespace talvenor::udp
