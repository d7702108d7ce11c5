#include "config/setup_file.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "XPLMDefs.h"
#include "XPLMUtilities.h"
#include "config/bounded_text.h"
#include "config/identity.h"
#include "config/key_names.h"
#include "config/log.h"
#include "config/number_text.h"
#include "os/os.h"

namespace talvenor {
namespace {

enum class SectionKind { Debug, Config, Hotkey };

struct Section {
  const char* name;
  SectionKind kind;
  int code;  // the parser's result for an invalid key in this section
  const char* label;
  int slot;
};

constexpr Section kSections[] = {
    {"DEBUG", SectionKind::Debug, kSetupBadDebugKey, "DEBUG section", -1},
    {"CONFIG", SectionKind::Config, kSetupBadConfigKey, "CONFIG section", -1},
    {"PRESET1", SectionKind::Hotkey, 10, "Preset 1 data", 0},
    {"PRESET2", SectionKind::Hotkey, 11, "Preset 2 data", 1},
    {"PRESET3", SectionKind::Hotkey, 12, "Preset 3 data", 2},
    {"PRESET4", SectionKind::Hotkey, 13, "Preset 4 data", 3},
    {"PRESET5", SectionKind::Hotkey, 14, "Preset 5 data", 4},
    {"PRESET6", SectionKind::Hotkey, 15, "Preset 6 data", 5},
    {"PRESET7", SectionKind::Hotkey, 16, "Preset 7 data", 6},
    {"PRESET8", SectionKind::Hotkey, 17, "Preset 8 data", 7},
    {"TL_TOGGLE", SectionKind::Hotkey, 4, "TL Toggle data", kSlotViewControlToggle},
    {"TRACKIR_TOGGLE", SectionKind::Hotkey, 5, "TrackIR Toggle data", kSlotTrackerToggle},
    {"EFFECTS_TOGGLE", SectionKind::Hotkey, 6, "Effects Toggle data", kSlotEffectsToggle},
    {"CONTROL_PANEL_TOGGLE", SectionKind::Hotkey, 7, "Control Panel Toggle Data", kSlotControlPanelToggle},
    {"DATA_PANEL_TOGGLE", SectionKind::Hotkey, 8, "Data Panel Toggle Data", kSlotDataPanelToggle},
    {"EFFECTS_PANEL_TOGGLE", SectionKind::Hotkey, 9, "Effects Panel Toggle Data", kSlotEffectsPanelToggle},
    {"LIMITS_TOGGLE", SectionKind::Hotkey, 18, "Limits Toggle data", kSlotLimitsToggle},
    {"VIBRATION_EFFECT_TOGGLE", SectionKind::Hotkey, 19, "Vibration Toggle data", kSlotVibrationToggle},
};

enum class Bound { None, ZeroToTen, NotNegative };

struct ConfigKey {
  const char* name;
  std::int32_t SetupSettings::*integer;
  float SetupSettings::*number;
  Bound bound;
};

constexpr ConfigKey kConfigKeys[] = {
    {"ENABLEEXTERNALDATA", &SetupSettings::enableExternalData, nullptr, Bound::None},
    {"AUTOSTART", &SetupSettings::autoStart, nullptr, Bound::None},
    {"ENGINEVIBRATION", &SetupSettings::engineVibration, nullptr, Bound::None},
    {"TRACKIRDISABLEONAUTOSTART", &SetupSettings::trackIrDisableOnAutoStart, nullptr, Bound::None},
    {"EFFECTSDISABLEONAUTOSTART", &SetupSettings::effectsDisableOnAutoStart, nullptr, Bound::None},
    {"ENGINEVIBRATIONOFFINFLIGHT", &SetupSettings::engineVibrationOffInFlight, nullptr, Bound::None},
    {"ENGINEVIBRATIONSCALERX", nullptr, &SetupSettings::engineVibrationScalerX, Bound::ZeroToTen},
    {"ENGINEVIBRATIONSCALERY", nullptr, &SetupSettings::engineVibrationScalerY, Bound::ZeroToTen},
    {"ENGINEVIBRATIONSCALERZ", nullptr, &SetupSettings::engineVibrationScalerZ, Bound::ZeroToTen},
    {"TRACKIRENABLEXAXIS", &SetupSettings::trackIrEnableXAxis, nullptr, Bound::None},
    {"TRACKIRENABLEYAXIS", &SetupSettings::trackIrEnableYAxis, nullptr, Bound::None},
    {"TRACKIRENABLEZAXIS", &SetupSettings::trackIrEnableZAxis, nullptr, Bound::None},
    {"TRACKIRENABLEPITCHAXIS", &SetupSettings::trackIrEnablePitchAxis, nullptr, Bound::None},
    {"TRACKIRENABLEHEADINGAXIS", &SetupSettings::trackIrEnableHeadingAxis, nullptr, Bound::None},
    {"TRACKIRENABLEROLLAXIS", &SetupSettings::trackIrEnableRollAxis, nullptr, Bound::None},
    {"RESETROLLOFFSETONSTARTUP", &SetupSettings::resetRollOffsetOnStartup, nullptr, Bound::None},
    {"AXISXINCREMENT", nullptr, &SetupSettings::axisXIncrement, Bound::None},
    {"AXISYINCREMENT", nullptr, &SetupSettings::axisYIncrement, Bound::None},
    {"AXISZINCREMENT", nullptr, &SetupSettings::axisZIncrement, Bound::None},
    {"AXISHEADINGINCREMENT", nullptr, &SetupSettings::axisHeadingIncrement, Bound::None},
    {"AXISPITCHINCREMENT", nullptr, &SetupSettings::axisPitchIncrement, Bound::None},
    {"AXISROLLINCREMENT", nullptr, &SetupSettings::axisRollIncrement, Bound::None},
    {"AXISINCREMENTCHANGE", nullptr, &SetupSettings::axisIncrementChange, Bound::NotNegative},
};

// X-Plane's system path buffer, and so the setup file's path.
constexpr int kSetupPathSize = 512;

// Shown in place of a section name that is empty: key lines before the first header, or after "[]".
constexpr char kNoSectionName[] = "(no section)";

// StripBlanks of text[begin, end).
void StripRange(const char* begin, const char* end, char (&result)[kSetupTextSize]) {
  char piece[kSetupTextSize] = {};
  std::size_t length = 0;
  for (const char* p = begin; p < end && length < kSetupTextSize - 1; ++p) piece[length++] = *p;
  StripBlanks(piece, result);
}

const Section* FindSection(const char* name) {
  for (const Section& section : kSections) {
    if (std::strcmp(section.name, name) == 0) return &section;
  }
  return nullptr;
}

float Clamped(float value, Bound bound) {
  switch (bound) {
    case Bound::ZeroToTen:
      return value < 0.0f ? 0.0f : (value > 10.0f ? 10.0f : value);
    case Bound::NotNegative:
      return value < 0.0f ? 0.0f : value;
    case Bound::None:
      break;
  }
  return value;
}

// False when the key is not one of the section's keys.
bool ApplyEntry(const Section& section, const SetupEntry& entry) {
  SetupSettings& settings = Settings();
  switch (section.kind) {
    case SectionKind::Debug:
      if (std::strcmp(entry.key, "DEBUGLOGENABLED") == 0) {
        settings.debugLogEnabled = TextToInt(entry.value);
        return true;
      }
      if (std::strcmp(entry.key, "DEBUGVIEWENABLED") == 0) {
        settings.debugViewEnabled = TextToInt(entry.value);
        return true;
      }
      return false;
    case SectionKind::Config:
      for (const ConfigKey& key : kConfigKeys) {
        if (std::strcmp(key.name, entry.key) != 0) continue;
        if (key.integer != nullptr) {
          settings.*key.integer = TextToInt(entry.value);
        } else {
          settings.*key.number = Clamped(TextToFloat(entry.value), key.bound);
        }
        return true;
      }
      return false;
    case SectionKind::Hotkey: {
      HotkeyBinding& binding = settings.hotkeys[static_cast<std::size_t>(section.slot)];
      if (std::strcmp(entry.key, "HOTKEY") == 0) {
        binding.virtualKey = LookupKeyName(entry.value);
        binding.enabled = 1;
        return true;
      }
      if (std::strcmp(entry.key, "HOTKEYMODIFIERS") == 0) {
        binding.modifiers = ParseModifiers(entry.value);
        return true;
      }
      return false;
    }
  }
  return false;
}

struct ParseNotes {
  bool nulByte = false;  // a line held a NUL byte; the rest of that line was ignored
};

// Applies ENTRY, or logs why it cannot be applied and gives the parse's result code for it.
int ApplyOrReport(const SetupEntry& entry) {
  const Section* found = FindSection(entry.section);
  if (found == nullptr) {
    LogMessage(entry.section[0] != '\0' ? entry.section : kNoSectionName);
    LogMessage(" is an invalid section name\n");
    return kSetupBadSection;
  }
  if (!ApplyEntry(*found, entry)) {
    LogMessage(entry.key);
    LogMessage(" is an invalid field\n");
    return found->code;
  }
  return kSetupApplied;
}

// Each entry is applied as it is read; after the first that cannot be, the lines are still read to the
// end, the 1,024th entry or a read error, so that what is noted and which result wins do not change.
int ParseText(SetupText text, ParseNotes& notes) {
  for (HotkeyBinding& binding : Settings().hotkeys) binding = HotkeyBinding{};

  int count = 0;
  int failure = kSetupApplied;
  bool readError = false;
  bool tooManyLines = false;
  char section[kSetupTextSize] = {};
  char line[kSetupTextSize];
  SetupEntry entry;
  int length = 0;
  for (;;) {
    const SetupLineRead read = ReadSetupLineCounted(line, kSetupTextSize, text, length);
    if (read == SetupLineRead::kEnd) break;
    if (read == SetupLineRead::kError) {
      readError = true;
      break;
    }
    if (std::strlen(line) < static_cast<std::size_t>(length)) notes.nulByte = true;
    UpperCaseSetupText(line);
    RemoveSetupLineEnd(line);
    if (std::strchr(line, ';') != nullptr) continue;
    if (const char* close = std::strrchr(line, ']')) {
      // The first character is skipped whatever it is; with "]" first, the name is empty.
      StripRange(close > line ? line + 1 : close, close, section);
      continue;
    }
    const char* equals = std::strrchr(line, '=');
    if (equals == nullptr) continue;
    if (count == kSetupEntries) {
      tooManyLines = true;
      break;
    }
    ++count;
    if (failure != kSetupApplied) continue;
    std::memcpy(entry.section, section, sizeof section);
    // The character before "=" is dropped: a key is written with one blank before "=".
    StripRange(line, equals > line ? equals - 1 : line, entry.key);
    StripBlanks(equals + 1, entry.value);
    failure = ApplyOrReport(entry);
  }

  if (failure != kSetupApplied) return failure;
  if (readError) return kSetupReadError;
  if (tooManyLines) return kSetupTooManyLines;
  return kSetupApplied;
}

int ParseStream(std::FILE* file, ParseNotes& notes) {
  const SetupFileBytes bytes(file);
  if (bytes.outOfMemory()) {
    LogMessage("Not enough memory to read Talvenor.ini\n");
    return kSetupNotOpened;
  }
  return ParseText(bytes.text(), notes);
}

int Parse(const char* path, ParseNotes& notes) {
  if (path == nullptr || path[0] == '\0') return kSetupNotOpened;
  std::FILE* file = os::OpenFile(path, "r", HostPathText());
  if (file == nullptr) return kSetupNotOpened;
  const int result = ParseStream(file, notes);
  (void)std::fclose(file);
  return result;
}

// The text "Parse Error in " names for a result code ("" for the codes that have none).
const char* SetupResultLabel(int result) {
  if (result == kSetupBadSection) return "Section Name";
  for (const Section& section : kSections) {
    if (section.code == result) return section.label;
  }
  return "";
}

}  // namespace

bool ReadSetupFile() {
  LogMessage("Parsing Setup file\n");
  Settings() = SetupSettings{};

  char system[kSetupPathSize] = {};
  XPLMGetSystemPath(system);
  system[kSetupPathSize - 1] = '\0';
  char path[kSetupPathSize];
  const HostPath composed =
      ComposeHostPath(path, sizeof path, system, {"Resources", "plugins", kPluginName, "Talvenor.ini"});
  if (composed != HostPath::kUsable) {
    char text[kLogMessageSize];
    (void)std::snprintf(text, sizeof text, "The path of Talvenor.ini is %s, will use defaults\n",
                        HostPathProblem(composed));
    LogAlways(text);
  }
  ParseNotes notes;
  int result = kSetupNotOpened;
  if (path[0] == '\0') {
    LogMessage("Talvenor.ini is not read: its path is not usable\n");
  } else {
    result = Parse(path, notes);
  }
  if (notes.nulByte) LogMessage("Talvenor.ini holds a NUL character; the rest of that line was ignored\n");

  switch (result) {
    case kSetupNotOpened:
      LogMessage("No Talvenor.ini file found, will use defaults\n");
      return false;
    case kSetupApplied:
      LogMessage("Parsing Successful\n");
      return true;
    case kSetupReadError:
      LogMessage("Read error in Talvenor.ini, the rest of the file is ignored\n");
      return false;
    case kSetupTooManyLines:
      LogMessage("Talvenor.ini has more than 1024 key lines, the rest of the file is ignored\n");
      return false;
    default:
      break;
  }
  char text[kLogMessageSize] = "Parse Error in ";
  std::strncat(text, SetupResultLabel(result), sizeof text - std::strlen(text) - 1);
  LogMessage(text);
  LogMessage("\n");
  return false;
}

void ClearHotkeyBinding(int slot) {
  if (slot >= 0 && slot < kHotkeySlots) Settings().hotkeys[static_cast<std::size_t>(slot)] = HotkeyBinding{};
}

void ToggleEngineVibration() {
  Settings().engineVibration = Settings().engineVibration == 0 ? 1 : 0;
}

int ParseSetupFile(const char* path) {
  ParseNotes notes;
  return Parse(path, notes);
}

int ParseSetupStream(std::FILE* file) {
  if (file == nullptr) return kSetupNotOpened;
  ParseNotes notes;
  return ParseStream(file, notes);
}

int ParseSetupText(std::string_view text) {
  ParseNotes notes;
  return ParseText(SetupText{text, false}, notes);
}

std::int32_t LookupKeyName(const char* name) {
  if (name == nullptr) return 0;
  for (const KeyName& key : kKeyNameTable) {
    if (std::strcmp(key.name, name) == 0) return key.code;
  }
  return 0;
}

std::int32_t ParseModifiers(const char* text) {
  if (text == nullptr) return 0;
  std::int32_t sum = 0;
  const char* piece = text;
  for (const char* p = text;; ++p) {
    if (*p == '+' || *p == ' ' || *p == '\n' || *p == '\0') {
      const std::size_t length = static_cast<std::size_t>(p - piece);
      for (const KeyName& modifier : kModifierNameTable) {
        if (length > 0 && std::strlen(modifier.name) == length &&
            std::memcmp(modifier.name, piece, length) == 0) {
          sum += modifier.code;
          break;
        }
      }
      if (*p == '\0') break;
      piece = p + 1;
    }
  }
  return sum;
}

}  // namespace talvenor
