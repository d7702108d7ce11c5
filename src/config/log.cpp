#include "config/log.h"

#include <cstdio>
#include <cstring>

#include "XPLMUtilities.h"
#include "config/bounded_text.h"
#include "config/setup_file.h"
#include "os/os.h"

namespace talvenor {
namespace {

constexpr std::size_t kLogPathSize = 512;

// The log file's path, asked of the simulator afresh; false when it does not fit, so that a cut path is
// never opened.
bool ComposeLogPath(char (&path)[kLogPathSize]) {
  char system[kLogPathSize + 1] = {};
  XPLMGetSystemPath(system);
  system[kLogPathSize] = '\0';
  return ComposePath(path, sizeof path, system, HostDirectorySeparator(),
                     {"Resources", "plugins", "Talvenor", "TalvenorLog.txt"});
}

void AppendToFile(const char* text) {
  char path[kLogPathSize];
  if (!ComposeLogPath(path)) return;
  std::FILE* file = std::fopen(path, "a");
  if (file == nullptr) return;
  // A log line that cannot be written is lost; the log never stops the plugin.
  (void)std::fwrite(text, 1, std::strlen(text), file);
  (void)std::fclose(file);
}

void Write(const char* message, bool toDebugger, bool toFile) {
  // The caller's text cut to the message buffer, so that no message can overrun it.
  char copy[kLogMessageSize];
  CopyBounded(copy, sizeof copy, message);
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
  if (file != nullptr) (void)std::fclose(file);
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
