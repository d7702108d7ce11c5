// The three per-aircraft files on disk: what a save writes, what a load brings back into the view, short,
// missing and unreadable files, and saves that fail on a read-only folder or a full disk without harming
// the previous file.
#include "config/aircraft_files.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "plugin/plugin.h"
#include "XPStandardWidgets.h"
#include "plugin/plugin_fixture.h"
#include "view/view_state.h"

namespace talvenor::testing {
namespace {

constexpr char kFolder[] = "Aircraft/Default";
constexpr char kPresetFile[] = "Aircraft/Default/Talvenor.dat";
constexpr char kLimitsFile[] = "Aircraft/Default/TalvenorLimits.dat";
constexpr char kEffectsFile[] = "Aircraft/Default/TalvenorEffects.dat";

class AircraftFilesTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n");
    Start();
  }
  // Runs plugin code as the host would call it, so that file faults apply.
  template <typename F>
  auto AsPlugin(F&& action) {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    return action();
  }
  bool Exists(const std::string& relative) { return std::filesystem::exists(host().resolve(relative)); }
  bool TemporaryFilesLeft() {
    for (const auto& entry : std::filesystem::directory_iterator(host().resolve(kFolder))) {
      if (entry.path().extension() == ".tmp") return true;
    }
    return false;
  }
  void SetHead(float x, float y, float z, float pitch, float heading, float roll) {
    Set(kHeadX, x);
    Set(kHeadY, y);
    Set(kHeadZ, z);
    Set(kHeadPitch, pitch);
    Set(kHeadHeading, heading);
    Set(kHeadRoll, roll);
  }
  std::string Head() {
    std::string text;
    for (const char* name : {kHeadX, kHeadY, kHeadZ, kHeadPitch, kHeadHeading, kHeadRoll}) {
      text += std::to_string(Float(name)) + " ";
    }
    return text;
  }
};

TEST_F(AircraftFilesTest, SavedPresetsComeBackAndTheFirstStoredSlotIsSelected) {
  ViewState& view = View();
  view.presets[0] = {0, {9.0f, 9.0f, 9.0f, 9.0f, 9.0f, 9.0f}};  // an empty slot keeps whatever it holds
  view.presets[2] = {1, {0.25f, -0.5f, 0.125f, 10.0f, -20.0f, 3.0f}};
  view.presets[6] = {7, {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f}};
  view.presetsChanged = true;
  const auto saved = view.presets;
  ASSERT_EQ(AsPlugin([] { return WritePresetFile("Talvenor.dat"); }), 1);
  EXPECT_FALSE(view.presetsChanged);

  std::string expected = FileBytes({{0, {9, 9, 9, 9, 9, 9}},
                                    {},
                                    {1, {0.25f, -0.5f, 0.125f, 10, -20, 3}},
                                    {},
                                    {},
                                    {},
                                    {7, {1, 2, 3, 4, 5, 6}},
                                    {}});
  EXPECT_EQ(ReadFile(kPresetFile), expected);
  EXPECT_FALSE(TemporaryFilesLeft());

  view.presets = {};
  view.selectedPreset = 5;
  SetHead(0, 0, 0, 0, 0, 0);
  AsPlugin([] { LoadPresets(); });
  EXPECT_EQ(std::memcmp(view.presets.data(), saved.data(), sizeof saved), 0);
  EXPECT_EQ(view.selectedPreset, 2);
  EXPECT_EQ(Head(), "0.250000 -0.500000 0.125000 10.000000 -20.000000 3.000000 ");
  EXPECT_FALSE(view.presetsChanged);
  EXPECT_NE(Log().find("Found 'Talvenor.dat' file, will use that\n"), std::string::npos);
}

TEST_F(AircraftFilesTest, PresetsWithoutStoredSlotLeaveTheViewWhereItIs) {
  WriteFile(kPresetFile, FileBytes({{0, {1, 2, 3, 4, 5, 6}}}) + std::string(196, '\0'));
  SetHead(0.5f, 0.25f, -0.5f, 1, 2, 3);
  View().selectedPreset = 4;
  View().presetsChanged = true;
  AsPlugin([] { LoadPresets(); });
  EXPECT_EQ(Head(), "0.500000 0.250000 -0.500000 1.000000 2.000000 3.000000 ");
  EXPECT_EQ(View().selectedPreset, 4);
  EXPECT_EQ(View().presets[0].pose.x, 1.0f);
  EXPECT_FALSE(View().presetsChanged);
  EXPECT_NE(Log().find("Found 'Talvenor.dat' file, will use that\n"), std::string::npos);
}

TEST_F(AircraftFilesTest, MissingOrUnreadablePresetsStartFromTheCurrentView) {
  for (bool unreadable : {false, true}) {
    if (unreadable) std::filesystem::create_directories(host().resolve(kPresetFile));
    View().presets[5] = {1, {7, 7, 7, 7, 7, 7}};
    View().selectedPreset = 5;
    SetHead(0.5f, 0.25f, -0.5f, 1, 2, 3);
    AsPlugin([] { LoadPresets(); });
    EXPECT_EQ(View().selectedPreset, 0);
    EXPECT_EQ(View().presets[0].stored, 1);
    EXPECT_EQ(View().presets[0].pose.x, 0.5f);
    EXPECT_EQ(View().presets[5].stored, 0);
    EXPECT_FALSE(View().presetsChanged);
  }
  EXPECT_NE(Log().find("No 'Talvenor.dat' file found\nNo 'Talvenor.dat' file found\n"), std::string::npos);
}

TEST_F(AircraftFilesTest, ShortAndLongFilesFillWhatTheyHold) {
  for (auto& bounds : View().limits) bounds = {1, 5, 5, 5, 5, 5, 5};
  const std::string two = FileBytes({{1, {-1, 1, -2, 2, -3, 3}}, {0, {-4, 4, -5, 5, -6, 6}}});
  WriteFile(kLimitsFile, two);
  View().limitsChanged = true;
  AsPlugin([] { LoadLimits(); });
  EXPECT_EQ(View().limits[0].xMax, 1.0f);
  EXPECT_EQ(View().limits[1].zMax, 6.0f);
  for (int slot = 2; slot < kPresetSlots; ++slot) {
    EXPECT_EQ(View().limits[slot].enabled, 0);
    EXPECT_EQ(View().limits[slot].xMin, 0.0f);
  }
  EXPECT_FALSE(View().limitsChanged);
  EXPECT_NE(Log().find("Found 'TalvenorLimits.dat' file, will use that\n"), std::string::npos);

  View().effects = StartEffects();
  WriteFile(kEffectsFile, IntBytes({1}));
  AsPlugin([] { LoadEffects(); });
  EXPECT_EQ(View().effects.effectsOn, 1);
  EXPECT_EQ(View().effects.scalerY, 0);
  EXPECT_EQ(View().effects.groundScalerZ, 0);

  std::string longer = FileBytes({{}, {1, {1, 1, 1, 1, 1, 1}}});
  longer.resize(224, '\0');
  WriteFile(kPresetFile, longer + FileBytes({{1, {9, 9, 9, 9, 9, 9}}}));
  AsPlugin([] { LoadPresets(); });
  EXPECT_EQ(View().selectedPreset, 1);
  EXPECT_EQ(Float(kHeadX), 1.0f);
}

TEST_F(AircraftFilesTest, MissingOrUnreadableEffectsKeepTheEffects) {
  View().effects = {1, 2, 3, 4, 5, 6, 7};
  AsPlugin([] { LoadEffects(); });
  std::filesystem::create_directories(host().resolve(kEffectsFile));
  AsPlugin([] { LoadEffects(); });
  EXPECT_EQ(View().effects.effectsOn, 1);
  EXPECT_EQ(View().effects.groundScalerZ, 7);
  EXPECT_NE(Log().find("No 'TalvenorEffects.dat' file found\nNo 'TalvenorEffects.dat' file found\n"),
            std::string::npos);

  View().limits[3] = {1, 1, 1, 1, 1, 1, 1};
  AsPlugin([] { LoadLimits(); });
  EXPECT_EQ(View().limits[3].enabled, 0);
  EXPECT_NE(Log().find("No 'TalvenorLimits.dat' file found\n"), std::string::npos);
}

TEST_F(AircraftFilesTest, FilesBelongToTheAircraftLoadedAtTheMoment) {
  View().effects = {1, 11, 12, 13, 14, 15, 16};
  ASSERT_EQ(AsPlugin([] { return WriteEffectsFile("TalvenorEffects.dat"); }), 1);
  host().setAircraft("Aircraft/Other Plane/Other.acf");
  View().effects = {0, 21, 22, 23, 24, 25, 26};
  ASSERT_EQ(AsPlugin([] { return WriteEffectsFile("TalvenorEffects.dat"); }), 1);
  EXPECT_EQ(ReadFile("Aircraft/Other Plane/TalvenorEffects.dat").size(), 28u);
  host().setAircraft("Aircraft/Default/Default.acf");
  AsPlugin([] { LoadEffects(); });
  EXPECT_EQ(View().effects.scalerX, 11);
}

TEST_F(AircraftFilesTest, SaveToAReadOnlyFolderLeavesTheOldFileAndTheFlag) {
  View().presets[0] = {1, {1, 1, 1, 1, 1, 1}};
  View().limits[0] = {1, -1, 1, -1, 1, -1, 1};
  View().effects = {1, 2, 3, 4, 5, 6, 7};
  ASSERT_EQ(AsPlugin([] { return WritePresetFile("Talvenor.dat"); }), 1);
  ASSERT_EQ(AsPlugin([] { return WriteLimitsFile("TalvenorLimits.dat"); }), 1);
  ASSERT_EQ(AsPlugin([] { return WriteEffectsFile("TalvenorEffects.dat"); }), 1);
  const std::string presets = ReadFile(kPresetFile);
  const std::string limits = ReadFile(kLimitsFile);
  const std::string effects = ReadFile(kEffectsFile);

  host().fileFaults().setReadOnly(kFolder, true);
  View().presets[0].pose.x = 2;
  View().limits[0].xMax = 2;
  View().effects.scalerX = 20;
  View().presetsChanged = true;
  View().limitsChanged = true;
  EXPECT_EQ(AsPlugin([] { return WritePresetFile("Talvenor.dat"); }), 0);
  EXPECT_EQ(AsPlugin([] { return WriteLimitsFile("TalvenorLimits.dat"); }), 0);
  EXPECT_EQ(AsPlugin([] { return WriteEffectsFile("TalvenorEffects.dat"); }), 0);
  EXPECT_TRUE(View().presetsChanged);
  EXPECT_TRUE(View().limitsChanged);
  EXPECT_EQ(View().presets[0].pose.x, 2.0f);  // the table in memory is the user's, unchanged
  EXPECT_EQ(ReadFile(kPresetFile), presets);
  EXPECT_EQ(ReadFile(kLimitsFile), limits);
  EXPECT_EQ(ReadFile(kEffectsFile), effects);
  EXPECT_FALSE(TemporaryFilesLeft());

  host().fileFaults().setReadOnly(kFolder, false);
  EXPECT_EQ(AsPlugin([] { return WritePresetFile("Talvenor.dat"); }), 1);
  EXPECT_FALSE(View().presetsChanged);
  EXPECT_NE(ReadFile(kPresetFile), presets);
}

TEST_F(AircraftFilesTest, SaveOnAFullDiskLeavesTheOldFileIntact) {
  View().presets[3] = {1, {3, 3, 3, 3, 3, 3}};
  ASSERT_EQ(AsPlugin([] { return WritePresetFile("Talvenor.dat"); }), 1);
  const std::string old = ReadFile(kPresetFile);
  ASSERT_EQ(old.size(), 224u);

  View().presets[3].pose.x = 4;
  for (std::uint64_t room : {0u, 100u, 223u}) {
    View().presetsChanged = true;
    host().fileFaults().setDiskFull(room);
    EXPECT_EQ(AsPlugin([] { return WritePresetFile("Talvenor.dat"); }), 0) << room;
    host().fileFaults().setDiskFull(std::nullopt);
    EXPECT_TRUE(View().presetsChanged) << room;
    EXPECT_EQ(ReadFile(kPresetFile), old) << room;
    EXPECT_FALSE(TemporaryFilesLeft()) << room;
  }
  host().fileFaults().setDiskFull(224);
  EXPECT_EQ(AsPlugin([] { return WritePresetFile("Talvenor.dat"); }), 1);
  host().fileFaults().setDiskFull(std::nullopt);
  EXPECT_EQ(RecordAt(ReadFile(kPresetFile), 3).values[0], 4.0f);
}

TEST_F(AircraftFilesTest, SwitchingOnShowsTheLoadedPresetsInTheControlPanel) {
  WriteFile(
      kPresetFile,
      FileBytes({{}, {}, {1, {0.125f, 0.5f, -0.25f, 1, 2, 3}}, {}, {5, {1, 1, 1, 1, 1, 1}}, {}, {}, {}}));
  WriteFile(kEffectsFile, IntBytes({1, 10, 100, 10, 5, 5, 5}));
  ASSERT_TRUE(Pick("Enable"));
  const ControlPanelWidgets& control = PanelState().control;
  ASSERT_TRUE(host().widgets().info(control.presetNumberField).has_value());
  EXPECT_EQ(host().widgets().info(control.presetNumberField)->descriptor, "3");
  for (int slot = 0; slot < kPresetSlots; ++slot) {
    EXPECT_EQ(host().widgets().getProperty(control.presetBoxes[slot], xpProperty_ButtonState, nullptr),
              slot == 2 || slot == 4 ? 1 : 0)
        << slot;
  }
  EXPECT_EQ(host().widgets().getProperty(control.forceEffectsBox, xpProperty_ButtonState, nullptr), 1);
  EXPECT_EQ(Head(), "0.125000 0.500000 -0.250000 1.000000 2.000000 3.000000 ");
  EXPECT_NE(Log().find("Found 'Talvenor.dat' file, will use that\nNo 'TalvenorLimits.dat' file found\n"
                       "Found 'TalvenorEffects.dat' file, will use that\n"),
            std::string::npos);
}

TEST_F(AircraftFilesTest, AircraftPathTooLongForTheSdkIsNeverUsed) {
  std::string folder = "Aircraft";
  for (int i = 0; i < 3; ++i) folder += "/" + std::string(180, 'p');
  host().setAircraft(folder + "/Long.acf");
  ASSERT_GE(host().resolve(folder + "/Long.acf").string().size(), 512u);
  View().presets[0] = {1, {1, 1, 1, 1, 1, 1}};
  View().presetsChanged = true;
  EXPECT_EQ(AsPlugin([] { return WritePresetFile("Talvenor.dat"); }), 0);
  EXPECT_TRUE(View().presetsChanged);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(host().resolve("Aircraft"))) {
    EXPECT_EQ(entry.path().filename().string().find("Talvenor"), std::string::npos) << entry.path();
  }
  EXPECT_NE(Log().find("The aircraft's path is not usable for 'Talvenor.dat'\n"), std::string::npos);
}

}  // namespace
}  // namespace talvenor::testing
