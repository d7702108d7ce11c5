// Real faults under the plugin while the pilot flies: the aircraft's folder read-only or gone, a file-size
// limit reached in the middle of a save, a simulator without the command functions or without some of its
// datarefs, a tracker library without an entry point. For each, the plugin goes on (the head still follows
// the control panel, the stop leaves nothing registered), the pilot's files are byte for byte as they were
// unless a save could go through whole, and the log says what happened.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "tracker_script.h"
#include "ui/control_panel_fixture.h"

namespace talvenor::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kFolder[] = "Aircraft/Default";
constexpr const char* kFiles[] = {"Talvenor.dat", "TalvenorLimits.dat", "TalvenorEffects.dat"};
enum FileMask : unsigned { kNone = 0, kPresets = 1, kAllFiles = 7 };

class FaultTest;
struct Fault {
  const char* name;
  void (*before)(FaultTest&);  // before the start
  void (*during)(FaultTest&);  // once the pilot's files are loaded and the panels open
  bool inChild;                // fault and presets save in a child process, which the fault may end
  unsigned saved;              // files the saves must replace whole; the others stay as they were
  unsigned refused;            // files whose failed save the log must name
  const char* logged;
  const char* folderAfter = kFolder;  // where the pilot's files are once the fault struck
};

class FaultTest : public ControlPanelTest, public ::testing::WithParamInterface<Fault> {
 public:
  using ControlPanelTest::Frame;
  using ControlPanelTest::host;
  using ControlPanelTest::MenuItemEnabled;
  // Every file of FOLDER by its name, and all else under Aircraft/ by its path.
  std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(host().resolve("Aircraft"))) {
      if (!entry.is_regular_file()) continue;
      const std::string path = fs::relative(entry.path(), host().root()).generic_string();
      const bool pilots = entry.path().parent_path() == host().resolve(folder);
      files[pilots ? entry.path().filename().string() : path] = ReadFile(path);
    }
    return files;
  }
  // The pilot's three Save buttons: presets and limits on the control panel, then the effects panel's.
  void SaveAll() {
    Click("Save", 1);
    Click("Save", 2);
    EXPECT_EQ(host().widgets().click(host().widgets().findByCaption(EffectsWindow(), " Save", 1)),
              sim::UserAction::Delivered);
  }
  XPWidgetID EffectsWindow() { return host().widgets().findWindow("Talvenor Effects"); }
  void Withdraw(std::initializer_list<const char*> names) {
    for (const char* name : names) ASSERT_TRUE(host().datarefs().withdraw(name)) << name;
  }
  void InstallTracker() {
    WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n");
    std::string error;
    ASSERT_TRUE(host().tracker().installLibrary("Tracker", &error)) << error;
  }
};

const Fault kFaults[] = {
    // The host refuses the plugin's file calls at the C library, so this holds when the tests run as root.
    {"ReadOnlyAircraftFolder", nullptr,
     [](FaultTest& t) { t.host().fileFaults().setReadOnly(kFolder, true); }, false, kNone, kAllFiles,
     "Could not save 'Talvenor.dat': Read-only file system. The file on disk is unchanged.\n"},
    {"FolderGoneBeforeTheSave", nullptr,
     [](FaultTest& t) { fs::rename(t.host().resolve(kFolder), t.host().resolve("Aircraft/Moved")); }, false,
     kNone, kAllFiles, "Could not save 'TalvenorLimits.dat': No such file or directory.", "Aircraft/Moved"},
    // 150 bytes: the log, written under the same limit, still takes the line; the 224-byte presets do not.
    {"FileSizeLimitInTheMiddleOfTheSave", nullptr,
     [](FaultTest&) {
       const rlimit limit{150, RLIM_INFINITY};
       signal(SIGXFSZ, SIG_IGN);
       ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
     },
     true, kNone, kPresets, "Could not save 'Talvenor.dat': File too large."},
    {"NoCommandFunctions", [](FaultTest& t) { t.host().setOfferFindSymbol(false); }, nullptr, false,
     kAllFiles, kNone,
     "The simulator offers no command functions: Talvenor's commands and view hooks are not made\n"},
    {"NoForceOrEngineDatarefs",
     [](FaultTest& t) {
       t.Withdraw({"sim/flightmodel/forces/g_nrml", "sim/flightmodel/forces/g_axil",
                   "sim/flightmodel/forces/g_side", "sim/flightmodel/position/groundspeed",
                   "sim/flightmodel/failures/onground_any", "sim/flightmodel/position/y_agl",
                   "sim/flightmodel/engine/POINT_tacrad", "sim/aircraft/prop/acf_en_type",
                   "sim/flightmodel/engine/ENGN_N1_", "sim/graphics/view/field_of_view_roll_deg"});
     },
     nullptr, false, kAllFiles, kNone,
     "The simulator has no dataref sim/flightmodel/forces/g_nrml: it reads as 0 and takes no value\n"},
    {"NoHeadDatarefs",
     [](FaultTest& t) {
       t.Withdraw({kHeadX, kHeadY, kHeadZ, kHeadHeading, kHeadPitch, "sim/operation/windows/system_window_64",
                   "sim/operation/windows/system_window"});
     },
     nullptr, false, kAllFiles, kNone, "The simulator has no dataref sim/graphics/view/pilots_head_x"},
    {"TrackerWithoutGetData",
     [](FaultTest& t) {
       ASSERT_TRUE(t.host().tracker().setMissing("NP_GetData"));
       t.InstallTracker();
     },
     [](FaultTest& t) {
       ASSERT_TRUE(t.MenuItemEnabled(6));  // "TrackIR Disable": the switch-on started the tracker
       sim::TrackerFrame frame;
       frame.number = 7;
       frame.x = 4000;
       t.host().tracker().setFrame(frame);
       t.Frame(5);
     },
     false, kAllFiles, kNone, "TrackIR Interface : the library has no NP_GetData\n"},
};

TEST_P(FaultTest, PluginGoesOnFilesStayWholeAndTheLogSaysWhy) {
  const Fault& fault = GetParam();
  WriteAircraftFile("Talvenor.dat", FileBytes({{}, {1, {0.5f, 1, -3, 0, 0, 0}}}) + std::string(168, '\0'));
  WriteAircraftFile("TalvenorLimits.dat", std::string(224, '\0'));
  WriteAircraftFile("TalvenorEffects.dat", IntBytes({1, 10, 10, 10, 5, 5, 5}));
  if (fault.before != nullptr) fault.before(*this);
  Start();
  EnableAndOpen();
  ASSERT_TRUE(Pick("Forces Effect Panel"));
  Frame(6);
  const auto before = Snapshot(kFolder);

  // The pilot nudges the view (so the presets differ from the file) and saves everything.
  const bool head = host().datarefs().exists(kHeadX);
  const float x = head ? Float(kHeadX) : 0;
  if (!fault.inChild && fault.during != nullptr) fault.during(*this);
  Click(At(80, 70));  // " X" to the right
  Frame(2);
  if (head) {
    EXPECT_NEAR(Float(kHeadX), x + 0.01f, 1e-5f);
  }
  if (fault.inChild) {
    const pid_t child = fork();
    if (child == 0) {
      fault.during(*this);
      Click("Save", 1);
      _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  } else {
    SaveAll();
  }
  Frame(50);
  const ViewState& view = View();
  const std::string tables[] = {
      std::string(reinterpret_cast<const char*>(view.presets.data()), sizeof view.presets),
      std::string(reinterpret_cast<const char*>(view.limits.data()), sizeof view.limits),
      std::string(reinterpret_cast<const char*>(&view.effects), sizeof view.effects)};

  auto after = Snapshot(fault.folderAfter);
  for (int file = 0; file < 3; ++file) {
    if ((fault.saved & (1u << file)) != 0) {
      EXPECT_EQ(after[kFiles[file]], tables[file]) << kFiles[file];
      after[kFiles[file]] = before.at(kFiles[file]);
    }
    EXPECT_EQ(Log().find("Could not save '" + std::string(kFiles[file]) + "'") != std::string::npos,
              (fault.refused & (1u << file)) != 0)
        << kFiles[file];
  }
  EXPECT_EQ(after, before);
  EXPECT_EQ(fs::exists(host().resolve(kFolder)), std::string_view(fault.folderAfter) == kFolder);
  EXPECT_NE(Log().find(fault.logged), std::string::npos) << Log();
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTest, ::testing::ValuesIn(kFaults),
                         [](const auto& fault) { return std::string(fault.param.name); });

}  // namespace
}  // namespace talvenor::testing
