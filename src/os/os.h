// The operating-system seam: everything the plugin needs that is not the simulator SDK or portable C++.
#pragma once

#include <cstddef>
#include <cstdio>

namespace talvenor::os {

// The platform's directory separator ("\\" on Windows, "/" elsewhere), for paths that do not come from the
// simulator (the tracker's registry folder).
const char* PathSeparator();

// How a path's text is encoded. The simulator's native paths and the tracker's registry folder are UTF-8;
// its legacy paths are in the process's ANSI code page on Windows and UTF-8 elsewhere.
enum class PathText { kUtf8, kLegacy };

// Whether PATH is a well-formed text of its encoding (a malformed one names no file: it is never opened).
bool IsPathText(const char* path, PathText text);

// The file at PATH opened with the C library's MODE; null with errno set when it cannot be, EILSEQ for a
// path that is not a text of its encoding and ENAMETOOLONG for one the system's form of it cannot hold. On
// Windows the path is converted to UTF-16 and opened with the wide function.
std::FILE* OpenFile(const char* path, const char* mode, PathText text);

// Removes the file at PATH; false when it cannot be done.
bool RemoveFile(const char* path, PathText text);

// Sends a text to the debugger output (OutputDebugStringA on Windows, standard error elsewhere).
void DebugOutput(const char* text);

// Pushes what the stream has written through to the disk, so that a file put in place by
// ReplaceFileAtomically afterwards holds its data even after a crash. False when any of it failed.
bool FlushToDisk(std::FILE* file);

// Puts the file `from` in the place of `to` in one step, replacing `to` when it exists: anyone reading `to`
// sees the old file or the new one, never a mix. False when it cannot be done; `to` is then unchanged.
// (Not ReplaceFile: <windows.h> defines that name as a macro, which would rename this function.)
bool ReplaceFileAtomically(const char* from, const char* to, PathText text);

// How reading a text value from the current user's registry ended.
enum class RegistryText { kRead, kNoKey, kNoValue, kTooLong, kUnreadable };

// Reads the text value NAME of the key KEY (its parts joined by backslashes) under HKEY_CURRENT_USER into
// OUT as UTF-8, which is always terminated; the key is closed again on every path. kNoValue: the key has no
// value NAME; kTooLong: the value does not fit in SIZE - 1 bytes; kUnreadable: it is not text (on POSIX: not
// UTF-8) or cannot be read. A text that holds a NUL ends there. On POSIX the registry is a file-based
// stand-in: the value NAME of key A\B is the file $TALVENOR_REGISTRY/HKEY_CURRENT_USER/A/B/NAME holding the
// value's bytes, and a key is a folder (the simulated host points TALVENOR_REGISTRY at <simulator
// folder>/registry). Without it there is no registry at all (kNoKey): nothing ever falls back to the user's
// home.
RegistryText ReadUserRegistryText(const char* key, const char* name, char* out, std::size_t size);

}  // namespace talvenor::os
