// The setup file Talvenor.ini: read once at start into SetupSettings, never written.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "config/setup_lines.h"

namespace talvenor {

struct HotkeyBinding {
  std::int32_t virtualKey = 0;  // the simulator's XPLM_VK_ code; 0 for a name not in the key table
  std::int32_t modifiers = 0;   // the sum of the xplm_*Flag values named
  std::int32_t enabled = 0;     // 1: the section gave a HOTKEY line, and the slot becomes a hotkey
};

inline constexpr int kHotkeySlots = 16;

// Slot order of the hotkey sections.
enum HotkeySlot {
  kSlotPreset1 = 0,  // .. kSlotPreset1 + 7: PRESET1..PRESET8
  kSlotViewControlToggle = 8,
  kSlotTrackerToggle,
  kSlotEffectsToggle,
  kSlotControlPanelToggle,
  kSlotDataPanelToggle,
  kSlotEffectsPanelToggle,
  kSlotLimitsToggle,
  kSlotVibrationToggle,
};

// Switches count as on when nonzero.
struct SetupSettings {
  std::int32_t debugLogEnabled = 0;             // switch: the conditional log lines go to the file
  std::int32_t debugViewEnabled = 0;            // switch: they go to the debugger output
  std::int32_t enableExternalData = 0;          // switch: head pose from another plugin instead of TrackIR
  std::int32_t autoStart = 0;                   // switch: view control starts when an aircraft is loaded
  std::int32_t engineVibration = 1;             // switch: engine vibration effect
  std::int32_t trackIrDisableOnAutoStart = 0;   // switch: that restart switches the tracker off
  std::int32_t effectsDisableOnAutoStart = 0;   // switch: with autoStart, that restart leaves the effects off
  std::int32_t engineVibrationOffInFlight = 0;  // switch: no engine vibration in flight
  float engineVibrationScalerX = 1.0f;          // vibration amplitude factor of x, 0 to 10
  float engineVibrationScalerY = 1.0f;          // the same for y
  float engineVibrationScalerZ = 1.0f;          // the same for z
  std::int32_t trackIrEnableXAxis = 1;          // switch: the panel's x tracker box starts on
  std::int32_t trackIrEnableYAxis = 1;          // the same for y
  std::int32_t trackIrEnableZAxis = 1;          // the same for z
  std::int32_t trackIrEnablePitchAxis = 1;      // the same for pitch
  std::int32_t trackIrEnableHeadingAxis = 1;    // the same for heading
  std::int32_t trackIrEnableRollAxis = 1;       // the same for roll
  std::int32_t resetRollOffsetOnStartup = 1;    // switch: the roll is set to 0 when an aircraft is loaded
  float axisXIncrement = 0.01f;                 // metres per held cycle of the x axis commands
  float axisYIncrement = 0.01f;                 // metres, y
  float axisZIncrement = 0.01f;                 // metres, z
  float axisHeadingIncrement = 1.0f;            // degrees, heading
  float axisPitchIncrement = 1.0f;              // degrees, pitch
  float axisRollIncrement = 1.0f;               // degrees, roll
  float axisIncrementChange = 0.0f;             // factor of the increment steps, not below 0
  std::array<HotkeyBinding, kHotkeySlots> hotkeys{};  // by HotkeySlot
};

// The values as read at start, kept in the plugin's state; only this subsystem writes them.
SetupSettings& Settings();

// Sets the defaults, parses Talvenor.ini in the plugin's folder of the simulator's system path (a path too
// long for its buffer is not read) and logs the outcome; true when the whole file was applied.
bool ReadSetupFile();
// The slot's binding := zero (plugin stop).
void ClearHotkeyBinding(int slot);
// The engine-vibration switch flips, so a pilot can stop the shaking in flight without editing the file.
void ToggleEngineVibration();

// Parser result codes.
inline constexpr int kSetupNotOpened = 0;
inline constexpr int kSetupApplied = -1;
inline constexpr int kSetupBadSection = 1;
inline constexpr int kSetupBadDebugKey = 2;
inline constexpr int kSetupBadConfigKey = 3;
// 4..19: an invalid key in a hotkey section (the section table in setup_file.cpp).
// Every line read was applied, but reading stopped early: a read error, or more key lines than the
// file may hold (kSetupEntries). The lines after that point are not applied.
inline constexpr int kSetupReadError = 20;
inline constexpr int kSetupTooManyLines = 21;

// One key line as the parser reads it: its section, key and value.
struct SetupEntry {
  char section[kSetupTextSize];
  char key[kSetupTextSize];
  char value[kSetupTextSize];
};
inline constexpr int kSetupEntries = 1024;

int ParseSetupFile(const char* path);
// The same on a stream the caller opened (in text mode) and closes; reads from where the stream stands.
int ParseSetupStream(std::FILE* file);
// The same on the file's text in memory; the file and the stream are read whole and parsed as their text.
int ParseSetupText(std::string_view text);
std::int32_t LookupKeyName(const char* name);
std::int32_t ParseModifiers(const char* text);

}  // namespace talvenor
