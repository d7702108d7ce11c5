// Any bytes as the text of Talvenor.ini: the reader ends with a defined result, never reads or writes outside
// its buffers, and the settings it fills keep their bounds. Reading the same bytes again gives the same
// settings, and a file written from those settings, as a user would write it, reads back to them.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "config/key_names.h"
#include "config/setup_file.h"
#include "debug_capture.h"
#include "host.h"
#include "plugin/state.h"

namespace {

using talvenor::SetupSettings;

// Logging asks the host for its paths and its debugger output.
sim::Host& FuzzHost() {
  static sim::Host host;
  return host;
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "setup file fuzz: %s\n", what);
  std::abort();
}

struct IntegerKey {
  const char* name;
  std::int32_t SetupSettings::*field;
};
struct FloatKey {
  const char* name;
  float SetupSettings::*field;
};

constexpr IntegerKey kDebugKeys[] = {{"DEBUGLOGENABLED", &SetupSettings::debugLogEnabled},
                                     {"DEBUGVIEWENABLED", &SetupSettings::debugViewEnabled}};
constexpr IntegerKey kIntegerKeys[] = {
    {"ENABLEEXTERNALDATA", &SetupSettings::enableExternalData},
    {"AUTOSTART", &SetupSettings::autoStart},
    {"ENGINEVIBRATION", &SetupSettings::engineVibration},
    {"TRACKIRDISABLEONAUTOSTART", &SetupSettings::trackIrDisableOnAutoStart},
    {"EFFECTSDISABLEONAUTOSTART", &SetupSettings::effectsDisableOnAutoStart},
    {"ENGINEVIBRATIONOFFINFLIGHT", &SetupSettings::engineVibrationOffInFlight},
    {"TRACKIRENABLEXAXIS", &SetupSettings::trackIrEnableXAxis},
    {"TRACKIRENABLEYAXIS", &SetupSettings::trackIrEnableYAxis},
    {"TRACKIRENABLEZAXIS", &SetupSettings::trackIrEnableZAxis},
    {"TRACKIRENABLEPITCHAXIS", &SetupSettings::trackIrEnablePitchAxis},
    {"TRACKIRENABLEHEADINGAXIS", &SetupSettings::trackIrEnableHeadingAxis},
    {"TRACKIRENABLEROLLAXIS", &SetupSettings::trackIrEnableRollAxis},
    {"RESETROLLOFFSETONSTARTUP", &SetupSettings::resetRollOffsetOnStartup}};
constexpr FloatKey kFloatKeys[] = {{"ENGINEVIBRATIONSCALERX", &SetupSettings::engineVibrationScalerX},
                                   {"ENGINEVIBRATIONSCALERY", &SetupSettings::engineVibrationScalerY},
                                   {"ENGINEVIBRATIONSCALERZ", &SetupSettings::engineVibrationScalerZ},
                                   {"AXISXINCREMENT", &SetupSettings::axisXIncrement},
                                   {"AXISYINCREMENT", &SetupSettings::axisYIncrement},
                                   {"AXISZINCREMENT", &SetupSettings::axisZIncrement},
                                   {"AXISHEADINGINCREMENT", &SetupSettings::axisHeadingIncrement},
                                   {"AXISPITCHINCREMENT", &SetupSettings::axisPitchIncrement},
                                   {"AXISROLLINCREMENT", &SetupSettings::axisRollIncrement},
                                   {"AXISINCREMENTCHANGE", &SetupSettings::axisIncrementChange}};
// The hotkey sections in slot order.
constexpr const char* kHotkeySections[talvenor::kHotkeySlots] = {
    "PRESET1",           "PRESET2",
    "PRESET3",           "PRESET4",
    "PRESET5",           "PRESET6",
    "PRESET7",           "PRESET8",
    "TL_TOGGLE",         "TRACKIR_TOGGLE",
    "EFFECTS_TOGGLE",    "CONTROL_PANEL_TOGGLE",
    "DATA_PANEL_TOGGLE", "EFFECTS_PANEL_TOGGLE",
    "LIMITS_TOGGLE",     "VIBRATION_EFFECT_TOGGLE"};

void Line(std::string& file, const char* key, const char* value) {
  file.append(key).append(" = ").append(value).append("\n");
}

// The shortest modifier text with that sum: UP as often as it fits, then each smaller flag at most once,
// so that it fits any line the sum was read from.
std::string ModifierText(std::int32_t sum) {
  std::string text;
  for (; sum >= xplm_UpFlag; sum -= xplm_UpFlag) text += "UP+";
  for (const auto& [name, flag] :
       {std::pair{"DOWN", xplm_DownFlag}, std::pair{"CONTROL", xplm_ControlFlag},
        std::pair{"ALT", xplm_OptionAltFlag}, std::pair{"SHIFT", xplm_ShiftFlag}}) {
    if ((sum & flag) != 0) text.append(name).append("+");
  }
  if (!text.empty()) text.pop_back();
  return text;
}

std::string WriteSetupFile(const SetupSettings& settings) {
  char value[64];
  std::string file = "[DEBUG]\n";
  for (const IntegerKey& key : kDebugKeys) {
    (void)std::snprintf(value, sizeof value, "%d", settings.*key.field);
    Line(file, key.name, value);
  }
  file += "[CONFIG]\n";
  for (const IntegerKey& key : kIntegerKeys) {
    (void)std::snprintf(value, sizeof value, "%d", settings.*key.field);
    Line(file, key.name, value);
  }
  for (const FloatKey& key : kFloatKeys) {
    (void)std::snprintf(value, sizeof value, "%.17g", static_cast<double>(settings.*key.field));
    Line(file, key.name, value);
  }
  for (int slot = 0; slot < talvenor::kHotkeySlots; ++slot) {
    const talvenor::HotkeyBinding& binding = settings.hotkeys[static_cast<std::size_t>(slot)];
    file.append("[").append(kHotkeySections[slot]).append("]\n");
    if (binding.enabled != 0) {
      const char* name = "";  // a code of 0 comes from a name the table does not hold
      for (const talvenor::KeyName& key : talvenor::kKeyNameTable) {
        if (key.code == binding.virtualKey) {
          name = key.name;
          break;
        }
      }
      Line(file, "HOTKEY", name);
    }
    if (binding.modifiers != 0) Line(file, "HOTKEYMODIFIERS", ModifierText(binding.modifiers).c_str());
  }
  return file;
}

int ParseFresh(std::string_view text, SetupSettings& settings) {
  // As plugin code: the log's debugger output goes to the host's capture, not to the terminal.
  sim::Host::PluginCall call(FuzzHost(), sim::kPluginUnderTest);
  talvenor::Settings() = SetupSettings{};
  const int result = talvenor::ParseSetupText(text);
  settings = talvenor::Settings();
  return result;
}

void CheckBounds(const SetupSettings& settings) {
  for (float scaler :
       {settings.engineVibrationScalerX, settings.engineVibrationScalerY, settings.engineVibrationScalerZ}) {
    Check(scaler >= 0.0f && scaler <= 10.0f, "vibration scaler out of bounds");
  }
  Check(settings.axisIncrementChange >= 0.0f, "negative increment change");
  for (const FloatKey& key : kFloatKeys) Check(std::isfinite(settings.*key.field), "a number not finite");
  for (const talvenor::HotkeyBinding& binding : settings.hotkeys) {
    Check(binding.virtualKey >= 0 && binding.virtualKey <= 255, "virtual key out of range");
    Check(binding.enabled == 0 || binding.enabled == 1, "enabled flag not 0 or 1");
    Check(binding.enabled == 1 || binding.virtualKey == 0, "a key without its HOTKEY line");
  }
}

std::uint64_t Digest(const SetupSettings& settings) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&settings);
  for (std::size_t i = 0; i < sizeof settings; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
  return hash;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  SetupSettings first;
  const int result = ParseFresh(text, first);
  Check(result == talvenor::kSetupApplied || (result >= 1 && result <= 21), "result code out of range");
  Check(result != talvenor::kSetupReadError, "a read error without a file");
  CheckBounds(first);

  SetupSettings again;
  Check(ParseFresh(text, again) == result, "the same bytes read twice give different results");
  Check(std::memcmp(&again, &first, sizeof first) == 0, "the same bytes read twice give different settings");

  // The round trip depends on the settings alone, and most inputs give settings already seen.
  FuzzHost().debug().clear();
  // A table, not a set, so that no input allocates what outlives it.
  static std::uint64_t roundTripped[1 << 16];
  const std::uint64_t digest = Digest(first);
  std::uint64_t& seen = roundTripped[digest & 0xffff];
  if (seen == digest) return 0;
  seen = digest;
  const std::string written = WriteSetupFile(first);
  SetupSettings back;
  Check(ParseFresh(written, back) == talvenor::kSetupApplied, "a file written from the settings is refused");
  Check(std::memcmp(&back, &first, sizeof first) == 0,
        "a file written from the settings reads back otherwise");
  FuzzHost().debug().clear();
  return 0;
}
