#include "config/aircraft_files.h"

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "XPLMPlanes.h"
#include "XPLMUtilities.h"
#include "config/bounded_text.h"
#include "config/log.h"
#include "os/os.h"
#include "ui/panels.h"
#include "view/view_state.h"

namespace talvenor {
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

// The SDK asks for 512 characters for an aircraft path; a path that fills them may have been cut.
constexpr std::size_t kSdkPathLimit = 511;
constexpr char kTemporarySuffix[] = ".tmp";

void LogPathProblem(const char* fileName) {
  char text[kLogMessageSize] = "The aircraft's path is not usable for '";
  std::strncat(text, fileName, sizeof text - std::strlen(text) - 1);
  std::strncat(text, "'\n", sizeof text - std::strlen(text) - 1);
  LogMessage(text);
}

// Reads the file whole into a scratch copy first, so that a read error leaves the table as it was.
int ReadTable(const char* fileName, ViewTable table, bool clearFirst) {
  char path[kAircraftPathSize];
  if (!BuildAircraftFilePath(fileName, path)) return 0;
  std::FILE* file = os::OpenFile(path, "rb", HostPathText());
  if (file == nullptr) return 0;
  unsigned char bytes[kPresetTableSize];
  const std::size_t count = std::fread(bytes, 1, TableSize(table), file);
  const bool failed = std::ferror(file) != 0;
  (void)std::fclose(file);  // what was read is already checked
  if (failed) return 0;
  if (clearFirst) ClearTable(table);
  OverwriteTableStart(table, bytes, count);
  return 1;
}

// A save that did not happen is always logged, with the system's reason: the pilot's changes are only in
// memory, and the file on disk is the one of the last good save.
int SaveFailed(const char* fileName, int error) {
  char text[kLogMessageSize];
  (void)std::snprintf(text, sizeof text, "Could not save '%s': %s. The file on disk is unchanged.\n",
                      fileName, error != 0 ? std::strerror(error) : "the aircraft's path is not usable");
  LogAlways(text);
  return 0;
}

// Clears errno, runs STEP and keeps the reason of the first step that fails in ERROR.
template <typename Step>
bool Checked(int& error, Step step) {
  errno = 0;
  const bool done = step();
  if (!done && error == 0) error = errno != 0 ? errno : EIO;
  return done;
}

int WriteTable(const char* fileName, ViewTable table) {
  const std::size_t size = TableSize(table);
  char path[kAircraftPathSize];
  if (!BuildAircraftFilePath(fileName, path)) return SaveFailed(fileName, 0);
  char temporary[kAircraftPathSize];
  std::memcpy(temporary, path, sizeof path);
  std::size_t length = std::strlen(temporary);
  if (!AppendBounded(temporary, sizeof temporary, length, kTemporarySuffix)) {
    return SaveFailed(fileName, ENAMETOOLONG);
  }

  int error = 0;
  std::FILE* file = nullptr;
  const os::PathText text = HostPathText();
  if (!Checked(error, [&] { return (file = os::OpenFile(temporary, "wb", text)) != nullptr; })) {
    return SaveFailed(fileName, error);
  }
  bool written = Checked(error, [&] { return std::fwrite(TableImage(table), 1, size, file) == size; });
  // A full disk may show only when the buffered bytes are flushed or the file is closed.
  written = Checked(error, [&] { return os::FlushToDisk(file); }) && written;
  written = Checked(error, [&] { return std::fclose(file) == 0; }) && written;
  if (!written || !Checked(error, [&] { return os::ReplaceFileAtomically(temporary, path, text); })) {
    (void)os::RemoveFile(temporary, text);  // nothing more to do when even that fails
    return SaveFailed(fileName, error);
  }
  return 1;
}

}  // namespace

bool BuildAircraftFilePath(const char* fileName, char (&path)[kAircraftPathSize]) {
  path[0] = '\0';
  if (fileName == nullptr) return false;
  char name[256] = {};
  char folder[kAircraftPathSize] = {};
  XPLMGetNthAircraftModel(0, name, folder);
  folder[kAircraftPathSize - 1] = '\0';
  const std::size_t fullLength = std::strlen(folder);
  // No separator: no folder to put the file in (the text would be taken for a folder of its own).
  const bool usable =
      fullLength > 0 && fullLength < kSdkPathLimit && XPLMExtractFileAndPath(folder) != folder;
  if (!usable || ComposeHostPath(path, sizeof path, "", {folder, fileName}) != HostPath::kUsable) {
    path[0] = '\0';
    LogPathProblem(fileName);
    return false;
  }
  return true;
}

int ReadPresetFile(const char* fileName) {
  return ReadTable(fileName, kPresetTable, false);
}

int ReadLimitsFile(const char* fileName) {
  return ReadTable(fileName, kLimitsTable, false);
}

int ReadEffectsFile(const char* fileName) {
  return ReadTable(fileName, kEffectsTable, true);
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

void LoadPresets() {
  const ViewState& view = View();
  ClearTable(kPresetTable);
  if (ReadPresetFile(kPresetFileName) == 1) {
    ShowPresetBoxes();
    for (int slot = 0; slot < kPresetSlots; ++slot) {
      if (view.presets[slot].stored == 0) continue;
      SelectPresetSlot(slot);
      ApplyView(view.limits[slot].enabled);
      ShowPresetNumber(slot + 1);
      break;
    }
    LogMessage("Found 'Talvenor.dat' file, will use that\n");
  } else {
    ResetPresetsToCurrentView();
    LogMessage("No 'Talvenor.dat' file found\n");
  }
  SetPresetsChanged(false);
}

void LoadLimits() {
  const ViewState& view = View();
  ClearTable(kLimitsTable);
  if (ReadLimitsFile(kLimitsFileName) == 1) {
    ShowPresetLimits(view.selectedPreset);
    LogMessage("Found 'TalvenorLimits.dat' file, will use that\n");
  } else {
    ClearAllLimits();
    LogMessage("No 'TalvenorLimits.dat' file found\n");
  }
  SetLimitsChanged(false);
}

void LoadEffects() {
  const EffectsSettings& effects = View().effects;
  if (ReadEffectsFile(kEffectsFileName) == 1) {
    SetForceEffectsBoxes(effects.effectsOn != 0);
    ShowEffectsSettings(effects);
    LogMessage("Found 'TalvenorEffects.dat' file, will use that\n");
  } else {
    LogMessage("No 'TalvenorEffects.dat' file found\n");
  }
}

}  // namespace talvenor
