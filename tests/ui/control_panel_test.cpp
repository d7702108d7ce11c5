// The control panel at work: every button and box doing its job, seen through the head datarefs, the
// panel's own widgets and the aircraft's files.
#include <cmath>
#include <string>

#include "ui/control_panel_fixture.h"

namespace talvenor::testing {
namespace {

// The head at the host's start, which becomes preset 1 when the aircraft has no preset file.
constexpr float kStartX = -0.3f, kStartY = 1.0f;

struct Head {
  float x, y, z, pitch, heading, roll;
};

class ControlPanelUseTest : public ControlPanelTest {
 protected:
  Head ReadHead() {
    return {Float(kHeadX),     Float(kHeadY),       Float(kHeadZ),
            Float(kHeadPitch), Float(kHeadHeading), Float(kHeadRoll)};
  }
  void SavePresets() { Click("Save", 1); }
  void SaveLimits() { Click("Save", 2); }
  // A preset file with slot 1 stored at POSE and nothing else.
  void WriteOnePreset(const FileRecord& first) {
    std::vector<FileRecord> records(8);
    records[0] = first;
    WriteAircraftFile("Talvenor.dat", FileBytes(records));
  }
};

// Each nudge pad moves one axis by the step, 50 steps for heading and pitch; the pad's caption, its place
// among the pads with that caption, the axis (x, y, z, pitch, heading, roll) and the signed factor.
struct Pad {
  const char* caption;
  int k;
  int axis;
  double factor;
};
constexpr Pad kPads[] = {
    {" Z", 1, 2, -1},   {" X", 1, 0, -1},   {" X", 2, 0, 1},  {" Hdg", 1, 4, -50},
    {" Z", 2, 2, 1},    {" Hdg", 2, 4, 50}, {" Y", 1, 1, 1},  {" Ptc", 1, 3, 50},
    {" Rll", 1, 5, -1}, {" Rll", 2, 5, 1},  {" Y", 2, 1, -1}, {" Ptc", 2, 3, -50},
};

float AxisOf(const Head& head, int axis) {
  const float values[6] = {head.x, head.y, head.z, head.pitch, head.heading, head.roll};
  return values[axis];
}

TEST_F(ControlPanelUseTest, EachNudgePadMovesItsAxisByTheStepOrFiftyStepsForTheAngles) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  // The default step turns the head by exactly half a degree.
  Click(" Hdg", 2);
  EXPECT_EQ(Float(kHeadHeading), 0.5f);
  Click(" Ptc", 2);
  EXPECT_EQ(Float(kHeadPitch), -0.5f);
  for (const double step : {0.01, 0.05}) {
    if (step != 0.01) Type(SizeField(), "0.05");
    for (const Pad& pad : kPads) {
      SCOPED_TRACE(std::string("\"") + pad.caption + "\"#" + std::to_string(pad.k) + " step " +
                   std::to_string(step));
      const Head before = ReadHead();
      Click(pad.caption, pad.k);
      const Head after = ReadHead();
      for (int axis = 0; axis < 6; ++axis) {
        const double expected = AxisOf(before, axis) + (axis == pad.axis ? pad.factor * step : 0.0);
        EXPECT_NEAR(AxisOf(after, axis), expected, 1e-5) << "axis " << axis;
      }
    }
  }
}

TEST_F(ControlPanelUseTest, ANudgeEditsTheSelectedPresetAndMarksThePresetsChanged) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  Frame();
  EXPECT_EQ(Text(PresetsIndicator()), "");
  Click(" X", 2);
  Frame(3);  // every frame reloads the view from the preset
  EXPECT_NEAR(Float(kHeadX), kStartX + 0.01f, 1e-6);
  EXPECT_EQ(Text(PresetsIndicator()), "PRESETS CHANGED");
  EXPECT_EQ(Text(OffsetField(0)), "-0.290000");
  SavePresets();
  EXPECT_NEAR(RecordOf("Talvenor.dat", 0).values[0], kStartX + 0.01f, 1e-6);
  Frame();
  EXPECT_EQ(Text(PresetsIndicator()), "");
}

TEST_F(ControlPanelUseTest, ContinuousModeSetsRatesThatTheFrameAddsUntilAStopButton) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  Click(ContinuousBox());
  EXPECT_EQ(BoxState(ContinuousBox()), 1);
  Click(" X", 2);
  EXPECT_EQ(Float(kHeadX), kStartX);  // the rate changed, not the view
  Frame();
  EXPECT_EQ(Float(kHeadX), kStartX);  // the preset moved; the head follows a frame later
  Frame(10);
  EXPECT_NEAR(Float(kHeadX), kStartX + 0.10f, 1e-5);
  Click(" X", 2);  // a second press adds to the rate
  Click(" Hdg", 1);
  Frame();
  const Head moving = ReadHead();
  Frame();
  EXPECT_NEAR(Float(kHeadX) - moving.x, 0.02f, 1e-5);
  EXPECT_NEAR(Float(kHeadHeading) - moving.heading, -0.5f, 1e-4);

  Click(" ", 1);  // stop
  Frame();
  const Head stopped = ReadHead();
  Frame(5);
  EXPECT_EQ(Float(kHeadX), stopped.x);
  EXPECT_EQ(Float(kHeadHeading), stopped.heading);

  Click(" Rll", 2);
  Click(" Ptc", 1);
  Frame(3);
  EXPECT_GT(Float(kHeadRoll), stopped.roll);
  EXPECT_GT(Float(kHeadPitch), stopped.pitch);
  Click(" ", 2);  // the other stop
  Frame();
  const Head again = ReadHead();
  Frame(5);
  EXPECT_EQ(Float(kHeadRoll), again.roll);
  EXPECT_EQ(Float(kHeadPitch), again.pitch);
}

TEST_F(ControlPanelUseTest, ASizeThatIsNotAFiniteNumberIsAStepOfZero) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  const std::string texts[] = {"abc", "", "nan", "inf", "-inf", "1e39", "-", ".", "0x10"};
  for (const std::string& text : texts) {
    SCOPED_TRACE("Size \"" + text + "\"");
    Frame();
    Click("Save", 1);
    Frame();
    ASSERT_EQ(Text(PresetsIndicator()), "");
    Type(SizeField(), text);
    const Head before = ReadHead();
    Click(" X", 2);
    Click(" Hdg", 2);
    const Head after = ReadHead();
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.heading, before.heading);
    Frame();
    EXPECT_EQ(Text(PresetsIndicator()), "PRESETS CHANGED");  // the view was applied all the same
  }
  // A step whose fifty-fold move would overflow leaves the angle where it was.
  Type(SizeField(), "3e38");
  Click(" Ptc", 1);
  EXPECT_EQ(Float(kHeadPitch), 0.0f);
}

TEST_F(ControlPanelUseTest, SizeTextIsReadUpToTwoHundredAndFiftyFiveCharacters) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  // Exactly 255 characters arrive unterminated from the host.
  Type(SizeField(), "0.25" + std::string(251, '0'));
  float x = Float(kHeadX);
  Click(" X", 2);
  EXPECT_NEAR(Float(kHeadX), x + 0.25f, 1e-6);
  // The exponent beyond the 255th character is not seen.
  Type(SizeField(), "0.5" + std::string(252, '0') + "e-1");
  x = Float(kHeadX);
  Click(" X", 2);
  EXPECT_NEAR(Float(kHeadX), x + 0.5f, 1e-6);
}

TEST_F(ControlPanelUseTest, APresetButtonStoresAnEmptySlotAndRecallsAStoredOne) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  EXPECT_EQ(BoxState(PresetBox(1)), 1);
  EXPECT_EQ(BoxState(PresetBox(3)), 0);
  Click(" X", 2);
  const Head stored = ReadHead();
  Click(PresetButton(3));
  EXPECT_EQ(BoxState(PresetBox(3)), 1);
  EXPECT_EQ(Text(PresetNumberField()), "3");
  EXPECT_EQ(ReadHead().x, stored.x);  // storing does not move the view
  for (const char* limit : {"X1", "X2", "Y1", "Y2", "Z1", "Z2"})
    EXPECT_EQ(Text(LimitField(limit)), "0.000000");

  // Preset 3 is now the live one: a nudge moves it, and preset 1 keeps the view it had.
  Click(" Y", 1);
  Click(PresetButton(1));
  EXPECT_EQ(Text(PresetNumberField()), "1");
  EXPECT_EQ(Float(kHeadX), stored.x);
  EXPECT_EQ(Float(kHeadY), kStartY);
  Click(PresetButton(3));
  EXPECT_EQ(Text(PresetNumberField()), "3");
  EXPECT_NEAR(Float(kHeadY), kStartY + 0.01f, 1e-6);
  SavePresets();
  EXPECT_EQ(RecordOf("Talvenor.dat", 2).flag, 1);
  EXPECT_EQ(RecordOf("Talvenor.dat", 2).values[0], stored.x);
  EXPECT_EQ(RecordOf("Talvenor.dat", 1).flag, 0);
}

TEST_F(ControlPanelUseTest, ARecallWritesThePresetWithoutItsLimitsAndShowsThem) {
  WriteAircraftFile("Talvenor.dat", FileBytes({{1}, {}, {1, {0.5f, 1.2f, -3.0f}}, {}, {}, {}, {}, {}}));
  // Slot 3's limits, switched on, keep x within -0.2 .. 0.2; in force for preset 1 too (x within -0.2 .. 1),
  // so the box is on when preset 3 is recalled.
  WriteAircraftFile("TalvenorLimits.dat", FileBytes({{1, {-0.2f, 1.0f, 0.0f, 2.0f, -5.0f, 0.0f}},
                                                     {},
                                                     {1, {-0.2f, 0.2f, 0.0f, 2.0f, -5.0f, 0.0f}},
                                                     {},
                                                     {},
                                                     {},
                                                     {},
                                                     {}}));
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  EXPECT_EQ(BoxState(LimitsEnableBox()), 1);
  EXPECT_EQ(Text(LimitField("X2")), "1.000000");
  Click(PresetButton(3));
  EXPECT_EQ(Float(kHeadX), 0.5f);
  EXPECT_EQ(BoxState(LimitsEnableBox()), 1);
  EXPECT_EQ(Text(LimitField("X1")), "-0.200000");
  EXPECT_EQ(Text(LimitField("X2")), "0.200000");
  EXPECT_EQ(Text(LimitField("Z1")), "-5.000000");
  // A nudge applies the limits: x is held at the maximum, which is not written.
  Click(" X", 2);
  EXPECT_EQ(Float(kHeadX), 0.5f);
  Frame();
  EXPECT_EQ(Text(OffsetField(0)), "0.200000");
}

TEST_F(ControlPanelUseTest, APresetButtonSwitchesContinuousModeOff) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  Click(ContinuousBox());
  Click(" Z", 2);
  Frame(3);
  Click(PresetButton(2));  // stores
  EXPECT_EQ(BoxState(ContinuousBox()), 0);
  Frame();
  const float z = Float(kHeadZ);
  Frame(5);
  EXPECT_EQ(Float(kHeadZ), z);
}

TEST_F(ControlPanelUseTest, PresetBoxesStoreOnlyIntoAnEmptySlot) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  // An empty slot's box does not stay checked, and the slot stays empty.
  Click(PresetBox(5));
  EXPECT_EQ(BoxState(PresetBox(5)), 0);
  // A stored slot's box can be unchecked; the slot keeps its view.
  Click(PresetBox(1));
  EXPECT_EQ(BoxState(PresetBox(1)), 0);
  SavePresets();
  EXPECT_EQ(RecordOf("Talvenor.dat", 4).flag, 0);
  EXPECT_EQ(RecordOf("Talvenor.dat", 0).flag, 1);
  EXPECT_EQ(RecordOf("Talvenor.dat", 0).values[0], kStartX);

  // A checked box over an empty slot, unchecked by the user: the view is stored there and selected.
  XPSetWidgetProperty(PresetBox(6), xpProperty_ButtonState, 1);
  Click(PresetBox(6));
  EXPECT_EQ(BoxState(PresetBox(6)), 1);
  Click(" X", 1);  // edits preset 6 now
  SavePresets();
  EXPECT_EQ(RecordOf("Talvenor.dat", 5).flag, 1);
  EXPECT_NEAR(RecordOf("Talvenor.dat", 5).values[0], kStartX - 0.01f, 1e-6);
  EXPECT_EQ(RecordOf("Talvenor.dat", 0).values[0], kStartX);
}

TEST_F(ControlPanelUseTest, ClearLeavesPresetOneAtTheCurrentHeadAndEmptiesTheOthers) {
  std::vector<FileRecord> records(8);
  for (int slot : {0, 3, 7}) records[static_cast<std::size_t>(slot)] = {1, {0.1f * static_cast<float>(slot)}};
  WriteAircraftFile("Talvenor.dat", FileBytes(records));
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  Click(PresetButton(4));
  EXPECT_EQ(Text(PresetNumberField()), "4");
  // The simulator's head as it stands now.
  Set(kHeadX, 0.125);
  Set(kHeadHeading, 12.0);
  Click("Clear", 1);
  for (int number = 1; number <= 8; ++number) EXPECT_EQ(BoxState(PresetBox(number)), number == 1 ? 1 : 0);
  EXPECT_EQ(Text(PresetNumberField()), "1");
  SavePresets();
  const FileRecord first = RecordOf("Talvenor.dat", 0);
  EXPECT_EQ(first.flag, 1);
  EXPECT_EQ(first.values[0], 0.125f);
  EXPECT_EQ(first.values[4], 12.0f);
  for (int slot = 1; slot < 8; ++slot) {
    const FileRecord record = RecordOf("Talvenor.dat", slot);
    EXPECT_EQ(record.flag, 0) << slot;
    EXPECT_EQ(record.values[0], 0.0f) << slot;
  }
}

TEST_F(ControlPanelUseTest, ClearRollLevelsTheView) {
  WriteOnePreset({1, {0, 0, 0, 0, 0, -5.0f}});
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  EXPECT_EQ(Float(kHeadRoll), -5.0f);
  Click(" Clr Roll");
  EXPECT_EQ(Float(kHeadRoll), 0.0f);
  Frame(2);
  EXPECT_EQ(Float(kHeadRoll), 0.0f);
  EXPECT_EQ(Text(OffsetField(5)), "0.000000");
}

TEST_F(ControlPanelUseTest, PresetSaveAndLoadGoThroughTheAircraftsFile) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  Click(" Z", 1);
  SavePresets();
  EXPECT_EQ(ReadFile("Aircraft/Default/Talvenor.dat").size(), 224u);
  const float saved = Float(kHeadZ);
  Click(" Z", 1);
  Click(" Z", 1);
  Frame();
  EXPECT_EQ(Text(PresetsIndicator()), "PRESETS CHANGED");
  Click("Load", 1);
  EXPECT_EQ(Float(kHeadZ), saved);
  Frame();
  EXPECT_EQ(Text(PresetsIndicator()), "");
}

TEST_F(ControlPanelUseTest, CaptureButtonsTakeTheViewIntoTheSelectedPresetsBounds) {
  WriteOnePreset({1, {-0.25f, 1.1f, -3.5f}});
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  Frame();
  EXPECT_EQ(Text(LimitsIndicator()), "");
  Click("X1");
  EXPECT_EQ(Text(LimitField("X1")), "-0.250000");
  Frame();
  EXPECT_EQ(Text(LimitsIndicator()), "LIMITS CHANGED");
  Click("Y1");
  Click("Z1");
  Click(" X", 2);
  Click(" Y", 1);
  Click(" Z", 2);
  const Head moved = ReadHead();
  Click("X2");
  Click("Y2");
  Click("Z2");
  EXPECT_EQ(Text(LimitField("X2")), "-0.240000");
  EXPECT_EQ(Text(LimitField("Y1")), "1.100000");
  EXPECT_EQ(Text(LimitField("Y2")), "1.110000");
  EXPECT_EQ(Text(LimitField("Z1")), "-3.500000");
  EXPECT_EQ(Text(LimitField("Z2")), "-3.490000");
  SaveLimits();
  const FileRecord bounds = RecordOf("TalvenorLimits.dat", 0);
  EXPECT_EQ(bounds.flag, 0);
  const float expected[6] = {-0.25f, moved.x, 1.1f, moved.y, -3.5f, moved.z};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(bounds.values[i], expected[i]) << i;
  Frame();
  EXPECT_EQ(Text(LimitsIndicator()), "");
}

TEST_F(ControlPanelUseTest, TheLimitsEnableBoxSwitchesTheSelectedPresetsBounds) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  Click("X1");  // -0.3
  Click(" X", 2);
  Click("X2");  // -0.29
  Click(LimitsEnableBox());
  Click(" X", 2);
  Frame();
  EXPECT_EQ(Text(OffsetField(0)), "-0.290000");  // held at the maximum
  SaveLimits();
  EXPECT_EQ(RecordOf("TalvenorLimits.dat", 0).flag, 1);
  // Switching them on or off does not count as a change of the limits.
  Frame();
  EXPECT_EQ(Text(LimitsIndicator()), "");
  Click(LimitsEnableBox());
  Click(" X", 2);
  Frame();
  EXPECT_EQ(Text(OffsetField(0)), "-0.280000");
}

TEST_F(ControlPanelUseTest, LimitsClearSaveAndLoad) {
  Start();
  RunUntilUpdating();
  EnableAndOpen();
  Click(" X", 1);
  Click("X1");
  Click(LimitsEnableBox());
  SaveLimits();
  Click("Clear", 2);
  for (const char* limit : {"X1", "X2", "Y1", "Y2", "Z1", "Z2"})
    EXPECT_EQ(Text(LimitField(limit)), "0.000000");
  Frame();
  EXPECT_EQ(Text(LimitsIndicator()), "LIMITS CHANGED");
  Click("Load", 2);
  EXPECT_EQ(Text(LimitField("X1")), "-0.310000");
  EXPECT_EQ(BoxState(LimitsEnableBox()), 1);
  Frame();
  EXPECT_EQ(Text(LimitsIndicator()), "");
  // Clearing keeps each slot's switch.
  Click("Clear", 2);
  SaveLimits();
  const FileRecord cleared = RecordOf("TalvenorLimits.dat", 0);
  EXPECT_EQ(cleared.flag, 1);
  EXPECT_EQ(cleared.values[0], 0.0f);
}

TEST_F(ControlPanelUseTest, TheForceEffectsBoxSwitchesTheEffectsAndTheEffectsPanelsBox) {
  Start();
  RunUntilUpdating();
  OpenEffectsPanelAsPlugin();
  EnableAndOpen();
  // Effects off, nothing tracked, step mode: the frame writes nothing, so the head stays where it is put.
  Set(kHeadX, 5.0);
  Frame(2);
  EXPECT_EQ(Float(kHeadX), 5.0f);
  Click(ForceEffectsBox());
  EXPECT_EQ(BoxState(PanelState().effects.effectsOnBox), 1);
  Frame();
  EXPECT_NEAR(Float(kHeadX), kStartX, 0.01);  // the effects write puts the view back every frame
  Click(ForceEffectsBox());
  EXPECT_EQ(BoxState(PanelState().effects.effectsOnBox), 0);
  Set(kHeadX, 5.0);
  Frame(2);
  EXPECT_EQ(Float(kHeadX), 5.0f);
}

TEST_F(ControlPanelUseTest, TheCloseBoxHidesThePanelAndTheToggleShowsItAgain) {
  WriteSetupFile("[CONTROL_PANEL_TOGGLE]\nHOTKEY = F12\n");
  Start();
  RunUntilUpdating();
  OpenFromMenu();
  XPWidgetID window = Window();
  CloseBox();
  EXPECT_FALSE(Shown(window));
  EXPECT_FALSE(PanelState().controlPanelVisible);
  EXPECT_EQ(Press(XPLM_VK_F12), 1);
  EXPECT_TRUE(Shown(window));
  EXPECT_EQ(Window(), window);
  EXPECT_EQ(Press(XPLM_VK_F12), 1);
  EXPECT_FALSE(Shown(window));
  // The menu shows it whatever the visible flag said.
  OpenFromMenu();
  EXPECT_TRUE(Shown(window));
  CloseBox();
  OpenFromMenu();
  EXPECT_TRUE(Shown(window));
}

TEST_F(ControlPanelUseTest, TheHandlerTakesOnlyItsOwnButtons) {
  Start();
  RunUntilUpdating();
  OpenFromMenu();
  XPWidgetID window = Window();
  XPWidgetID subWindow = host().widgets().tree(window)[1].id;
  XPWidgetID caption = Named("Pilot Offsets");
  EXPECT_EQ(XPSendMessageToWidget(window, xpMsg_PushButtonPressed, xpMode_Direct,
                                  reinterpret_cast<intptr_t>(subWindow), 0),
            0);
  EXPECT_EQ(XPSendMessageToWidget(window, xpMsg_PushButtonPressed, xpMode_Direct,
                                  reinterpret_cast<intptr_t>(caption), 0),
            0);
  EXPECT_EQ(XPSendMessageToWidget(window, xpMsg_PushButtonPressed, xpMode_Direct,
                                  reinterpret_cast<intptr_t>(Named(" ", 1)), 0),
            1);
}

// Toggles before the panel exists change the state; the panel, when it comes, works on that state.
TEST_F(ControlPanelUseTest, TogglesBeforeThePanelExistsChangeTheStateAlone) {
  WriteSetupFile("[EFFECTS_TOGGLE]\nHOTKEY = F11\n[LIMITS_TOGGLE]\nHOTKEY = L\n");
  Start();
  RunUntilUpdating();
  EXPECT_EQ(Press(XPLM_VK_L), 1);
  EXPECT_EQ(Press(XPLM_VK_F11), 1);
  EXPECT_TRUE(host().widgets().windows().empty());
  OpenFromMenu();
  SaveLimits();
  EXPECT_EQ(RecordOf("TalvenorLimits.dat", 0).flag, 1);
  // With the panel there, the toggle moves its box too.
  EXPECT_EQ(Press(XPLM_VK_L), 1);
  EXPECT_EQ(BoxState(LimitsEnableBox()), 0);
  SaveLimits();
  EXPECT_EQ(RecordOf("TalvenorLimits.dat", 0).flag, 0);
  EXPECT_EQ(Press(XPLM_VK_L), 1);
  EXPECT_EQ(BoxState(LimitsEnableBox()), 1);
  EXPECT_EQ(Press(XPLM_VK_L), 1);

  // The effects are on: with view control on, every frame writes the view.
  EnableFromMenu();
  Set(kHeadX, 5.0);
  Frame();
  EXPECT_NEAR(Float(kHeadX), kStartX, 0.01);
  EXPECT_EQ(Press(XPLM_VK_F11), 1);
  EXPECT_EQ(BoxState(ForceEffectsBox()), 0);
  Set(kHeadX, 5.0);
  Frame();
  EXPECT_EQ(Float(kHeadX), 5.0f);
  EXPECT_EQ(Press(XPLM_VK_F11), 1);
  EXPECT_EQ(BoxState(ForceEffectsBox()), 1);
}

}  // namespace
}  // namespace talvenor::testing
