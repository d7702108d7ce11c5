// What the simulated host does differently on POSIX and on Windows: loading libraries, the SDK libraries
// laid out in Resources/plugins, temporary folders, the tracker's registry entry, and a lock.
//
// platform_posix.cpp and platform_win32.cpp implement it; everything else in sim/ is the same on both.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#ifndef _WIN32
#include <mutex>
#endif

namespace sim::platform {

// The folder X-Plane loads a plugin of this platform from, under the plugin's own folder; the name the
// tracker client library has in the folder its registry entry names; the file name of the substitute tracker
// client library as built, beside the host library.
#ifdef _WIN32
inline constexpr char kPluginFolder[] = "win_x64";
inline constexpr char kTrackerLibraryInstalledName[] = "NPClient64.dll";
inline constexpr char kTrackerLibraryFileName[] = "npclient_sim.dll";
#else
inline constexpr char kPluginFolder[] = "lin_x64";
inline constexpr char kTrackerLibraryInstalledName[] = "NPClient64.so";
inline constexpr char kTrackerLibraryFileName[] = "libnpclient_sim.so";
#endif

// A path from its UTF-8 text, and its UTF-8 text: names kept whole on every platform (from a narrow
// std::string, std::filesystem under MinGW takes the ANSI code page and loses what it cannot spell).
inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
inline std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// PATH as X-Plane's legacy paths give it: on Windows with backslashes, in the process's ANSI code page, each
// character the code page lacks as "?" (no best-fit look-alike, which could name another file); elsewhere
// its UTF-8 text.
std::string LegacyPathText(const std::filesystem::path& path);
// PATH as a plugin is given it: with native paths its UTF-8 text with "/", else as legacy paths spell it.
inline std::string PluginPathText(const std::filesystem::path& path, bool nativePaths) {
  if (!nativePaths) return LegacyPathText(std::filesystem::path(path).make_preferred());
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

// The file of the host library (libtalvenor_xplm.so / talvenor_xplm.dll).
std::filesystem::path HostLibraryFile();

// A new, empty folder under the system's temporary folder.
std::filesystem::path MakeTemporaryFolder(const std::string& prefix);

// Appends TEXT to FILE, past any file fault imposed on the plugin (the file is the simulator's).
void AppendToFile(const std::filesystem::path& file, std::string_view text);

// Lays X-Plane's SDK libraries out in PLUGINS (Resources/plugins): XPLM_64 and XPWidgets_64, the first
// without XPLMFindSymbol unless OFFER_FIND_SYMBOL. Each stands for the host library itself.
void LayOutSdkLibraries(const std::filesystem::path& plugins, bool offerFindSymbol);

// Loads the plugin library FILE (after the SDK libraries of PLUGINS, where the platform binds the plugin's
// imports to them) and puts the host's file faults and debugger capture between it and the system.
// Null with a message when it cannot be loaded.
void* LoadPlugin(const std::filesystem::path& file, const std::filesystem::path& plugins, std::string* error);
void* PluginSymbol(void* plugin, const char* name);
void UnloadPlugin(void* plugin);

// The host library's own export NAME, or null (XPLMFindSymbol).
void* HostSymbol(const char* name);

// The tracker client's registry value (HKEY_CURRENT_USER\Software\NaturalPoint\NATURALPOINT\NPClient
// Location, value Path): on Windows the real registry, on POSIX the file-based stand-in (RegistryRoot()).
// Removing the value removes its key as well.
bool SetTrackerRegistryValue(const std::string& folder, std::string* error);  // FOLDER as UTF-8
void RemoveTrackerRegistryValue();
// The tracker's registry value as something else than a folder's text, as KIND says: "empty", "long" (4,096
// characters), "binary" (REG_BINARY bytes with a NUL among them; on POSIX the same bytes, the stand-in having
// no types) or "number" (a REG_DWORD; on POSIX its four bytes). False, with a reason, when it cannot be set.
bool SetTrackerRegistryKind(const std::string& kind, std::string* error);
// The bytes of such a value.
std::string TrackerRegistryBytes(const std::string& kind);

// Renames the exports NAMES of the shared library IMAGE in place so that a lookup by the old name fails
// (ELF on POSIX, PE on Windows). False with a message when IMAGE is not well formed or lacks one of NAMES.
bool HideExports(std::vector<char>& image, const std::set<std::string>& names, std::string* error);

// A plain lock for state the plugin's threads may touch (the MinGW compiler of the Windows build has no
// std::mutex); constant-initialised, so it works before and after the program's static objects live.
#ifdef _WIN32
class Mutex {
 public:
  constexpr Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;
  void lock();
  void unlock();

 private:
  void* lock_ = nullptr;  // an SRWLOCK, which is one pointer wide; null is SRWLOCK_INIT
};
#else
using Mutex = std::mutex;
#endif

}  // namespace sim::platform
