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

// The log file's path, asked of the simulator afresh; refused when it does not fit or is not a text of the
// simulator's path encoding, so that a cut or garbled path is never opened.
HostPath ComposeLogPath(char (&path)[kLogPathSize]) {
  char system[kLogPathSize + 1] = {};
  XPLMGetSystemPath(system);
  system[kLogPathSize] = '\0';
  return ComposeHostPath(path, sizeof path, system, {"Resources", "plugins", "Talvenor", "TalvenorLog.txt"});
}

void AppendToFile(const char* text) {
  char path[kLogPathSize];
  if (ComposeLogPath(path) != HostPath::kUsable) return;
  std::FILE* file = os::OpenFile(path, "a", HostPathText());
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
  const HostPath composed = ComposeLogPath(path);
  if (composed != HostPath::kUsable) {
    char text[kLogMessageSize];
    (void)std::snprintf(text, sizeof text,
                        "Talvenor: the path of TalvenorLog.txt is %s, nothing is logged to the file\n",
                        HostPathProblem(composed));
    os::DebugOutput(text);
    return;
  }
  std::FILE* file = os::OpenFile(path, "w", HostPathText());
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
