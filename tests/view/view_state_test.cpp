// ApplyView and ResetPresetsToCurrentView as the simulator sees them: which head datarefs are written, in
// which order, with which values, and what the selected preset then holds.
#include <cmath>
#include <limits>

#include "plugin/mode_switches.h"
#include "ui/control_panel_fixture.h"
#include "ui/panels.h"

namespace talvenor::testing {
namespace {

using Names = std::vector<std::string>;
const Names kAllSix = {"x", "y", "z", "heading", "pitch", "roll"};

class ApplyViewTest : public ControlPanelTest {
 protected:
  void SetUp() override {
    ControlPanelTest::SetUp();
    RecordHeadWrites();
    Start();
    OpenFromMenu();
    RunUntilUpdating();
    // View control on first: switching it on reloads the aircraft's presets and limits.
    ASSERT_TRUE(host().menus().pick("Talvenor", "Enable"));
    recorder().Clear();
  }

  void Pose(float x, float y, float z, float pitch, float heading, float roll) {
    View().workingPose = HeadPose{x, y, z, pitch, heading, roll};
  }
  void Bounds(int slot, std::int32_t enabled, float xMin, float xMax, float yMin, float yMax, float zMin,
              float zMax) {
    View().limits[slot] = ViewLimits{enabled, xMin, xMax, yMin, yMax, zMin, zMax};
  }
  void LimitsBox(bool on) { Check(LimitsEnableBox(), on); }
  void Apply(std::int32_t limitsFlag) {
    AsPlugin([&] { ApplyView(limitsFlag); });
  }
  // The selected preset as the control panel's "Pilot Offsets" fields show it after the next frame.
  std::string OffsetShown(int axis) {
    Frame();
    return Text(OffsetField(axis));
  }
};

TEST_F(ApplyViewTest, ValueBeyondMaximumIsStoredAsMaximumAndNotWritten) {
  Bounds(0, 1, -1.0f, 0.5f, 0.0f, 2.0f, -5.0f, -3.0f);
  LimitsBox(true);
  Pose(0.9f, 1.2f, -4.2f, 3.0f, 10.0f, 2.0f);
  Apply(View().limits[0].enabled);

  const std::vector<HeadWrite> expected = {
      {"y", 1.2f}, {"z", -4.2f}, {"heading", 10.0f}, {"pitch", 3.0f}, {"roll", 2.0f}};
  EXPECT_EQ(recorder().writes(), expected);
  EXPECT_FLOAT_EQ(Float(kHeadX), -0.3f);
  EXPECT_EQ(OffsetShown(0), "0.500000");
  EXPECT_EQ(OffsetShown(1), "1.200000");
}

TEST_F(ApplyViewTest, ValueBelowMinimumIsStoredAsMinimumAndNotWritten) {
  Bounds(0, 1, -1.0f, 1.0f, 0.5f, 2.0f, -5.0f, -3.0f);
  LimitsBox(true);
  Pose(0.1f, 0.2f, -6.0f, 0.0f, 0.0f, 0.0f);
  Apply(1);
  EXPECT_EQ(recorder().Names(), (Names{"x", "heading", "pitch", "roll"}));
  EXPECT_EQ(OffsetShown(1), "0.500000");
  EXPECT_EQ(OffsetShown(2), "-5.000000");
}

TEST_F(ApplyViewTest, MinimumAboveMaximumWinsAndIsNeverWritten) {
  Bounds(0, 1, 0.5f, 0.2f, 0.0f, 2.0f, -5.0f, -3.0f);
  LimitsBox(true);
  for (float x : {0.3f, 0.1f, 0.9f, 0.5f, 0.2f}) {
    Pose(x, 1.0f, -4.0f, 0.0f, 0.0f, 0.0f);
    Apply(1);
    EXPECT_FALSE(recorder().Written("x")) << "x = " << x;
    EXPECT_EQ(OffsetShown(0), "0.500000") << "x = " << x;
  }
  EXPECT_FLOAT_EQ(Float(kHeadX), -0.3f);
}

TEST_F(ApplyViewTest, ValueOnABoundIsNotWrittenOneInsideIs) {
  Bounds(0, 1, -0.5f, 0.5f, 1.0f, 2.0f, -5.0f, -3.0f);
  LimitsBox(true);
  Pose(-0.5f, 2.0f, -3.5f, 0.0f, 0.0f, 0.0f);
  Apply(1);
  EXPECT_EQ(recorder().Names(), (Names{"z", "heading", "pitch", "roll"}));

  recorder().Clear();
  const float inside = std::nextafter(-0.5f, 0.0f);
  Pose(inside, 1.5f, -3.5f, 0.0f, 0.0f, 0.0f);
  Apply(1);
  float written = 0;
  ASSERT_TRUE(recorder().Written("x", &written));
  EXPECT_EQ(written, inside);
}

TEST_F(ApplyViewTest, WithoutBothSwitchesNothingIsClampedAndAllSixAreWrittenInOrder) {
  Bounds(0, 0, -0.1f, 0.1f, 0.0f, 0.5f, -1.0f, 0.0f);
  struct Case {
    bool box;
    std::int32_t enabled;
    std::int32_t flag;
  };
  // Box on but the slot's limits off; box off with the slot's on; both on but the caller passes 0 (a preset
  // recall).
  for (const Case c : {Case{true, 0, 0}, Case{false, 1, 1}, Case{true, 1, 0}}) {
    LimitsBox(c.box);
    // The box switches the slot's limits with it: a slot apart from its box is no click's doing.
    View().limits[0].enabled = c.enabled;
    recorder().Clear();
    Pose(0.9f, 1.2f, -4.2f, 3.0f, 10.0f, 2.0f);
    Apply(c.flag);
    const std::vector<HeadWrite> expected = {{"x", 0.9f},        {"y", 1.2f},     {"z", -4.2f},
                                             {"heading", 10.0f}, {"pitch", 3.0f}, {"roll", 2.0f}};
    EXPECT_EQ(recorder().writes(), expected) << "box " << c.box << " enabled " << c.enabled;
    EXPECT_EQ(OffsetShown(0), "0.900000");
  }
}

TEST_F(ApplyViewTest, EditsTheSelectedSlotOnly) {
  View().presets[1] = ViewPreset{1, {0.7f, 1.1f, -3.1f, 1.0f, 2.0f, 3.0f}};
  View().selectedPreset = 2;
  Pose(0.2f, 1.3f, -4.4f, 5.0f, 6.0f, 7.0f);
  Apply(0);
  EXPECT_EQ(OffsetShown(3), "5.000000");
  AsPlugin([] { SelectPreset(1); });
  float x = 0;
  ASSERT_TRUE(recorder().Written("x", &x));
  EXPECT_FLOAT_EQ(x, 0.7f);
  EXPECT_EQ(OffsetShown(0), "0.700000");
}

TEST_F(ApplyViewTest, MarksThePresetsChangedEvenWhenNothingMoved) {
  Frame();
  EXPECT_EQ(Text(PresetsIndicator()), "");
  EXPECT_EQ(Text(LimitsIndicator()), "");
  LoadWorkingPose(0);
  Apply(0);
  Frame();
  EXPECT_EQ(Text(PresetsIndicator()), "PRESETS CHANGED");
  EXPECT_EQ(Text(LimitsIndicator()), "");
}

TEST_F(ApplyViewTest, ANumberThatIsNotFiniteNeverReachesTheSimulator) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  Pose(nan, inf, -inf, nan, 4.0f, inf);
  Apply(0);
  EXPECT_EQ(recorder().Names(), (Names{"heading"}));
  // With bounds, a NaN slips through the clamp but not the strict test.
  Bounds(0, 1, -1.0f, 1.0f, 0.0f, 2.0f, -5.0f, -3.0f);
  LimitsBox(true);
  recorder().Clear();
  Pose(nan, 1.0f, -4.0f, 0.0f, 0.0f, 0.0f);
  Apply(1);
  EXPECT_EQ(recorder().Names(), (Names{"y", "z", "heading", "pitch", "roll"}));
}

class ResetPresetsTest : public ApplyViewTest {};

TEST_F(ResetPresetsTest, FirstPresetBecomesTheSimulatorsHeadPoseAndIsSelected) {
  ViewState& view = View();
  view.presets[3] = ViewPreset{1, {0.4f, 1.4f, -3.4f, 4.0f, 14.0f, 24.0f}};
  view.presets[5] = ViewPreset{1, {0.6f, 1.6f, -3.6f, 6.0f, 16.0f, 26.0f}};
  view.selectedPreset = 5;
  AsPlugin([] { ShowPresetBoxes(); });
  Set(kHeadX, 0.15);
  Set(kHeadY, 1.25);
  Set(kHeadZ, -3.75);
  Set(kHeadHeading, 12.5);
  Set(kHeadPitch, -4.5);
  Set(kHeadRoll, 3.5);
  recorder().Clear();

  AsPlugin([] { ResetPresetsToCurrentView(); });

  for (int number = 1; number <= kPresetSlots; ++number)
    EXPECT_EQ(BoxState(PresetBox(number)), number == 1 ? 1 : 0);
  EXPECT_EQ(Text(PresetNumberField()), "1");
  EXPECT_EQ(recorder().Names(), kAllSix);
  const char* shown[] = {"0.150000", "1.250000", "-3.750000", "-4.500000", "12.500000", "3.500000"};
  for (int axis = 0; axis < 6; ++axis) EXPECT_EQ(OffsetShown(axis), shown[axis]) << "axis " << axis;

  // Preset 1 is the live view now: continuous mode writes it back over whatever the simulator has.
  Set(kHeadX, 0.0);
  Set(kHeadHeading, 0.0);
  Check(ContinuousBox(), true);
  Frame();
  EXPECT_FLOAT_EQ(Float(kHeadX), 0.15f);
  EXPECT_FLOAT_EQ(Float(kHeadHeading), 12.5f);

  // The other stored slots are kept, although only the first box shows as set.
  Check(ContinuousBox(), false);
  AsPlugin([] { SelectPreset(3); });
  EXPECT_FLOAT_EQ(Float(kHeadX), 0.4f);
  EXPECT_FLOAT_EQ(Float(kHeadRoll), 24.0f);
}

TEST_F(ResetPresetsTest, AppliesTheFirstSlotsBounds) {
  Bounds(0, 1, -1.0f, 0.1f, 0.0f, 2.0f, -5.0f, -3.0f);
  LimitsBox(true);
  Set(kHeadX, 0.4);
  recorder().Clear();
  AsPlugin([] { ResetPresetsToCurrentView(); });
  EXPECT_EQ(recorder().Names(), (Names{"y", "z", "heading", "pitch", "roll"}));
  EXPECT_EQ(OffsetShown(0), "0.100000");
}

}  // namespace
}  // namespace talvenor::testing
