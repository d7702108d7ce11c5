// Texts composed into the caller's fixed buffers: every result is terminated, and a path that does not fit
// is refused rather than cut, since a cut path could name another file.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "os/os.h"

namespace talvenor {

// Appends TEXT at LENGTH; false, leaving the buffer as it was, when the text and its terminator do not fit
// (a null text never fits).
bool AppendBounded(char* buffer, std::size_t size, std::size_t& length, const char* text);

// TEXT cut to SIZE - 1 characters and terminated; a null text gives an empty one, a null target nothing.
void CopyBounded(char* target, std::size_t size, const char* text);

// BASE, then the parts with SEPARATOR between them (BASE ends in a separator where one is wanted); false,
// with an empty text, when it does not fit.
bool ComposePath(char* out, std::size_t size, const char* base, const char* separator,
                 std::initializer_list<const char*> parts);

// The simulator's directory separator, or the platform's where the simulator gives none.
const char* HostDirectorySeparator();

// The encoding of the simulator's paths as it gives them to this plugin: UTF-8 once the plugin enabled
// native paths, else the legacy one. Asked of the simulator each time, so it needs no state of its own.
os::PathText HostPathText();

// How a path into the simulator's folders came out of ComposeHostPath.
enum class HostPath { kUsable, kTooLong, kNotText };

// BASE, then PARTS joined with the simulator's separator (as ComposePath). Refused, with an empty text, when
// it does not fit or is not a text of the simulator's path encoding: such a path is never opened.
HostPath ComposeHostPath(char* out, std::size_t size, const char* base,
                         std::initializer_list<const char*> parts);

// What a log line says of a refused path: "too long", or that it is not valid UTF-8 or not valid in the
// system's code page.
const char* HostPathProblem(HostPath result);

}  // namespace talvenor
