#include "view/view_files.h"

#include <bit>

#include "config/aircraft_files.h"
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

// Reads the file whole into a scratch copy first, so that a read error leaves the table as it was.
int ReadTable(const char* fileName, ViewTable table, bool clearFirst) {
  unsigned char bytes[kPresetTableSize];
  std::size_t count = 0;
  if (!ReadAircraftFile(fileName, bytes, TableSize(table), count)) return 0;
  if (clearFirst) ClearTable(table);
  OverwriteTableStart(table, bytes, count);
  return 1;
}

int WriteTable(const char* fileName, ViewTable table) {
  return SaveAircraftFile(fileName, TableImage(table), TableSize(table));
}

}  // namespace

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

}  // namespace talvenor
