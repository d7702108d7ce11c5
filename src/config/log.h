// The debug log: TalvenorLog.txt in the plugin's folder, plus a copy on the debugger output.
// Every call opens, appends and closes, so each message is on disk when the call returns.
#pragma once

namespace talvenor {

inline constexpr int kLogMessageSize = 512;  // a longer message is cut to 511 characters

void LogReset();                       // creates or empties the file
void LogAlways(const char* message);   // debugger output and file, whatever the switches say
void LogMessage(const char* message);  // as far as the two debug switches of the setup file allow

}  // namespace talvenor
