// The tracker client's start, row by row: what the registry and the library do, the log line and the result.
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "plugin/plugin.h"
#include "plugin/plugin_fixture.h"
#include "tracker/head_pose_source.h"
#include "tracker_script.h"

namespace talvenor::testing {
namespace {

namespace fs = std::filesystem;

struct Row {
  const char* name;
  std::function<void(sim::Host&)> arrange;
  const char* log;  // the lines logged, in order; null: no line of the tracker at all
  int result;
};

void Install(sim::Host& host) {
  std::string error;
  ASSERT_TRUE(host.tracker().installLibrary("Tracker", &error)) << error;
}
void WriteValue(const std::string& bytes) {
  fs::create_directories(sim::TrackerScript::RegistryValueFile().parent_path());
  std::ofstream(sim::TrackerScript::RegistryValueFile(), std::ios::binary) << bytes;
}
std::function<void(sim::Host&)> Failing(const char* entry) {
  return [entry](sim::Host& host) {
    host.tracker().fail(entry, 1);
    Install(host);
  };
}

constexpr char kConnected[] =
    "TrackIR Interface -- Initialize OK.\nTrackIR Interface : Window handle registration successful.\n"
    "NaturalPoint software version is 5.04\nTrackIR Interface : Cursor stopped\n"
    "TrackIR Interface : Data transmission started\n";

const Row kRows[] = {
    {"KeyMissing", [](sim::Host&) {}, "TrackIR Interface : DLL Location key not present\n", 0},
    {"SizeQueryFails",
     [](sim::Host&) { fs::create_directories(sim::TrackerScript::RegistryValueFile().parent_path()); },
     nullptr, 0},
    {"NoRoomForTheValue", [](sim::Host&) { WriteValue(std::string(1100, 'a')); },
     "TrackIR Interface : Insufficient memory!\n", 0},
    {"ValueUnreadable", [](sim::Host&) { fs::create_directories(sim::TrackerScript::RegistryValueFile()); },
     "TrackIR Interface : Error reading location key!\n", 0},
    {"LibraryWillNotLoad", [](sim::Host& host) { WriteValue(host.root().string()); },
     "Error initializing TrackIR Interface!!\n", 0},
    {"FolderTooLongForThePath", [](sim::Host&) { WriteValue("/" + std::string(250, 'a')); },
     "TrackIR Interface : DLL path too long, not loaded\nError initializing TrackIR Interface!!\n", 0},
    {"EmptyFolderIsTheBareName",
     [](sim::Host& host) {
       Install(host);
       WriteValue("");
     },
     "Error initializing TrackIR Interface!!\n", 0},
    {"WindowHandleRefused", Failing("NP_RegisterWindowHandle"),
     "TrackIR Interface -- Initialize OK.\nTrackIR Interface : Error registering window handle!!\n", -1},
    {"VersionQueryFails", Failing("NP_QueryVersion"),
     "TrackIR Interface : Error querying NaturalPoint software version!!\nTrackIR Interface : Cursor "
     "stopped\n",
     1},
    {"CursorStopFails", Failing("NP_StopCursor"), "TrackIR Interface : Error stopping cursor\n", 1},
    {"TransmissionStartFails", Failing("NP_StartDataTransmission"),
     "TrackIR Interface : Error starting data transmission\n", 1},
    {"NoStopCursorEntry",
     [](sim::Host& host) {
       ASSERT_TRUE(host.tracker().setMissing("NP_StopCursor"));
       Install(host);
     },
     "TrackIR Interface : Error stopping cursor\nTrackIR Interface : Data transmission started\n", 1},
    {"Connected", Install, kConnected, 1},
    {"FolderEndingInASeparator",
     [](sim::Host& host) {
       Install(host);
       WriteValue(host.resolve("Tracker").string() + "/");
     },
     kConnected, 1},
};

class TrackIrClientTest : public PluginTest, public ::testing::WithParamInterface<Row> {
 protected:
  int Probe() {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    const int result = ProbeHeadPoseSource();
    StopHeadPoseSource();
    return result;
  }
};

TEST_P(TrackIrClientTest, ProbeLogsAndAnswers) {
  const Row& row = GetParam();
  WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n");
  row.arrange(host());
  Start();
  if (row.log != nullptr) {
    EXPECT_NE(Log().find(row.log), std::string::npos) << Log();
  } else {
    EXPECT_EQ(Log().find("TrackIR"), std::string::npos) << Log();
  }
  EXPECT_EQ(Probe(), row.result);
}

INSTANTIATE_TEST_SUITE_P(Rows, TrackIrClientTest, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

using TrackIrProbeTest = PluginTest;

// Only exactly 1 offers the tracker at start; the aircraft-load probe counts a refused handle as found.
TEST_F(TrackIrProbeTest, RefusedWindowHandleCountsAsFoundOnlyOnAircraftLoad) {
  host().tracker().fail("NP_RegisterWindowHandle", 1);
  Install(host());
  Start();
  EXPECT_EQ(View().sourceAvailable, 0);
  host().planeLoaded();
  EXPECT_EQ(View().sourceAvailable, 1);
}

}  // namespace
}  // namespace talvenor::testing
