#include "config/log.h"

#include <cstdio>
#include <cstring>

#include "XPLMUtilities.h"
#include "config/setup_file.h"
#include "os/os.h"

namespace talvenor {
namespace {

constexpr std::size_t kLogPathSize = 512;

// Appends text at length; false (and the buffer left as it was) when it would not fit with its zero.
bool Append(char (&buffer)[kLogPathSize], std::size_t& length, const char* text) {
  if (text == nullptr) return false;
  const std::size_t size = std::strlen(text);
  if (size >= kLogPathSize - length) return false;
  std::memcpy(buffer + length, text, size + 1);
  length += size;
  return true;
}

const char* Separator() {
  const char* separator = XPLMGetDirectorySeparator();
  return separator != nullptr ? separator : os::PathSeparator();
}

// The log file's path, asked of the simulator afresh; false when it does not fit, so that a cut path is
// never opened.
bool ComposeLogPath(char (&path)[kLogPathSize]) {
  char system[kLogPathSize + 1] = {};
  XPLMGetSystemPath(system);
  system[kLogPathSize] = '\0';
  path[0] = '\0';
  std::size_t length = 0;
  const bool fits = Append(path, length, system) && Append(path, length, "Resources") &&
                    Append(path, length, Separator()) && Append(path, length, "plugins") &&
                    Append(path, length, Separator()) && Append(path, length, "Talvenor") &&
                    Append(path, length, Separator()) && Append(path, length, "TalvenorLog.txt");
  if (!fits) path[0] = '\0';
  return fits;
}

// The caller's text cut to the message buffer, so that no message can overrun it.
void CopyMessage(const char* message, char (&copy)[kLogMessageSize]) {
  std::size_t length = 0;
  if (message != nullptr) {
    while (length < kLogMessageSize - 1 && message[length] != '\0') ++length;
    std::memcpy(copy, message, length);
  }
  copy[length] = '\0';
}

void AppendToFile(const char* text) {
  char path[kLogPathSize];
  if (!ComposeLogPath(path)) return;
  std::FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  std::fwrite(text, 1, std::strlen(text), file);
  std::fclose(file);
}

void Write(const char* message, bool toDebugger, bool toFile) {
  char copy[kLogMessageSize];
  CopyMessage(message, copy);
  if (toDebugger) os::DebugOutput(copy);
  if (toFile) AppendToFile(copy);
}

}  // namespace

void LogReset() {
  char path[kLogPathSize];
  if (!ComposeLogPath(path)) {
    os::DebugOutput("Talvenor: the path of TalvenorLog.txt is too long, nothing is logged to the file\n");
    return;
  }
  std::FILE* file = std::fopen(path, "w");
  if (file != nullptr) std::fclose(file);
}

void LogAlways(const char* message) {
  Write(message, true, true);
}

void LogMessage(const char* message) {
  const SetupSettings& settings = Settings();
  if (settings.debugViewEnabled == 0 && settings.debugLogEnabled == 0) return;
  Write(message, settings.debugViewEnabled != 0, settings.debugLogEnabled != 0);
}

}  // namespace talvenor
