#include "view/view_state.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "XPLMDataAccess.h"
#include "config/aircraft_files.h"
#include "config/setup_file.h"
#include "view/sim_datarefs.h"

namespace talvenor {

EffectsSettings StartEffects() {
  EffectsSettings effects;
  effects.effectsOn = 0;
  effects.scalerX = 10;
  effects.scalerY = 100;
  effects.scalerZ = 10;
  effects.groundScalerX = 5;
  effects.groundScalerY = 5;
  effects.groundScalerZ = 5;
  return effects;
}

void ConnectLimitsSwitch(bool (*limitsSwitch)()) {
  View().limitsSwitch = limitsSwitch;
}

bool LimitsInForce(std::int32_t limitsFlag) {
  const ViewState& view = View();
  return limitsFlag != 0 && view.limitsSwitch != nullptr && view.limitsSwitch();
}

bool StrictlyInside(float value, float minimum, float maximum) {
  return value > minimum && value < maximum;
}

void WriteHeadValue(XPLMDataRef ref, float value) {
  // A text field, a file, the tracker or another plugin may hand us NaN or infinity; the simulator never
  // gets it.
  if (std::isfinite(value)) XPLMSetDataf(ref, value);
}

void WriteHeadPose(const HeadPose& pose, const ViewLimits* bounds) {
  const SimDataRefs& refs = SimRefs();
  if (bounds != nullptr) {
    if (StrictlyInside(pose.x, bounds->xMin, bounds->xMax)) WriteHeadValue(refs.headX, pose.x);
    if (StrictlyInside(pose.y, bounds->yMin, bounds->yMax)) WriteHeadValue(refs.headY, pose.y);
    if (StrictlyInside(pose.z, bounds->zMin, bounds->zMax)) WriteHeadValue(refs.headZ, pose.z);
  } else {
    WriteHeadValue(refs.headX, pose.x);
    WriteHeadValue(refs.headY, pose.y);
    WriteHeadValue(refs.headZ, pose.z);
  }
  WriteHeadValue(refs.headPsi, pose.heading);
  WriteHeadValue(refs.headThe, pose.pitch);
  WriteHeadValue(refs.headRoll, pose.roll);
}

void ApplyView(std::int32_t limitsFlag) {
  ViewState& view = View();
  view.presetsChanged = true;
  const int slot = view.selectedPreset;
  const ViewLimits& bounds = view.limits[slot];
  HeadPose& pose = view.workingPose;

  if (LimitsInForce(limitsFlag)) {
    // Maximum first, then minimum: a minimum above its maximum wins.
    if (pose.x > bounds.xMax) pose.x = bounds.xMax;
    if (bounds.xMin > pose.x) pose.x = bounds.xMin;
    if (pose.y > bounds.yMax) pose.y = bounds.yMax;
    if (bounds.yMin > pose.y) pose.y = bounds.yMin;
    if (pose.z > bounds.zMax) pose.z = bounds.zMax;
    if (bounds.zMin > pose.z) pose.z = bounds.zMin;
  }

  view.presets[slot].pose = pose;

  // The box is read again: the write follows whatever it says now.
  WriteHeadPose(pose, LimitsInForce(limitsFlag) ? &bounds : nullptr);
}

HeadPose ReadSimHeadPose() {
  const SimDataRefs& refs = SimRefs();
  HeadPose pose;
  pose.x = XPLMGetDataf(refs.headX);
  pose.y = XPLMGetDataf(refs.headY);
  pose.z = XPLMGetDataf(refs.headZ);
  pose.heading = XPLMGetDataf(refs.headPsi);
  pose.pitch = XPLMGetDataf(refs.headThe);
  pose.roll = XPLMGetDataf(refs.headRoll);
  return pose;
}

void TakeSimHeadAsPresetOne() {
  ViewState& view = View();
  HeadPose& pose = view.workingPose;
  pose = ReadSimHeadPose();

  view.presets[0] = ViewPreset{1, pose};

  view.selectedPreset = 0;
  ApplyView(view.limits[0].enabled);
}

void LoadWorkingPose(int slot) {
  if (slot < 0 || slot >= kPresetSlots) return;
  ViewState& view = View();
  view.workingPose = view.presets[slot].pose;
}

void StartViewState(std::int32_t sourceAvailable) {
  const SetupSettings& setup = Settings();
  ViewState& view = View();
  view.configuredIncrements = {setup.axisXIncrement,       setup.axisYIncrement,     setup.axisZIncrement,
                               setup.axisHeadingIncrement, setup.axisPitchIncrement, setup.axisRollIncrement};
  view.currentIncrements = view.configuredIncrements;
  view.sourceAvailable = sourceAvailable;
  view.effects = StartEffects();
}

void SetViewControlOn(bool on) {
  View().pluginEnabled = on;
}

void KeepRollForSwitchOff(float roll) {
  // Another plugin may have left a roll that is not a number; it must not come back at switch-off.
  View().savedRoll = std::isfinite(roll) ? roll : 0.0f;
}

void PutBackSavedRoll() {
  ViewState& view = View();
  if (!view.rollWaiting) view.waitingRoll = XPLMGetDataf(SimRefs().headRoll);
  view.rollWaiting = true;
  XPLMSetDataf(SimRefs().headRoll, view.savedRoll);
}

void WriteSavedRoll() {
  ViewState& view = View();
  view.rollWaiting = false;
  XPLMSetDataf(SimRefs().headRoll, view.savedRoll);
}

void WriteWaitingRoll() {
  ViewState& view = View();
  if (!view.rollWaiting) return;
  view.rollWaiting = false;
  WriteHeadValue(SimRefs().headRoll, view.waitingRoll);
}

void SetSourceAvailable(std::int32_t available) {
  View().sourceAvailable = available;
}

void SetTrackerActive(bool active) {
  View().trackerActive = active;
}

void RequestReinitialisation() {
  View().reinitPending = true;
}

void SetPresetsChanged(bool changed) {
  View().presetsChanged = changed;
}

void SetLimitsChanged(bool changed) {
  View().limitsChanged = changed;
}

void SetEffectsOn(bool on) {
  View().effects.effectsOn = on ? 1 : 0;
}

void SetEffectsScaler(int index, std::int32_t value) {
  EffectsSettings& effects = View().effects;
  std::int32_t* const scalers[6] = {&effects.scalerX,       &effects.scalerY,       &effects.scalerZ,
                                    &effects.groundScalerX, &effects.groundScalerY, &effects.groundScalerZ};
  if (index >= 0 && index < 6) *scalers[index] = value;
}

void SetSelectedLimitsEnabled(bool enabled) {
  ViewState& view = View();
  view.limits[view.selectedPreset].enabled = enabled ? 1 : 0;
}

std::int32_t SelectedLimitsFlag() {
  const ViewState& view = View();
  return view.limits[view.selectedPreset].enabled;
}

void SelectPresetSlot(int slot) {
  if (slot < 0 || slot >= kPresetSlots) return;
  View().selectedPreset = slot;
  LoadWorkingPose(slot);
}

void StorePresetSlot(int slot) {
  if (slot < 0 || slot >= kPresetSlots) return;
  ViewState& view = View();
  view.selectedPreset = slot;
  view.presets[slot] = ViewPreset{1, view.workingPose};
}

void StepAxis(HeadAxis axis, int sign) {
  // The increments are listed x, y, z, heading, pitch, roll.
  static constexpr IncrementAxis kIncrementOf[kHeadAxes] = {kIncX,     kIncY,       kIncZ,
                                                            kIncPitch, kIncHeading, kIncRoll};
  ViewState& view = View();
  float& value = AxisOf(view.workingPose, axis);
  const float increment = view.currentIncrements[kIncrementOf[axis]];
  value = sign < 0 ? value - increment : value + increment;
}

void NudgeAxis(HeadAxis axis, double amount, bool continuous) {
  ViewState& view = View();
  float& value = AxisOf(continuous ? view.continuousRates : view.workingPose, axis);
  // A step so large that the axis would overflow leaves the axis where it is.
  const float moved = static_cast<float>(static_cast<double>(value) + amount);
  if (std::isfinite(moved)) value = moved;
}

void StopContinuousRates() {
  View().continuousRates = HeadPose{};
}

void ClearRoll() {
  // Applied at once: otherwise the next frame, which reloads the working pose from the preset, would undo it.
  View().workingPose.roll = 0.0f;
  ApplyView(SelectedLimitsFlag());
}

void ChangeIncrements(int sign) {
  ViewState& view = View();
  const float change = Settings().axisIncrementChange;
  for (int axis = 0; axis < kIncrementAxes; ++axis) {
    float& current = view.currentIncrements[axis];
    const float step = change * view.configuredIncrements[axis];
    if (sign > 0) {
      current = current + step;
    } else {
      // The step never falls below one change.
      current = current - step;
      if (step > current) current = step;
    }
  }
}

void ResetIncrements() {
  ViewState& view = View();
  view.currentIncrements = view.configuredIncrements;
}

float CaptureBound(int bound) {
  ViewState& view = View();
  ViewLimits& bounds = view.limits[view.selectedPreset];
  const HeadPose& pose = view.workingPose;
  float* const targets[6] = {&bounds.xMin, &bounds.xMax, &bounds.yMin,
                             &bounds.yMax, &bounds.zMin, &bounds.zMax};
  const float values[6] = {pose.x, pose.x, pose.y, pose.y, pose.z, pose.z};
  *targets[bound] = values[bound];
  view.limitsChanged = true;
  return values[bound];
}

void ClearSlotBounds(int slot) {
  if (slot < 0 || slot >= kPresetSlots) return;
  ViewLimits& bounds = View().limits[slot];
  bounds.xMin = bounds.xMax = 0.0f;
  bounds.yMin = bounds.yMax = 0.0f;
  bounds.zMin = bounds.zMax = 0.0f;
}

namespace {

void* TableBytes(ViewTable table) {
  ViewState& view = View();
  switch (table) {
    case kPresetTable:
      return view.presets.data();
    case kLimitsTable:
      return view.limits.data();
    default:
      return &view.effects;
  }
}

}  // namespace

std::size_t TableSize(ViewTable table) {
  switch (table) {
    case kPresetTable:
      return sizeof(ViewState::presets);
    case kLimitsTable:
      return sizeof(ViewState::limits);
    default:
      return sizeof(ViewState::effects);
  }
}

const void* TableImage(ViewTable table) {
  return TableBytes(table);
}

void ClearTable(ViewTable table) {
  std::memset(TableBytes(table), 0, TableSize(table));
}

void OverwriteTableStart(ViewTable table, const void* bytes, std::size_t count) {
  std::memcpy(TableBytes(table), bytes, count < TableSize(table) ? count : TableSize(table));
}

namespace {

// The files are the records' memory images, little-endian on disk.
static_assert(std::endian::native == std::endian::little);

constexpr std::size_t kPresetTableSize = sizeof(ViewPreset) * kPresetSlots;
constexpr std::size_t kLimitsTableSize = sizeof(ViewLimits) * kPresetSlots;
constexpr std::size_t kEffectsRecordSize = sizeof(EffectsSettings);
static_assert(kPresetTableSize == 224 && kLimitsTableSize == 224 && kEffectsRecordSize == 28);
static_assert(sizeof(ViewState::presets) == kPresetTableSize &&
              sizeof(ViewState::limits) == kLimitsTableSize);
static_assert(kPresetTableSize >= kLimitsTableSize && kPresetTableSize >= kEffectsRecordSize);

int WriteTable(const char* fileName, ViewTable table) {
  return SaveAircraftFile(fileName, TableImage(table), TableSize(table));
}

}  // namespace

// Reads the file whole into a scratch copy first, so that a read error leaves the table as it was.
int ReadTableFile(const char* fileName, ViewTable table) {
  unsigned char bytes[kPresetTableSize];
  std::size_t count = 0;
  if (!ReadAircraftFile(fileName, bytes, TableSize(table), count)) return 0;
  ClearTable(table);
  OverwriteTableStart(table, bytes, count);
  return 1;
}

int WritePresetFile(const char* fileName) {
  if (WriteTable(fileName, kPresetTable) == 0) return 0;
  SetPresetsChanged(false);
  return 1;
}

int WriteLimitsFile(const char* fileName) {
  if (WriteTable(fileName, kLimitsTable) == 0) return 0;
  SetLimitsChanged(false);
  return 1;
}

int WriteEffectsFile(const char* fileName) {
  return WriteTable(fileName, kEffectsTable);
}

}  // namespace talvenor
