// Paths, the log, the error callback and the aircraft queries of the simulated host (XPLMUtilities.h and
// XPLMPlanes.h, apart from the command functions).
//
// Path modes, per plugin (the SDK's page on file utilities, XPLMUtilities): a plugin gets legacy paths until
// it enables XPLM_USE_NATIVE_PATHS. Native paths are UTF-8 with "/" on every platform, the drive letter kept
// on Windows ("C:/X-Plane 12/"). Legacy paths are, on Windows, DOS paths with "\\" in the application's ANSI
// code page; on Linux the two modes do not differ. XPLMGetSystemPath, XPLMGetPrefsPath,
// XPLMGetNthAircraftModel, XPLMGetDirectorySeparator and XPLMExtractFileAndPath follow the calling
// plugin's mode.
// The documentation says only that a legacy path cannot spell a folder whose name has no ACP encoding, not
// what the plugin then gets. The host takes the stricter reading: each such character becomes "?" (never a
// best-fit look-alike), so the path names no file and the plugin finds nothing there.
//
// Where the SDK documentation is silent:
// - Paths longer than the buffer the SDK asks for (512 characters, 256 for a file name) are cut to fit and
//   terminated rather than overrunning the plugin's buffer.
// - XPLMExtractFileAndPath on a text without separator leaves it as it is and returns it whole.
// - XPLMGetNthAircraftModel for any index but 0 gives empty texts: the host flies the user's aircraft alone.
#include <string>
#include <string_view>

#include "XPLMPlanes.h"
#include "XPLMUtilities.h"
#include "c_guard.h"
#include "host.h"
#include "platform.h"
#include "plugins.h"

namespace sim {
namespace {

constexpr std::size_t kPathBuffer = 512;
constexpr std::size_t kNameBuffer = 256;

bool NativePaths(Host& host) {
  return host.plugins().featureEnabled(host.caller(), "XPLM_USE_NATIVE_PATHS");
}

const char* Separator(Host& host) {
  return Host::platform() == Platform::Windows && !NativePaths(host) ? "\\" : "/";
}

// The simulator folder, ending in the separator of the calling plugin's mode.
std::string SystemPath(Host& host) {
  std::string path = platform::PluginPathText(host.root(), NativePaths(host));
  const char separator = *Separator(host);
  if (path.empty() || path.back() != separator) path += separator;
  return path;
}

}  // namespace
}  // namespace sim

using sim::Host;

XPLM_API void XPLMGetSystemPath(char* outSystemPath) {
  sim::WithHost([&](Host& host) { sim::CopyOut(outSystemPath, sim::SystemPath(host), sim::kPathBuffer); });
}

XPLM_API void XPLMGetPrefsPath(char* outPrefsPath) {
  sim::WithHost([&](Host& host) {
    const std::string separator = sim::Separator(host);
    const std::string path =
        sim::SystemPath(host) + "Output" + separator + "preferences" + separator + "Set X-Plane.prf";
    sim::CopyOut(outPrefsPath, path, sim::kPathBuffer);
  });
}

XPLM_API const char* XPLMGetDirectorySeparator(void) {
  return sim::WithHost<const char*>(nullptr, [](Host& host) { return sim::Separator(host); });
}

XPLM_API char* XPLMExtractFileAndPath(char* inFullPath) {
  return sim::WithHost<char*>(nullptr, [&](Host& host) {
    if (inFullPath == nullptr) return inFullPath;
    const bool windowsNames = Host::platform() == sim::Platform::Windows && !sim::NativePaths(host);
    char* last = nullptr;
    for (char* p = inFullPath; *p != '\0'; ++p) {
      if (*p == '/' || (windowsNames && *p == '\\')) last = p;
    }
    if (last == nullptr) return inFullPath;
    *last = '\0';
    return last + 1;
  });
}

XPLM_API void XPLMDebugString(const char* inString) {
  sim::WithHost([&](Host& host) {
    if (inString == nullptr) return;
    sim::platform::AppendToFile(host.root() / "Log.txt", inString);
  });
}

XPLM_API void XPLMSetErrorCallback(XPLMError_f inCallback) {
  sim::WithHost([&](Host& host) { host.plugins().setErrorCallback(inCallback); });
}

XPLM_API void XPLMGetNthAircraftModel(int inIndex, char* outFileName, char* outPath) {
  sim::WithHost([&](Host& host) {
    const Host::AircraftText& text = host.aircraftText(sim::NativePaths(host));
    sim::CopyOut(outFileName, inIndex == 0 ? std::string_view(text.name) : std::string_view(),
                 sim::kNameBuffer);
    sim::CopyOut(outPath, inIndex == 0 ? std::string_view(text.path) : std::string_view(), sim::kPathBuffer);
  });
}

XPLM_API void XPLMCountAircraft(int* outTotalAircraft, int* outActiveAircraft, XPLMPluginID* outController) {
  sim::WithHost([&](Host&) {
    if (outTotalAircraft != nullptr) *outTotalAircraft = 1;
    if (outActiveAircraft != nullptr) *outActiveAircraft = 1;
    if (outController != nullptr) *outController = sim::kSimulatorId;
  });
}
