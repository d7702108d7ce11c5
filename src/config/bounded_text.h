// Texts composed into the caller's fixed buffers: every result is terminated, and a path that does not fit
// is refused rather than cut, since a cut path could name another file.
#pragma once

#include <cstddef>
#include <initializer_list>

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

}  // namespace talvenor
