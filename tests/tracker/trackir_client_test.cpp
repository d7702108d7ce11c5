// The tracker client's connection, row by row: the registry and the library, the log lines and the result.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "plugin/plugin.h"
#include "plugin/plugin_fixture.h"
#include "tracker/head_pose_source.h"
#include "tracker_script.h"

namespace talvenor::testing {
namespace {

enum Registry { kNoKey, kKeyOnly, kValueIsAFolder, kLibrary, kLibraryAndValue };
struct Row {
  const char* name;
  Registry registry;
  std::string value;  // with kLibraryAndValue; "@" stands for the library's folder
  std::string entry;  // answers 1, or is missing when it starts with "-"
  const char* log;    // the lines logged, in order; null: no line of the tracker at all
  int result;
};

constexpr char kConnected[] =
    "TrackIR Interface -- Initialize OK.\nTrackIR Interface : Window handle registration successful.\n"
    "NaturalPoint software version is 5.04\nTrackIR Interface : Cursor stopped\n"
    "TrackIR Interface : Data transmission started\n";
constexpr char kNotLoaded[] = "Error initializing TrackIR Interface!!\n";

const Row kRows[] = {
    {"KeyMissing", kNoKey, "", "", "TrackIR Interface : DLL Location key not present\n", 0},
    {"SizeQueryFails", kKeyOnly, "", "", nullptr, 0},
    {"NoRoomForTheValue", kLibraryAndValue, std::string(1100, 'a'), "",
     "TrackIR Interface : Insufficient memory!\n", 0},
    {"ValueUnreadable", kValueIsAFolder, "", "", "TrackIR Interface : Error reading location key!\n", 0},
    {"ValueNotText", kLibraryAndValue, std::string("\xff\xfe\0\x01", 4), "",
     "TrackIR Interface : Error reading location key!\n", 0},
    {"LibraryWillNotLoad", kLibraryAndValue, "@/nowhere", "", kNotLoaded, 0},
    {"FolderTooLongForThePath", kLibraryAndValue, "/" + std::string(250, 'a'), "",
     "TrackIR Interface : DLL path too long, not loaded\nError initializing TrackIR Interface!!\n", 0},
    {"EmptyFolderIsTheBareName", kLibraryAndValue, "", "", kNotLoaded, 0},
    {"WindowHandleRefused", kLibrary, "", "NP_RegisterWindowHandle",
     "TrackIR Interface -- Initialize OK.\nTrackIR Interface : Error registering window handle!!\n", -1},
    {"VersionQueryFails", kLibrary, "", "NP_QueryVersion",
     "TrackIR Interface : Error querying NaturalPoint software version!!\nTrackIR Interface : Cursor "
     "stopped\n",
     1},
    {"CursorStopFails", kLibrary, "", "NP_StopCursor", "TrackIR Interface : Error stopping cursor\n", 1},
    {"NoStopCursorEntry", kLibrary, "", "-NP_StopCursor",
     "TrackIR Interface : Error stopping cursor\nTrackIR Interface : Data transmission started\n", 1},
    {"TransmissionStartFails", kLibrary, "", "NP_StartDataTransmission",
     "TrackIR Interface : Error starting data transmission\n", 1},
    {"Connected", kLibrary, "", "", kConnected, 1},
    {"FolderEndingInASeparator", kLibraryAndValue, "@/", "", kConnected, 1},
};

class ClientTest : public PluginTest {
 protected:
  void Arrange(const Row& row) {
    const std::filesystem::path value = sim::TrackerScript::RegistryValueFile();
    if (row.entry.starts_with("-")) {
      ASSERT_TRUE(host().tracker().setMissing(row.entry.substr(1)));
    }
    if (!row.entry.empty() && !row.entry.starts_with("-")) host().tracker().fail(row.entry, 1);
    if (row.registry == kKeyOnly) std::filesystem::create_directories(value.parent_path());
    if (row.registry == kValueIsAFolder) std::filesystem::create_directories(value);
    if (row.registry == kLibrary || row.registry == kLibraryAndValue) {
      std::string error;
      ASSERT_TRUE(host().tracker().installLibrary("Tracker", &error)) << error;
    }
    if (row.registry != kLibraryAndValue) return;
    std::string text = row.value;
    if (text.starts_with("@")) text.replace(0, 1, host().resolve("Tracker").string());
    std::ofstream(value, std::ios::binary) << text;
  }
  template <typename Body>
  auto AsPlugin(Body body) {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    return body();
  }
};

class TrackIrClientTest : public ClientTest, public ::testing::WithParamInterface<Row> {};

TEST_P(TrackIrClientTest, ProbeLogsAndAnswers) {
  const Row& row = GetParam();
  WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n");
  Arrange(row);
  Start();
  EXPECT_EQ(Log().find(row.log != nullptr ? row.log : "TrackIR") != std::string::npos, row.log != nullptr)
      << Log();
  EXPECT_EQ(AsPlugin([] { return ProbeHeadPoseSource(); }), row.result);
  AsPlugin([] { StopHeadPoseSource(); });
  // Only exactly 1 offers the tracker at start; the aircraft-load probe counts any non-zero result.
  EXPECT_EQ(View().sourceAvailable, row.result == 1 ? 1 : 0);
  host().planeLoaded();
  EXPECT_EQ(View().sourceAvailable, row.result != 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, TrackIrClientTest, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

using ExternalPoseTest = ClientTest;

// Any non-zero switch delivers the pose; 0 gives zeros and 5; a value that is not finite spoils the pose.
TEST_F(ExternalPoseTest, FollowsItsSwitchAndRefusesValuesThatAreNotFinite) {
  WriteSetupFile("[CONFIG]\nENABLEEXTERNALDATA = 1\n");
  Start();
  for (auto [name, value] : {std::pair{"x", 0.1}, {"heading", 30.0}, {"enabled", 2.0}})
    ASSERT_TRUE(host().datarefs().write(std::string("quorlend/talvenor/external_") + name, value));
  float p[6] = {9, 9, 9, 9, 9, 9};
  auto read = [&] {
    return AsPlugin([&] { return ReadHeadPose(&p[0], &p[1], &p[2], &p[3], &p[4], &p[5]); });
  };
  EXPECT_EQ(AsPlugin([] { return ProbeHeadPoseSource(); }), 2);
  EXPECT_EQ(read(), 0);
  EXPECT_EQ(p[0], 0.1f);
  EXPECT_EQ(p[4], 30.0f);
  host().datarefs().write("quorlend/talvenor/external_pitch", std::nan(""));
  p[0] = 9;
  EXPECT_EQ(read(), 5);
  EXPECT_EQ(p[0], 9.0f);
  host().datarefs().write("quorlend/talvenor/external_enabled", 0);
  EXPECT_EQ(read(), 5);
  EXPECT_EQ(p[4], 0.0f);
}

}  // namespace
}  // namespace talvenor::testing
