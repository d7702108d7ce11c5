// The operating-system seam: everything the plugin needs that is not the simulator SDK or portable C++.
#pragma once

#include <cstddef>
#include <cstdio>

namespace talvenor::os {

// The platform's directory separator for fixed path texts ("\\" on Windows, "/" elsewhere).
const char* PathSeparator();

// Sends a text to the debugger output (OutputDebugStringA on Windows, standard error elsewhere).
void DebugOutput(const char* text);

// Pushes what the stream has written through to the disk, so that a file put in place by
// ReplaceFileAtomically afterwards holds its data even after a crash. False when any of it failed.
bool FlushToDisk(std::FILE* file);

// Puts the file `from` in the place of `to` in one step, replacing `to` when it exists: anyone reading `to`
// sees the old file or the new one, never a mix. False when it cannot be done; `to` is then unchanged.
// (Not ReplaceFile: <windows.h> defines that name as a macro, which would rename this function.)
bool ReplaceFileAtomically(const char* from, const char* to);

}  // namespace talvenor::os
