// The control panel's values as the view engine reads them, and the panel widgets it keeps in step: the
// source widgets, the limit fields, the hidden windows.
#include <string>

#include "plugin/mode_switches.h"
#include "ui/control_panel_fixture.h"

namespace talvenor::testing {
namespace {

class PanelsTest : public ControlPanelTest {
 protected:
  void SetUp() override {
    ControlPanelTest::SetUp();
    BeforeStart();
    RecordHeadWrites();
    Start();
    RunUntilUpdating();
  }
  virtual void BeforeStart() {}

  float Multiplier(const std::string& text) {
    // Hidden without a source, so no typing reaches it: the text is set where the host keeps it.
    XPSetWidgetDescriptor(MultiplierField(), text.c_str());
    float value = -1;
    AsPlugin([&] { value = TrackerTranslationMultiplier(); });
    return value;
  }
  void EnableViewControlFromMenu() { ASSERT_TRUE(host().menus().pick("Talvenor", "Enable")); }
  void Refresh() {
    AsPlugin([] { RefreshSource(); });
  }
};

TEST_F(PanelsTest, BeforeTheControlPanelExistsEveryBoxIsOffAndTheMultiplierIsZero) {
  float multiplier = -1;
  AsPlugin([&] { multiplier = TrackerTranslationMultiplier(); });
  EXPECT_EQ(multiplier, 0.0f);

  // View control on without its switch-on, which would build the panel.
  Set(kViewType, 1026);
  ViewState& view = View();
  view.pluginEnabled = true;
  view.presets[0] = ViewPreset{1, {0.1f, 1.2f, -3.8f, 2.0f, 5.0f, 1.0f}};
  view.continuousRates = HeadPose{0.01f, 0.01f, 0.01f, 1.0f, 1.0f, 1.0f};
  view.limits[0] = ViewLimits{1, -0.1f, 0.1f, 0.0f, 2.0f, -5.0f, 0.0f};
  recorder().Clear();
  // "Cont/Step" reads off: no motion, nothing written.
  Frame(5);
  EXPECT_TRUE(recorder().writes().empty());
  // The limits box reads off: no bounds.
  view.workingPose = HeadPose{0.5f, 1.0f, -4.0f, 0.0f, 0.0f, 0.0f};
  AsPlugin([] { ApplyView(1); });
  float x = 0;
  ASSERT_TRUE(recorder().Written("x", &x));
  EXPECT_EQ(x, 0.5f);
  // The displays have nowhere to go and do no harm.
  AsPlugin([] {
    ShowPresetNumber(3);
    ShowPresetBoxesFirstOnly();
    ClearAllLimits();
    RefreshSource();
    SetForceEffectsBoxes(true);
  });
  bool effectsBox = true;
  AsPlugin([&] { effectsBox = talvenor::ForceEffectsBox(); });
  EXPECT_FALSE(effectsBox);
  EXPECT_FALSE(PanelState().controlPanelCreated);
  EXPECT_TRUE(host().widgets().windows().empty());
}

TEST_F(PanelsTest, MultiplierTextIsReadAsADecimalNumberOfAtMostEightyCharacters) {
  OpenFromMenu();
  EXPECT_EQ(Multiplier("0.0001"), 0.0001f);
  EXPECT_EQ(Multiplier("  -2.5e-3xyz"), -0.0025f);
  EXPECT_EQ(Multiplier("abc"), 0.0f);
  EXPECT_EQ(Multiplier(""), 0.0f);
  EXPECT_EQ(Multiplier("nan"), 0.0f);
  EXPECT_EQ(Multiplier("inf"), 0.0f);
  EXPECT_EQ(Multiplier("1e39"), 0.0f);  // beyond a float
  // A text that fills the fetch exactly arrives unterminated from the host.
  EXPECT_EQ(Multiplier("0.25" + std::string(76, '0')), 0.25f);
  // A longer one is cut after 80 characters: the exponent beyond them is not seen.
  EXPECT_EQ(Multiplier("0.5" + std::string(77, '0') + "e2"), 0.5f);
  EXPECT_EQ(Multiplier(std::string(79, ' ') + "7"), 7.0f);
  EXPECT_EQ(Multiplier(std::string(80, ' ') + "7"), 0.0f);
}

TEST_F(PanelsTest, LimitFieldsShowTheBoundsAndClearingKeepsEachSlotsSwitch) {
  OpenFromMenu();
  const char* names[] = {"X1", "X2", "Y1", "Y2", "Z1", "Z2"};
  ViewState& view = View();
  for (int slot = 0; slot < kPresetSlots; ++slot) {
    view.limits[static_cast<std::size_t>(slot)] =
        ViewLimits{slot % 2, -0.25f, 0.5f, 0.75f, 1.5f, -4.125f, -3.0f};
  }
  AsPlugin([] { ShowPresetLimits(2); });
  const char* shown[] = {"-0.250000", "0.500000", "0.750000", "1.500000", "-4.125000", "-3.000000"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Text(LimitField(names[i])), shown[i]) << i;
  EXPECT_EQ(BoxState(LimitsEnableBox()), 0);
  AsPlugin([] { ShowPresetLimits(3); });
  EXPECT_EQ(BoxState(LimitsEnableBox()), 1);

  AsPlugin([] { ClearAllLimits(); });
  for (const char* name : names) EXPECT_EQ(Text(LimitField(name)), "0.000000");
  EXPECT_EQ(BoxState(LimitsEnableBox()), 1);  // slot 8's switch, which is on

  // Slot 2's limits are still switched on, now with all bounds at 0: x is held at 0 and not written.
  EnableViewControlFromMenu();
  view.selectedPreset = 1;
  Check(LimitsEnableBox(), true);
  ASSERT_EQ(view.limits[1].enabled, 1);
  view.workingPose = HeadPose{0.5f, 1.0f, -4.0f, 0.0f, 0.0f, 0.0f};
  recorder().Clear();
  AsPlugin([] { ApplyView(View().limits[1].enabled); });
  EXPECT_EQ(recorder().Names(), (std::vector<std::string>{"heading", "pitch", "roll"}));
  Frame();
  EXPECT_EQ(Text(OffsetField(0)), "0.000000");
}

TEST_F(PanelsTest, SwitchingViewControlOffHidesEveryWindow) {
  OpenFromMenu();
  OpenDataDisplayAsPlugin();
  OpenEffectsPanelAsPlugin();
  const Panels& panels = PanelState();
  for (XPWidgetID window : {Window(), panels.data.window, panels.effects.window})
    EXPECT_TRUE(Visible(window));
  EnableViewControlFromMenu();
  for (XPWidgetID window : {Window(), panels.data.window, panels.effects.window})
    EXPECT_TRUE(Visible(window));
  ASSERT_TRUE(Pick("Disable"));
  for (XPWidgetID window : {Window(), panels.data.window, panels.effects.window}) {
    EXPECT_FALSE(Visible(window));
  }
}

// Head-tracker mode: the axis boxes and the multiplier show while a source is there and view control is on
// or the panel exists; otherwise the status caption does.
TEST_F(PanelsTest, SourceWidgetsInHeadTrackerMode) {
  OpenFromMenu();
  ViewState& view = View();
  auto expectSourceShown = [&](bool shown, const char* when) {
    for (int axis = 0; axis < 6; ++axis) EXPECT_EQ(Visible(AxisBox(axis)), shown) << when;
    EXPECT_EQ(Visible(MultiplierCaption()), shown) << when;
    EXPECT_EQ(Visible(MultiplierField()), shown) << when;
    EXPECT_EQ(Visible(StatusCaption()), !shown) << when;
  };

  // A source (no tracker here) and a panel not yet built are what no input gives together with its widgets.
  XPSetWidgetDescriptor(StatusCaption(), "earlier text");
  view.sourceAvailable = 1;
  PanelState().controlPanelCreated = false;
  Refresh();
  expectSourceShown(false, "view control off, no panel");
  EXPECT_EQ(Text(StatusCaption()), "earlier text");

  PanelState().controlPanelCreated = true;
  Refresh();
  expectSourceShown(true, "panel built");
  PanelState().controlPanelCreated = false;
  view.pluginEnabled = true;
  Refresh();
  expectSourceShown(true, "view control on");

  view.sourceAvailable = 0;
  Refresh();
  expectSourceShown(false, "no source");
  EXPECT_EQ(Text(StatusCaption()), "TrackIR not found or it is disabled");
  EXPECT_FALSE(MenuItemEnabled(6));
  PanelState().controlPanelCreated = true;  // so that the stop destroys it
}

class ExternalPanelsTest : public PanelsTest {
 protected:
  void BeforeStart() override { WriteSetupFile("[CONFIG]\nENABLEEXTERNALDATA = 1\n"); }
};

TEST_F(ExternalPanelsTest, SourceWidgetsInExternalDataMode) {
  OpenFromMenu();
  // View control on without its switch-on, which would build the panel.
  Set(kViewType, 1026);
  ViewState& view = View();
  view.pluginEnabled = true;
  view.presets[0] = ViewPreset{1, {0.1f, 1.2f, -3.8f, 2.0f, 5.0f, 1.0f}};
  view.trackerOffsets = HeadPose{0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};

  view.sourceAvailable = 1;
  Refresh();
  for (int axis = 0; axis < 6; ++axis) EXPECT_TRUE(Visible(AxisBox(axis)));
  EXPECT_FALSE(Visible(MultiplierCaption()));
  EXPECT_FALSE(Visible(MultiplierField()));
  EXPECT_TRUE(Visible(StatusCaption()));
  EXPECT_EQ(Text(StatusCaption()), "External Data found");
  EXPECT_FALSE(MenuItemEnabled(5));
  EXPECT_TRUE(MenuItemEnabled(6));
  // Tracking is on: the offsets reach the head.
  recorder().Clear();
  view.sourceAvailable = 0;  // no new pose is read
  Frame();
  float x = 0;
  ASSERT_TRUE(recorder().Written("x", &x));
  EXPECT_FLOAT_EQ(x, 0.6f);

  Refresh();
  for (int axis = 0; axis < 6; ++axis) EXPECT_FALSE(Visible(AxisBox(axis)));
  EXPECT_FALSE(Visible(MultiplierCaption()));
  EXPECT_FALSE(Visible(MultiplierField()));
  EXPECT_TRUE(Visible(StatusCaption()));
  EXPECT_EQ(Text(StatusCaption()), "External Data not found or disabled");
  EXPECT_FALSE(MenuItemEnabled(5));
  EXPECT_FALSE(MenuItemEnabled(6));
}

}  // namespace
}  // namespace talvenor::testing
