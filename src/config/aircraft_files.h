// The three per-aircraft files in the folder of the user's aircraft: the presets ("Talvenor.dat"), their
// limits ("TalvenorLimits.dat") and the force-effects record ("TalvenorEffects.dat"). The path is composed
// afresh for every read and write, so the files always belong to the aircraft loaded at that moment.
#pragma once

#include <cstddef>

namespace talvenor {

inline constexpr char kPresetFileName[] = "Talvenor.dat";
inline constexpr char kLimitsFileName[] = "TalvenorLimits.dat";
inline constexpr char kEffectsFileName[] = "TalvenorEffects.dat";

inline constexpr int kAircraftPathSize = 1024;

// The aircraft's folder, the directory separator and the file name. False, with an empty path and a log
// line, when the simulator gives no usable aircraft path or the result does not fit: a cut path could name
// another folder, so it is never used.
bool BuildAircraftFilePath(const char* fileName, char (&path)[kAircraftPathSize]);

// At most SIZE bytes of the aircraft's file into BYTES, COUNT of them read. False when the file cannot be
// opened or read; BYTES may then hold part of it, so a reader keeps its own copy until this succeeds.
bool ReadAircraftFile(const char* fileName, void* bytes, std::size_t size, std::size_t& count);

// 1 when the SIZE bytes are on disk. They go to a temporary file beside the target, which replaces the
// target only once every byte is written and the file is closed; on any failure the old file stays as it
// was, the log says why (whatever the debug switches), and 0 is returned.
int SaveAircraftFile(const char* fileName, const void* bytes, std::size_t size);

}  // namespace talvenor
