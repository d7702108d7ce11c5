// The operating-system seam: everything the plugin needs that is not the simulator SDK or portable C++.
#pragma once

#include <cstddef>

namespace talvenor::os {

// The platform's directory separator for fixed path texts ("\\" on Windows, "/" elsewhere).
const char* PathSeparator();

// Sends a text to the debugger output (OutputDebugStringA on Windows, standard error elsewhere).
void DebugOutput(const char* text);

}  // namespace talvenor::os
