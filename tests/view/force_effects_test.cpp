// Force and vibration effects as they move the head: the g-force push with its ground reduction and blend
// height, the speed threshold, the engine shake on every second frame, and the scalers of the aircraft's
// effects file and the setup file.
#include <cmath>
#include <string>

#include "view/force_effects.h"
#include "view/view_fixture.h"

namespace talvenor::testing {
namespace {

constexpr ViewPreset kPreset{1, {0.0f, 1.0f, -4.0f, 0.0f, 0.0f, 0.0f}};
const std::vector<std::int32_t> kStartScalers = {1, 10, 100, 10, 5, 5, 5};

// The pushes are read back as differences against the preset's values of about 1 and 4.
constexpr float kResolution = 1e-6f;

struct Push {
  float x = 0, y = 0, z = 0;  // what was taken from the preset: g-force minus vibration
};

class ForceEffectsTest : public ViewTest {
 protected:
  void StartWith(const std::vector<std::int32_t>& effectsFile, const std::string& setup = "") {
    if (!setup.empty()) WriteSetupFile(setup);
    WriteAircraftFile("TalvenorEffects.dat", IntBytes(effectsFile));
    RecordHeadWrites();
    Start();
    RunUntilUpdating();
    ASSERT_TRUE(host().menus().pick("Talvenor", "Enable"));  // loads the effects file
    View().presets[0] = kPreset;
    View().selectedPreset = 0;
  }
  void Flying(double height) {
    Set("sim/flightmodel/failures/onground_any", 0);
    Set("sim/flightmodel/position/y_agl", height);
  }
  void OnGround() {
    Set("sim/flightmodel/failures/onground_any", 1);
    Set("sim/flightmodel/position/y_agl", 0.0);
  }
  void Load(double side, double normal, double axial, double speed = 20.0) {
    Set("sim/flightmodel/forces/g_side", side);
    Set("sim/flightmodel/forces/g_nrml", normal);
    Set("sim/flightmodel/forces/g_axil", axial);
    Set("sim/flightmodel/position/groundspeed", speed);
  }
  void N1(double percent) {
    ASSERT_TRUE(host().datarefs().write("sim/flightmodel/engine/ENGN_N1_", percent, 0));
  }
  Push OneFrame() {
    recorder().Clear();
    Frame();
    Push push;
    float value = 0;
    EXPECT_TRUE(recorder().Written("x", &value));
    push.x = kPreset.pose.x - value;
    EXPECT_TRUE(recorder().Written("y", &value));
    push.y = kPreset.pose.y - value;
    EXPECT_TRUE(recorder().Written("z", &value));
    push.z = kPreset.pose.z - value;
    return push;
  }
};

TEST_F(ForceEffectsTest, GroundReductionAndBlendHeight) {
  StartWith(kStartScalers);
  Load(0.0, 1.5, 0.0);
  const float push = 0.5f / 100.0f;  // (1.5 - 1) / scaler Y
  struct Case {
    bool onGround;
    double height;
    int groundScaler;
    float divisor;
  };
  const Case cases[] = {
      {true, 0.0, 5, 5.0f},     // on the ground: the ground scaler
      {true, 250.0, 5, 5.0f},   // on the ground whatever the height says
      {false, 150.0, 5, 3.5f},  // (400 - 150) / 100 + 1
      {false, 400.0, 5, 1.0f},  // at the blend height
      {false, 600.0, 5, 1.0f},  // above it
      {false, 0.0, 5, 1.0f},    // airborne at height 0: no reduction
      {false, -20.0, 5, 1.0f},  // below the terrain's reference
      {false, 0.5, 1, 1.0f},    // ground scaler 1: no blend height
      {true, 0.0, 1, 1.0f},     // and no reduction on the ground
      {false, 350.0, 9, 5.5f},  // (800 - 350) / 100 + 1
  };
  for (const Case& c : cases) {
    if (c.onGround) {
      OnGround();
      Set("sim/flightmodel/position/y_agl", c.height);
    } else {
      Flying(c.height);
    }
    View().effects.groundScalerY = c.groundScaler;
    EXPECT_NEAR(OneFrame().y, push / c.divisor, kResolution)
        << (c.onGround ? "on the ground" : "airborne") << " at " << c.height << " m, ground scaler "
        << c.groundScaler;
  }
}

// The offsets themselves, to the last bit: the normal-g rest value and the blend unit are double constants,
// so those expressions are rounded to float32 once (the worked example, and a case where a float32-only
// computation ends one unit in the last place away).
TEST_F(ForceEffectsTest, OffsetsAreExactToTheLastBit) {
  StartWith(kStartScalers);
  Load(0.0, 1.5, 0.0);
  Flying(150.0);
  float forces[kForceOffsets] = {};
  {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    ComputeForceEffects(forces);
  }
  EXPECT_EQ(forces[1], 0.0014285714132711291f);
  Load(0.0, -0.3, 0.0);
  Flying(50.0);
  {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    ComputeForceEffects(forces);
  }
  EXPECT_EQ(forces[1], -0.0028888890519738197f);
}

TEST_F(ForceEffectsTest, EachAxisHasItsOwnScalerAndNeedsMoreThanThreeMetresPerSecond) {
  StartWith(kStartScalers);
  Flying(1000.0);
  Load(0.3, 2.0, -0.4, 3.0);
  Push push = OneFrame();
  EXPECT_EQ(push.x, 0.0f);
  EXPECT_EQ(push.y, 0.0f);
  EXPECT_EQ(push.z, 0.0f);
  Load(0.3, 2.0, -0.4, 3.01);
  push = OneFrame();
  EXPECT_NEAR(push.x, 0.3f / 10.0f, kResolution);
  EXPECT_NEAR(push.y, 1.0f / 100.0f, kResolution);
  EXPECT_NEAR(push.z, -0.4f / 10.0f, kResolution);
}

TEST_F(ForceEffectsTest, TheEngineShakesTheHeadOnEverySecondFrame) {
  StartWith(kStartScalers, "[CONFIG]\nENGINEVIBRATIONOFFINFLIGHT = 1\n");
  N1(80.0);
  OnGround();
  const float shake = 80.0f * (1.0f * 0.00001f);
  for (int frame = 0; frame < 4; ++frame) {
    const Push push = OneFrame();
    const float expected = frame % 2 == 0 ? -shake : 0.0f;
    EXPECT_NEAR(push.x, expected, kResolution) << frame;
    EXPECT_NEAR(push.y, expected, kResolution) << frame;
    EXPECT_NEAR(push.z, expected, kResolution) << frame;
  }
  // Not in flight with this setup file.
  Flying(100.0);
  for (int frame = 0; frame < 2; ++frame) EXPECT_EQ(OneFrame().x, 0.0f) << frame;
}

TEST_F(ForceEffectsTest, ThePhaseTurnsAlsoWhileTheVibrationIsOff) {
  StartWith(kStartScalers);
  N1(50.0);
  const float shake = 50.0f * 0.00001f;
  EXPECT_NEAR(OneFrame().x, -shake, kResolution);  // phase 1
  Settings().engineVibration = 0;
  EXPECT_EQ(OneFrame().x, 0.0f);  // phase 0
  Settings().engineVibration = 1;
  EXPECT_NEAR(OneFrame().x, -shake, kResolution);  // phase 1 again
}

TEST_F(ForceEffectsTest, VibrationScalersComeFromTheSetupFile) {
  StartWith(
      kStartScalers,
      "[CONFIG]\nENGINEVIBRATIONSCALERX = 2\nENGINEVIBRATIONSCALERY = 0\nENGINEVIBRATIONSCALERZ = 0.5\n");
  N1(100.0);
  const Push push = OneFrame();
  EXPECT_NEAR(push.x, -(100.0f * (2.0f * 0.00001f)), kResolution);
  EXPECT_EQ(push.y, 0.0f);
  EXPECT_NEAR(push.z, -(100.0f * (0.5f * 0.00001f)), kResolution);
}

TEST_F(ForceEffectsTest, ZeroScalersFromAFileDivideLikeOne) {
  StartWith({1, 0, 0, 0, 0, 0, 0});
  Load(0.2, 1.25, 0.1);
  OnGround();
  Push push = OneFrame();
  EXPECT_NEAR(push.x, 0.2f, kResolution);
  EXPECT_NEAR(push.y, 0.25f, kResolution);
  EXPECT_NEAR(push.z, 0.1f, kResolution);
  Flying(50.0);  // a blend height of -100: no reduction
  push = OneFrame();
  EXPECT_NEAR(push.y, 0.25f, kResolution);
  for (const HeadWrite& write : recorder().writes()) EXPECT_TRUE(std::isfinite(write.value)) << write;
}

}  // namespace
}  // namespace talvenor::testing
