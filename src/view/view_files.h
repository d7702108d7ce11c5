// The view state's three tables on disk, each the raw image of its table in one of the aircraft's files
// (config/aircraft_files.h).
#pragma once

namespace talvenor {

// 1 when the file was read, 0 when it cannot be opened or read (the table is then untouched). A short file
// changes only the bytes it holds; the effects read clears the record first.
int ReadPresetFile(const char* fileName);
int ReadLimitsFile(const char* fileName);
int ReadEffectsFile(const char* fileName);

// 1 when the whole table is on disk, saved as SaveAircraftFile saves; on any failure the change flag stays
// as it was and 0 is returned.
int WritePresetFile(const char* fileName);  // clears presetsChanged on success
int WriteLimitsFile(const char* fileName);  // clears limitsChanged on success
int WriteEffectsFile(const char* fileName);

}  // namespace talvenor
