// The one shared model of the view: the selected preset slot is the live view, and every edit of the
// working pose ends in ApplyView, which stores it back into that slot and writes the head datarefs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "XPLMDataAccess.h"
#include "view/head_pose.h"

namespace talvenor {

// Axis order of the increments (as the setup file gives them): x, y, z, heading, pitch, roll.
enum IncrementAxis { kIncX = 0, kIncY, kIncZ, kIncHeading, kIncPitch, kIncRoll, kIncrementAxes };

struct ViewState {
  std::array<ViewPreset, kPresetSlots> presets{};  // the loaded aircraft's eight views
  std::array<ViewLimits, kPresetSlots> limits{};   // the bounds of each preset slot, slot by slot
  EffectsSettings effects{};                       // force-effects switch and divisors
  std::int32_t selectedPreset = 0;                 // the live slot, 0..7 (shown as 1..8, "Preset No.")
  HeadPose workingPose{};            // metres and degrees: the pose edited and written, reloaded every frame
  bool pluginEnabled = false;        // view control is on
  std::int32_t sourceAvailable = 0;  // nonzero: the head-pose source was found (or the external switch is on)
  bool trackerActive = false;        // the source's offsets are applied
  HeadPose trackerOffsets{};         // metres and degrees: the last accepted offsets of the source, scaled
  HeadPose continuousRates{};        // metres and degrees per cycle: each axis's motion in continuous mode
  // Metres or degrees per held cycle, x, y, z, heading, pitch, roll: the setup file's, and those in use.
  std::array<float, kIncrementAxes> configuredIncrements{};
  std::array<float, kIncrementAxes> currentIncrements{};
  float savedRoll = 0;                   // degrees: the roll at switch-on, written back at switch-off
  float waitingRoll = 0;                 // degrees: the view's roll, for the next frame after a put-back
  bool rollWaiting = false;              // the saved roll was put back; the next frame writes waitingRoll
  bool reinitPending = false;            // the next frame starts again (an aircraft was loaded)
  bool presetsChanged = false;           // presets edited since their last load or save
  bool limitsChanged = false;            // limits edited since their last load or save
  std::int32_t lastExternalEnabled = 0;  // quorlend/talvenor/external_enabled as last seen
  std::int32_t vibrationPhase = 0;       // 0 or 1, flipped every frame while the effects are on
  bool (*limitsSwitch)() = nullptr;      // reads the control panel's limits box; null reads off
};

// The view engine's record, kept in the plugin's state; only this subsystem writes it.
ViewState& View();

// The force-effects record at plugin start: off, scalers 10, 100, 10, ground scalers 5, 5, 5.
EffectsSettings StartEffects();

// The operations through which the rest of the plugin changes the view state; nothing else writes it.

// Plugin start: the increments from the setup file, the probed source and the force effects' start values
// (everything else is as value-initialised).
void StartViewState(std::int32_t sourceAvailable);
void SetViewControlOn(bool on);
// The roll to write back at switch-off; one that is not a number is kept as 0.
void KeepRollForSwitchOff(float roll);
// The roll is the simulator's Roll Offset, which its preferences keep: the one saved at switch-on goes back
// for as long as the simulator may write them, and the view's roll waits for the next frame (a roll already
// waiting is kept, so that a second put-back does not take the saved roll for the view's).
void PutBackSavedRoll();
// Switch-off: the saved roll is written, and no roll waits any longer.
void WriteSavedRoll();
// The next frame's part: the waiting roll is written once; the frame's own writes follow it.
void WriteWaitingRoll();
void SetSourceAvailable(std::int32_t available);
void SetTrackerActive(bool active);
// An aircraft was loaded: the next frame starts again from the simulator's head pose.
void RequestReinitialisation();
void SetPresetsChanged(bool changed);
void SetLimitsChanged(bool changed);
void SetEffectsOn(bool on);
// One of the six divisors (0..5: the three scalers, then the three ground scalers) := VALUE.
void SetEffectsScaler(int index, std::int32_t value);
// The enabled flag of the selected slot's limits.
void SetSelectedLimitsEnabled(bool enabled);

// SLOT (0..7) becomes the live slot and the working pose is read from it; nothing is written yet.
void SelectPresetSlot(int slot);
// The working pose is stored in SLOT (0..7), which becomes stored and the live slot.
void StorePresetSlot(int slot);

// One held cycle of an axis command: the working pose moves by the axis's current increment, SIGN (+1/-1)
// giving the direction; nothing is written yet.
void StepAxis(HeadAxis axis, int sign);
// A nudge of the control panel: the working pose (or, in continuous mode, the rate) of AXIS moves by AMOUNT,
// unless that would overflow the axis; nothing is written yet.
void NudgeAxis(HeadAxis axis, double amount, bool continuous);
void StopContinuousRates();
// Roll := 0, applied at once with the selected slot's limits.
void ClearRoll();
// Every current increment raised (SIGN +1) or lowered (-1) by the setup file's change times its configured
// value; lowering never goes below one change.
void ChangeIncrements(int sign);
void ResetIncrements();

// The selected slot's bound BOUND (X1, X2, Y1, Y2, Z1, Z2 as 0..5) := the working pose's value on its axis;
// the limits are marked changed. Returns the value.
float CaptureBound(int bound);
// The six bounds of SLOT := 0; its enabled flag stays.
void ClearSlotBounds(int slot);

// The three tables the per-aircraft files hold as raw images.
enum ViewTable { kPresetTable = 0, kLimitsTable, kEffectsTable };
std::size_t TableSize(ViewTable table);
const void* TableImage(ViewTable table);
void ClearTable(ViewTable table);
// The first COUNT bytes of the table := BYTES (COUNT at most its size); the rest stays as it was.
void OverwriteTableStart(ViewTable table, const void* bytes, std::size_t count);

// Each table on disk is its raw image, in one of the aircraft's files (config/aircraft_files.h).
// 1 when the file was read: the table is cleared and then holds the file's bytes (a short file leaves the
// rest 0). 0 when it cannot be opened or read; the table is then untouched.
int ReadTableFile(const char* fileName, ViewTable table);

// 1 when the whole table is on disk, saved as SaveAircraftFile saves; on any failure the change flag stays
// as it was and 0 is returned.
int WritePresetFile(const char* fileName);  // clears presetsChanged on success
int WriteLimitsFile(const char* fileName);  // clears limitsChanged on success
int WriteEffectsFile(const char* fileName);

// Clamps the working pose to the selected slot's bounds when limitsFlag and the panel's limits box are both
// on, stores it in the selected preset, marks the presets changed and writes the six head datarefs.
void ApplyView(std::int32_t limitsFlag);

// The six head datarefs as the simulator has them, read x, y, z, heading, pitch, roll.
HeadPose ReadSimHeadPose();

// Preset 1 := the simulator's current head pose, selected and applied.
void TakeSimHeadAsPresetOne();

// workingPose := presets[slot], axis by axis (a slot outside 0..7 changes nothing).
void LoadWorkingPose(int slot);

// The enabled flag of the selected slot's limits, as the editors of the view pass it to ApplyView.
std::int32_t SelectedLimitsFlag();
// The bounds are in force when limitsFlag is nonzero and the control panel's limits box is on.
bool LimitsInForce(std::int32_t limitsFlag);
// Plugin start: how the control panel's limits box is read; until then (and without a panel) it reads off.
void ConnectLimitsSwitch(bool (*limitsSwitch)());
// Greater than the minimum and less than the maximum: a value at a bound is not written.
bool StrictlyInside(float value, float minimum, float maximum);
// Writes one head dataref; a value that is not finite is never written.
void WriteHeadValue(XPLMDataRef ref, float value);
// Writes x, y, z (with bounds: each only when strictly inside them), then heading, pitch and roll.
void WriteHeadPose(const HeadPose& pose, const ViewLimits* bounds);

}  // namespace talvenor
