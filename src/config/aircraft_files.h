// The three per-aircraft files in the folder of the user's aircraft: the presets ("Talvenor.dat"), their
// limits ("TalvenorLimits.dat") and the force-effects record ("TalvenorEffects.dat"), each the raw image of
// its table in the view state. The path is composed afresh for every read and write, so the files always
// belong to the aircraft loaded at that moment.
#pragma once

namespace talvenor {

inline constexpr char kPresetFileName[] = "Talvenor.dat";
inline constexpr char kLimitsFileName[] = "TalvenorLimits.dat";
inline constexpr char kEffectsFileName[] = "TalvenorEffects.dat";

inline constexpr int kAircraftPathSize = 1024;

// The aircraft's folder, the directory separator and the file name. False, with an empty path and a log
// line, when the simulator gives no usable aircraft path or the result does not fit: a cut path could name
// another folder, so it is never used.
bool BuildAircraftFilePath(const char* fileName, char (&path)[kAircraftPathSize]);

// 1 when the file was read, 0 when it cannot be opened or read (the table is then untouched). A short file
// changes only the bytes it holds; the effects read clears the record first.
int ReadPresetFile(const char* fileName);
int ReadLimitsFile(const char* fileName);
int ReadEffectsFile(const char* fileName);

// 1 when the whole table is on disk. The table goes to a temporary file beside the target, which replaces
// the target only once every byte is written and the file is closed; on any failure the old file and the
// change flag stay as they were, the log says why (whatever the debug switches), and 0 is returned.
int WritePresetFile(const char* fileName);  // clears presetsChanged on success
int WriteLimitsFile(const char* fileName);  // clears limitsChanged on success
int WriteEffectsFile(const char* fileName);

// Read the aircraft's file and bring the panels, the selected preset and the view up to date.
void LoadPresets();
void LoadLimits();
void LoadEffects();

}  // namespace talvenor
