// The per-frame view update as the simulator sees it: what reaches the head datarefs in each combination of
// continuous mode, head tracking and force effects, the hand-back of the view when the user leaves the 3-D
// cockpit, the re-initialisation after an aircraft load and the values the panels show.
#include <cstdio>

#include "plugin/mode_switches.h"
#include "ui/control_panel_fixture.h"

namespace talvenor::testing {
namespace {

constexpr ViewPreset kPreset{1, {0.1f, 1.2f, -3.8f, 2.0f, 5.0f, 1.0f}};
constexpr HeadPose kOffsets{0.01f, 0.02f, 0.03f, 4.0f, 6.0f, 8.0f};

class UpdateTest : public ControlPanelTest {
 protected:
  void SetUp() override {
    ControlPanelTest::SetUp();
    BeforeStart();
    RecordHeadWrites();
    RecordViewTypeWrites();
    Start();
    OpenFromMenu();
    RunUntilUpdating();
  }
  virtual void BeforeStart() {}

  void EnableViewControlFromMenu() {
    ASSERT_TRUE(host().menus().pick("Talvenor", "Enable"));
    ViewState& view = View();
    view.presets[0] = kPreset;
    view.selectedPreset = 0;
    recorder().Clear();
    viewTypeWrites().clear();
  }
  void Continuous(bool on) { Check(ContinuousBox(), on); }
  // Head tracking with offsets already taken from the source; no new pose is read.
  void Tracking(bool on) {
    View().trackerActive = on;
    View().sourceAvailable = 0;
    View().trackerOffsets = kOffsets;
  }
  void Effects(bool on) { View().effects.effectsOn = on ? 1 : 0; }
  // On the ground at 20 m/s under 1.5 g, engine 1 at 80 % N1.
  void ForcesAct() {
    Set("sim/flightmodel/position/groundspeed", 20.0);
    Set("sim/flightmodel/forces/g_nrml", 1.5);
    Set("sim/flightmodel/forces/g_side", 0.2);
    Set("sim/flightmodel/forces/g_axil", -0.5);
    ASSERT_TRUE(host().datarefs().write("sim/flightmodel/engine/ENGN_N1_", 80.0, 0));
  }
  // The offsets of the start values of the effects (scalers 10, 100, 10, ground scalers 5) on the ground.
  static float GForceX() { return 0.2f / 10.0f / 5.0f; }
  static float GForceY() { return (1.5f - 1.0f) / 100.0f / 5.0f; }
  static float GForceZ() { return -0.5f / 10.0f / 5.0f; }
  static float Vibration(int phase) { return 80.0f * (1.0f * 0.00001f) * static_cast<float>(phase); }

  std::vector<HeadWrite> OneFrame() {
    recorder().Clear();
    Frame();
    return recorder().writes();
  }
  void ExpectWrites(const std::vector<HeadWrite>& actual, const std::vector<HeadWrite>& expected,
                    const std::string& what) {
    ASSERT_EQ(actual.size(), expected.size()) << what << ": " << ::testing::PrintToString(actual);
    for (std::size_t i = 0; i < actual.size(); ++i) {
      EXPECT_EQ(actual[i].name, expected[i].name) << what << " write " << i;
      EXPECT_FLOAT_EQ(actual[i].value, expected[i].value) << what << " write " << i << " " << actual[i].name;
    }
  }
};

// Six writes in the simulator's order, x, y, z, heading, pitch, roll.
std::vector<HeadWrite> AllSix(float x, float y, float z, float pitch, float heading, float roll) {
  return {{"x", x}, {"y", y}, {"z", z}, {"heading", heading}, {"pitch", pitch}, {"roll", roll}};
}

enum class BaseWrite { Nothing, WorkingPose, WorkingPoseWithOffsets };
enum class EffectsWrite { Nothing, TranslationsWithFrozenOffsets, TranslationsAndAnglesWithOffsets };

struct Row {
  bool continuous, tracking, effects;
  BaseWrite base;
  EffectsWrite onTop;
};

std::string Describe(const Row& row) {
  return std::string("continuous ") + (row.continuous ? "on" : "off") + ", tracking " +
         (row.tracking ? "on" : "off") + ", effects " + (row.effects ? "on" : "off");
}

TEST_F(UpdateTest, WhatReachesTheHeadInEachCombination) {
  const Row table[] = {
      {true, false, false, BaseWrite::WorkingPose, EffectsWrite::Nothing},
      {true, true, false, BaseWrite::WorkingPose, EffectsWrite::Nothing},
      {true, false, true, BaseWrite::WorkingPose, EffectsWrite::TranslationsWithFrozenOffsets},
      {true, true, true, BaseWrite::WorkingPose, EffectsWrite::TranslationsAndAnglesWithOffsets},
      {false, true, false, BaseWrite::WorkingPoseWithOffsets, EffectsWrite::Nothing},
      {false, true, true, BaseWrite::Nothing, EffectsWrite::TranslationsAndAnglesWithOffsets},
      {false, false, false, BaseWrite::Nothing, EffectsWrite::Nothing},
      {false, false, true, BaseWrite::Nothing, EffectsWrite::TranslationsWithFrozenOffsets},
  };
  ForcesAct();
  EnableViewControlFromMenu();
  const HeadPose& p = kPreset.pose;
  const HeadPose& t = kOffsets;
  int phase = 0;
  for (const Row& row : table) {
    Continuous(row.continuous);
    Tracking(row.tracking);
    Effects(row.effects);
    std::vector<HeadWrite> expected;
    if (row.base == BaseWrite::WorkingPose) expected = AllSix(p.x, p.y, p.z, p.pitch, p.heading, p.roll);
    if (row.base == BaseWrite::WorkingPoseWithOffsets) {
      expected =
          AllSix(p.x + t.x, p.y + t.y, p.z + t.z, p.pitch + t.pitch, p.heading + t.heading, p.roll + t.roll);
    }
    if (row.effects) phase = 1 - phase;
    if (row.onTop != EffectsWrite::Nothing) {
      // The tracker offsets take part whether or not tracking is on; the vibration comes on top.
      expected.push_back({"x", p.x + t.x - GForceX() + Vibration(phase)});
      expected.push_back({"y", p.y + t.y - GForceY() + Vibration(phase)});
      expected.push_back({"z", p.z + t.z - GForceZ() + Vibration(phase)});
    }
    if (row.onTop == EffectsWrite::TranslationsAndAnglesWithOffsets) {
      expected.push_back({"heading", p.heading + t.heading});
      expected.push_back({"pitch", p.pitch + t.pitch});
      expected.push_back({"roll", p.roll + t.roll});
    }
    ExpectWrites(OneFrame(), expected, Describe(row));
    // The live preset itself does not move, since no continuous rate is set.
    EXPECT_EQ(Text(OffsetField(0)), "0.100000") << Describe(row);
  }
  EXPECT_TRUE(viewTypeWrites().empty());
}

TEST_F(UpdateTest, VibrationShakesEverySecondFrameAndTheFirstEffectsFrameShakes) {
  ForcesAct();
  EnableViewControlFromMenu();
  Effects(true);
  for (int frame = 0; frame < 4; ++frame) {
    const float shake = frame % 2 == 0 ? Vibration(1) : 0.0f;
    ExpectWrites(OneFrame(),
                 {{"x", kPreset.pose.x - GForceX() + shake},
                  {"y", kPreset.pose.y - GForceY() + shake},
                  {"z", kPreset.pose.z - GForceZ() + shake}},
                 "frame " + std::to_string(frame));
  }
}

TEST_F(UpdateTest, EffectsKeepTheBoundsButTheVibrationIsNotTested) {
  ForcesAct();
  EnableViewControlFromMenu();
  Effects(true);
  Check(LimitsEnableBox(), true);
  // x just inside before the vibration is added, y pushed onto its bound by the g-force, z inside.
  const float x = kPreset.pose.x - GForceX();
  const float y = kPreset.pose.y - GForceY();
  View().limits[0] = ViewLimits{1, x - 0.001f, x + 0.0001f, y, 2.0f, -5.0f, 0.0f};
  ExpectWrites(OneFrame(), {{"x", x + Vibration(1)}, {"z", kPreset.pose.z - GForceZ() + Vibration(1)}},
               "bounded");
}

TEST_F(UpdateTest, ViewControlOffWritesNothing) {
  ForcesAct();
  Continuous(true);
  Tracking(true);
  Effects(true);
  View().presets[0] = kPreset;
  recorder().Clear();
  Frame(20);
  EXPECT_TRUE(recorder().writes().empty());
  EXPECT_TRUE(viewTypeWrites().empty());
  EXPECT_EQ(Text(OffsetField(0)), "");
  EXPECT_EQ(Text(PresetsIndicator()), "PRESETS CHANGED");  // the text it was built with
}

TEST_F(UpdateTest, ContinuousModeMovesThePresetAndTheHeadFollowsAFrameLater) {
  EnableViewControlFromMenu();
  Continuous(true);
  View().continuousRates = HeadPose{0.01f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f};
  float x = kPreset.pose.x;
  float roll = kPreset.pose.roll;
  for (int frame = 0; frame < 5; ++frame) {
    ExpectWrites(OneFrame(),
                 AllSix(x, kPreset.pose.y, kPreset.pose.z, kPreset.pose.pitch, kPreset.pose.heading, roll),
                 "frame " + std::to_string(frame));
    x += 0.01f;
    roll += 0.5f;
  }
  // The stored preset is a step ahead of the head, which the panel shows after the next reload.
  EXPECT_EQ(Text(OffsetField(5)), "3.000000");
  EXPECT_FLOAT_EQ(Float(kHeadRoll), 3.0f);
}

TEST_F(UpdateTest, ContinuousMotionStopsOnceTheWorkingPoseIsFoundOutsideItsBounds) {
  EnableViewControlFromMenu();
  Continuous(true);
  Check(LimitsEnableBox(), true);
  const float xMax = kPreset.pose.x + 0.025f;
  View().limits[0] = ViewLimits{1, -1.0f, xMax, 0.0f, 2.0f, -5.0f, 0.0f};
  View().continuousRates = HeadPose{0.01f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};

  const float x1 = kPreset.pose.x + 0.01f, x2 = x1 + 0.01f, x3 = x2 + 0.01f;
  ASSERT_LT(x2, xMax);
  ASSERT_GT(x3, xMax);
  for (float expected : {kPreset.pose.x, x1, x2}) {
    float written = 0;
    OneFrame();
    ASSERT_TRUE(recorder().Written("x", &written));
    EXPECT_FLOAT_EQ(written, expected);
  }
  // x3 is outside: not written, and the rate drops to 0, so the preset stays at x3.
  for (int frame = 0; frame < 3; ++frame) {
    OneFrame();
    EXPECT_FALSE(recorder().Written("x")) << "frame " << frame;
    EXPECT_TRUE(recorder().Written("y")) << "frame " << frame;
  }
  EXPECT_FLOAT_EQ(Float(kHeadX), x2);
  char shown[32];
  std::snprintf(shown, sizeof shown, "%f", static_cast<double>(x3));
  EXPECT_EQ(Text(OffsetField(0)), shown);
}

TEST_F(UpdateTest, ChangeIndicatorsFollowTheFlags) {
  EnableViewControlFromMenu();
  Frame();
  EXPECT_EQ(Text(PresetsIndicator()), "");
  EXPECT_EQ(Text(LimitsIndicator()), "");
  View().limitsChanged = true;
  Frame();
  EXPECT_EQ(Text(LimitsIndicator()), "LIMITS CHANGED");
  AsPlugin([] { ApplyView(0); });
  Frame();
  EXPECT_EQ(Text(PresetsIndicator()), "PRESETS CHANGED");
}

// Leaving the 3-D cockpit hands the view back in the view type the user chose.
class LeaveCockpitTest : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    Set(kHeadRoll, 2.0);  // saved when view control goes on
    EnableViewControlFromMenu();
    Set(kHeadRoll, 6.0);
  }
  void Leave() {
    Set(kViewType, 1017);
    recorder().Clear();
    viewTypeWrites().clear();
  }
  void ExpectViewControlOff() {
    EXPECT_TRUE(MenuItemEnabled(0));
    EXPECT_FALSE(MenuItemEnabled(1));
    EXPECT_EQ(Int(kViewType), 1017);
    EXPECT_FLOAT_EQ(Float(kHeadRoll), 2.0f);
    recorder().Clear();
    viewTypeWrites().clear();
    Frame(10);
    EXPECT_TRUE(recorder().writes().empty()) << ::testing::PrintToString(recorder().writes());
    EXPECT_TRUE(viewTypeWrites().empty());
  }
};

TEST_F(LeaveCockpitTest, InStepModeViewControlGoesOffOnce) {
  Leave();
  ExpectWrites(OneFrame(), {{"roll", 2.0f}}, "leaving");
  EXPECT_EQ(viewTypeWrites(), (std::vector<int>{1017}));
  ExpectViewControlOff();
}

TEST_F(LeaveCockpitTest, InContinuousModeViewControlGoesOffTwiceWithoutAPoseWrite) {
  Continuous(true);
  Leave();
  ExpectWrites(OneFrame(), {{"roll", 2.0f}, {"roll", 2.0f}}, "leaving");
  EXPECT_EQ(viewTypeWrites(), (std::vector<int>{1017, 1017}));
  ExpectViewControlOff();
}

TEST_F(LeaveCockpitTest, WhileTrackingViewControlGoesOffTwiceWithoutAPoseWrite) {
  Tracking(true);
  Leave();
  ExpectWrites(OneFrame(), {{"roll", 2.0f}, {"roll", 2.0f}}, "leaving");
  EXPECT_EQ(viewTypeWrites(), (std::vector<int>{1017, 1017}));
  ExpectViewControlOff();
}

TEST_F(LeaveCockpitTest, WithEffectsTheEffectsWriteStillHappensBetweenTheTwoSwitchOffs) {
  ForcesAct();
  Tracking(true);
  Effects(true);
  Leave();
  // Switching off stops the tracking, so the effects write leaves the angles alone.
  ExpectWrites(OneFrame(),
               {{"roll", 2.0f},
                {"x", kPreset.pose.x + kOffsets.x - GForceX() + Vibration(1)},
                {"y", kPreset.pose.y + kOffsets.y - GForceY() + Vibration(1)},
                {"z", kPreset.pose.z + kOffsets.z - GForceZ() + Vibration(1)},
                {"roll", 2.0f}},
               "leaving");
  EXPECT_EQ(viewTypeWrites(), (std::vector<int>{1017, 1017}));
  ExpectViewControlOff();
}

TEST_F(LeaveCockpitTest, OnlyTheThreeDCockpitKeepsViewControl) {
  for (int viewType : {1000, 1023, 1025, 1027}) {
    Set(kViewType, 1026);
    ASSERT_TRUE(host().menus().pick("Talvenor", "Enable"));
    Set(kViewType, viewType);
    Frame();
    EXPECT_TRUE(MenuItemEnabled(0)) << viewType;
    EXPECT_EQ(Int(kViewType), viewType);
  }
}

// An aircraft load while view control is on (or with automatic start) restarts view control at the next
// frame, from the head pose the simulator has then.
class ReinitialiseTest : public UpdateTest {};

TEST_F(ReinitialiseTest, AfterAPlaneLoadTheViewRestartsFromTheSimulatorsHeadPose) {
  EnableViewControlFromMenu();
  Check(LimitsEnableBox(), true);
  View().limits[0] = ViewLimits{1, -1.0f, 0.05f, 0.0f, 2.0f, -5.0f, 0.0f};
  View().limits[7] = ViewLimits{0, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f};
  Set(kHeadX, 0.35);
  Set(kHeadHeading, 20.0);
  Set(kHeadRoll, 4.0);
  host().planeLoaded(0);
  EXPECT_FLOAT_EQ(Float(kHeadRoll), 0.0f);  // reset on the load itself
  viewTypeWrites().clear();

  // Preset 1 takes the head pose, bounded by the old limits (x is beyond xMax: stored as xMax, not written);
  // the limits are cleared and view control goes off (the saved roll back) and on again, which loads the
  // aircraft's files (none here, so preset 1 is taken from the head once more, now without bounds).
  const auto writes = OneFrame();
  ASSERT_GE(writes.size(), 6u) << ::testing::PrintToString(writes);
  ExpectWrites(
      {writes.begin(), writes.begin() + 6},
      {{"y", 1.0f}, {"z", -4.0f}, {"heading", 20.0f}, {"pitch", 0.0f}, {"roll", 0.0f}, {"roll", 0.0f}},
      "re-initialisation");
  EXPECT_EQ(viewTypeWrites(), (std::vector<int>{1000, 1026}));
  EXPECT_FALSE(MenuItemEnabled(0));
  EXPECT_TRUE(MenuItemEnabled(1));
  for (const char* name : {"X1", "X2", "Y1", "Y2", "Z1", "Z2"}) EXPECT_EQ(Text(LimitField(name)), "0.000000");
  EXPECT_EQ(BoxState(LimitsEnableBox()), 0);  // slot 8's own switch, shown last
  EXPECT_EQ(BoxState(PresetBox(1)), 1);
  EXPECT_EQ(Text(PresetNumberField()), "1");
  EXPECT_EQ(Text(OffsetField(4)), "20.000000");

  // The re-initialisation ran once; the view stays on.
  viewTypeWrites().clear();
  EXPECT_TRUE(OneFrame().empty());
  EXPECT_TRUE(viewTypeWrites().empty());
}

TEST_F(ReinitialiseTest, APlaneLoadWhileViewControlIsOffChangesNothing) {
  host().planeLoaded(0);
  EXPECT_TRUE(OneFrame().empty());
  Frame(5);
  EXPECT_TRUE(viewTypeWrites().empty());
  EXPECT_TRUE(MenuItemEnabled(0));
}

TEST_F(ReinitialiseTest, AnotherAircraftsLoadChangesNothing) {
  EnableViewControlFromMenu();
  host().planeLoaded(1);
  Frame(5);
  EXPECT_TRUE(viewTypeWrites().empty());
  EXPECT_TRUE(recorder().writes().empty());
}

class AutoStartTest : public UpdateTest {
 protected:
  void BeforeStart() override { WriteSetupFile("[CONFIG]\nAUTOSTART = 1\n"); }
  void SetUp() override {
    UpdateTest::SetUp();
    OpenEffectsPanelAsPlugin();
  }
};

TEST_F(AutoStartTest, APlaneLoadSwitchesViewControlOnWithTheEffects) {
  ForcesAct();
  EXPECT_TRUE(MenuItemEnabled(0));
  host().planeLoaded(0);
  Frame();
  EXPECT_EQ(viewTypeWrites(), (std::vector<int>{1000, 1026}));
  EXPECT_FALSE(MenuItemEnabled(0));
  EXPECT_EQ(BoxState(ForceEffectsBox()), 1);
  EXPECT_EQ(BoxState(PanelState().effects.effectsOnBox), 1);
  // From the next frame on the effects act on the head.
  const auto writes = OneFrame();
  ASSERT_EQ(writes.size(), 3u) << ::testing::PrintToString(writes);
  EXPECT_FLOAT_EQ(writes[1].value, 1.0f - GForceY());
}

class AutoStartWithoutEffectsTest : public UpdateTest {
 protected:
  void BeforeStart() override { WriteSetupFile("[CONFIG]\nAUTOSTART = 1\nEFFECTSDISABLEONAUTOSTART = 1\n"); }
  void SetUp() override {
    UpdateTest::SetUp();
    OpenEffectsPanelAsPlugin();
  }
};

TEST_F(AutoStartWithoutEffectsTest, APlaneLoadSwitchesViewControlOnWithoutTheEffects) {
  Check(ForceEffectsBox(), true);
  host().planeLoaded(0);
  Frame();
  EXPECT_FALSE(MenuItemEnabled(0));
  EXPECT_EQ(BoxState(ForceEffectsBox()), 0);
  EXPECT_EQ(BoxState(PanelState().effects.effectsOnBox), 0);
  EXPECT_TRUE(OneFrame().empty());
}

class DataDisplayTest : public UpdateTest {
 protected:
  void SetUp() override {
    UpdateTest::SetUp();
    OpenDataDisplayAsPlugin();
  }
  std::string Shown(XPWidgetID field) { return Text(field); }
};

TEST_F(DataDisplayTest, ShowsTheSimulatorsHeadTheEffectsAndTheIncrementsEveryFrame) {
  const DataDisplayWidgets& data = PanelState().data;
  Frame();
  const char* head[] = {"-0.300000", "1.000000", "-4.000000", "0.000000", "0.000000", "0.000000"};
  for (int axis = 0; axis < 6; ++axis) EXPECT_EQ(Shown(data.headFields[axis]), head[axis]) << axis;
  for (XPWidgetID field : data.forceFields) EXPECT_EQ(Shown(field), "0.000000");
  const char* increments[] = {"0.010000", "0.010000", "0.010000", "1.000000", "1.000000", "1.000000"};
  for (int axis = 0; axis < 6; ++axis) EXPECT_EQ(Shown(data.incrementFields[axis]), increments[axis]) << axis;
  // Nothing came from a source yet.
  for (XPWidgetID field : data.sourceFields) EXPECT_EQ(Shown(field), "");

  // Hidden and with view control off, it still follows the simulator.
  XPHideWidget(data.window);
  Set(kHeadX, 0.5);
  Set(kHeadPitch, -12.25);
  Frame();
  EXPECT_EQ(Shown(data.headFields[0]), "0.500000");
  EXPECT_EQ(Shown(data.headFields[3]), "-12.250000");
  // A value equal to the last one but with another sign still shows as the simulator has it.
  Set(kHeadX, 0.0);
  Frame();
  EXPECT_EQ(Shown(data.headFields[0]), "0.000000");
  Set(kHeadX, -0.0);
  Frame();
  EXPECT_EQ(Shown(data.headFields[0]), "-0.000000");

  // With effects on, the g-force offsets of the frame.
  ForcesAct();
  EnableViewControlFromMenu();
  Effects(true);
  Frame();
  char expected[32];
  const float forces[] = {GForceX(), GForceY(), GForceZ()};
  for (int axis = 0; axis < 3; ++axis) {
    std::snprintf(expected, sizeof expected, "%f", static_cast<double>(forces[axis]));
    EXPECT_EQ(Shown(data.forceFields[axis]), expected) << axis;
  }
  // The head rows show what the simulator has after this frame's writes.
  std::snprintf(expected, sizeof expected, "%f",
                static_cast<double>(kPreset.pose.x - GForceX() + Vibration(1)));
  EXPECT_EQ(Shown(data.headFields[0]), expected);
}

// An external source announces itself through its switch dataref.
class ExternalSwitchTest : public UpdateTest {
 protected:
  void BeforeStart() override {
    WriteSetupFile("[DEBUG]\nDEBUGLOGENABLED = 1\n[CONFIG]\nENABLEEXTERNALDATA = 1\n");
  }
  int Lines(const std::string& text) {
    const std::string log = Log();
    int count = 0;
    for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
    return count;
  }
};

TEST_F(ExternalSwitchTest, EachChangeIsLoggedOnceAndShownInThePanelAndMenu) {
  const char kSet[] = "External Data Source has set the External Enabled Dataref\n";
  const char kReset[] = "External Data Source has reset the External Enabled Dataref\n";
  Frame(5);
  EXPECT_EQ(Lines(kSet), 0);
  EXPECT_EQ(Lines(kReset), 0);

  externalValue_ = 1;
  Frame();
  EXPECT_EQ(Lines(kSet), 1);
  EXPECT_EQ(Text(StatusCaption()), "External Data found");
  EXPECT_FALSE(MenuItemEnabled(5));
  EXPECT_TRUE(MenuItemEnabled(6));
  Frame(5);
  externalValue_ = 2;  // still on, but a change
  Frame(5);
  EXPECT_EQ(Lines(kSet), 2);

  externalValue_ = 0;
  Frame(5);
  EXPECT_EQ(Lines(kReset), 1);
  EXPECT_EQ(Text(StatusCaption()), "External Data not found or disabled");
  EXPECT_FALSE(MenuItemEnabled(6));
}

TEST_F(ExternalSwitchTest, WithViewControlOnTheSourceIsShownAndTrackingGoesOn) {
  EnableViewControlFromMenu();
  externalValue_ = 1;
  Frame();
  for (int axis = 0; axis < 6; ++axis) EXPECT_TRUE(Visible(AxisBox(axis)));
  EXPECT_FALSE(Visible(MultiplierCaption()));
  EXPECT_FALSE(Visible(MultiplierField()));
  EXPECT_TRUE(Visible(StatusCaption()));
  EXPECT_EQ(Text(StatusCaption()), "External Data found");
  // Tracking is on: in step mode the working pose plus the (still zero) offsets reaches the head.
  ExpectWrites(OneFrame(),
               AllSix(kPreset.pose.x, kPreset.pose.y, kPreset.pose.z, kPreset.pose.pitch,
                      kPreset.pose.heading, kPreset.pose.roll),
               "tracking");
}

}  // namespace
}  // namespace talvenor::testing
