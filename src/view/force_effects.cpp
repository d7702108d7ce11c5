#include "view/force_effects.h"

#include <cstdint>

#include "XPLMDataAccess.h"
#include "config/setup_file.h"
#include "view/sim_datarefs.h"
#include "view/view_state.h"

namespace talvenor {
namespace {

constexpr float kMinimumGroundSpeed = 3.0f;
// The rest value and the blend unit are double constants: the expressions they take part in are computed in
// double and rounded to float32 once, where they are stored.
constexpr double kNormalGRest = 1.0;
constexpr double kBlendHeightPerUnit = 100.0;
constexpr float kVibrationUnit = 0.00001f;
constexpr int kN1Values = 8;

// A scaler of 0 can come from a per-aircraft file; it divides like 1, as the effects panel would store it.
float Divisor(std::int32_t scaler) {
  return scaler == 0 ? 1.0f : static_cast<float>(scaler);
}

// Above the blend height the g-force acts fully; below it, it fades towards the on-ground reduction.
// The subtraction is done wide: a file may hold the smallest int32 as a ground scaler.
void ReduceNearGround(float& offset, std::int32_t groundScaler, float height) {
  const float blendHeight =
      static_cast<float>(static_cast<float>(std::int64_t{groundScaler} - 1) * kBlendHeightPerUnit);
  if (blendHeight > 0.0f && blendHeight >= height) {
    const float above = blendHeight - height;
    offset = static_cast<float>(offset / (above / kBlendHeightPerUnit + 1.0));
  }
}

}  // namespace

void ComputeForceEffects(float (&forces)[kForceOffsets]) {
  const SimDataRefs& refs = SimRefs();
  const SetupSettings& setup = Settings();
  ViewState& view = View();
  const EffectsSettings& effects = view.effects;

  const float groundSpeed = XPLMGetDataf(refs.groundSpeed);
  const bool onGround = XPLMGetDatai(refs.onGround) != 0;
  const float height = XPLMGetDataf(refs.heightAgl);

  float gx = 0.0f, gy = 0.0f, gz = 0.0f;
  if (groundSpeed > kMinimumGroundSpeed) {
    const float side = XPLMGetDataf(refs.gSide);
    const float normal = XPLMGetDataf(refs.gNormal);
    const float axial = XPLMGetDataf(refs.gAxial);
    gx = side / Divisor(effects.scalerX);
    gy = static_cast<float>((normal - kNormalGRest) / Divisor(effects.scalerY));
    gz = axial / Divisor(effects.scalerZ);
  }

  if (onGround) {
    gx = gx / Divisor(effects.groundScalerX);
    gy = gy / Divisor(effects.groundScalerY);
    gz = gz / Divisor(effects.groundScalerZ);
  } else if (height > 0.0f) {
    ReduceNearGround(gx, effects.groundScalerX, height);
    ReduceNearGround(gy, effects.groundScalerY, height);
    ReduceNearGround(gz, effects.groundScalerZ, height);
  }

  view.vibrationPhase = 1 - view.vibrationPhase;

  float vx = 0.0f, vy = 0.0f, vz = 0.0f;
  if (setup.engineVibration != 0 && (setup.engineVibrationOffInFlight == 0 || onGround)) {
    const float kx = setup.engineVibrationScalerX * kVibrationUnit;
    const float ky = setup.engineVibrationScalerY * kVibrationUnit;
    const float kz = setup.engineVibrationScalerZ * kVibrationUnit;
    float n1[kN1Values] = {};
    XPLMGetDatavf(refs.engineN1, n1, 0, kN1Values);
    const float n = n1[0];
    const float phase = static_cast<float>(view.vibrationPhase);
    vx = (n * kx) * phase;
    vy = (n * ky) * phase;
    vz = (n * kz) * phase;
  }

  forces[kGForceX] = gx;
  forces[kGForceY] = gy;
  forces[kGForceZ] = gz;
  forces[kVibrationX] = vx;
  forces[kVibrationY] = vy;
  forces[kVibrationZ] = vz;
}

}  // namespace talvenor
