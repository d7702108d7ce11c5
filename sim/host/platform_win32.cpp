// The simulated host on Windows.
//
// The host library is talvenor_xplm.dll. X-Plane's SDK libraries XPLM_64.dll and XPWidgets_64.dll are
// forwarders built beside it (each export forwarded to talvenor_xplm.dll), copied into Resources\plugins
// and loaded from there by their full path before the plugin: the plugin's imports of XPLM_64.dll and
// XPWidgets_64.dll bind to those modules by name, and its own LoadLibrary of
// "<system path>Resources\plugins\XPLM_64.DLL" finds the same module, while all state stays in the host.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "host.h"
#include "platform.h"
#include "tracker_script.h"

namespace fs = std::filesystem;

namespace sim {
namespace platform {

int HookFileFunctions(void* module);  // file_hooks_win32.cpp

}  // namespace platform

namespace {

constexpr char kTrackerKey[] = "Software\\NaturalPoint\\NATURALPOINT\\NPClient Location";
constexpr char kTrackerValue[] = "Path";

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      code, 0, text, sizeof text, nullptr);
  std::string result(text, length);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
    result.pop_back();
  return "error " + std::to_string(code) + (result.empty() ? "" : " (" + result + ")");
}

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// The plugin and the SDK libraries loaded for it, unloaded together.
struct LoadedPlugin {
  HMODULE plugin = nullptr;
  HMODULE xplm = nullptr;
  HMODULE widgets = nullptr;
};

// Creates the tracker's registry key and sets its value with SET(key), which returns the status.
template <typename Set>
bool SetTrackerValue(std::string* error, Set set) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kTrackerKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return Failed(error, "cannot create HKCU\\" + std::string(kTrackerKey));
  }
  const LSTATUS status = set(key);
  RegCloseKey(key);
  return status == ERROR_SUCCESS ? true
                                 : Failed(error, "cannot set HKCU\\" + std::string(kTrackerKey) + "\\Path");
}

// --- the PE export table ---

// The file offset of the relative virtual address RVA, through the section table.
bool FileOffset(const std::vector<char>& image, const IMAGE_NT_HEADERS64& nt, std::uint64_t sections,
                std::uint32_t rva, std::uint64_t* out) {
  for (unsigned i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
    IMAGE_SECTION_HEADER section{};
    if (!ReadAt(image, sections + i * sizeof section, &section)) return false;
    const std::uint32_t size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
    if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size) {
      *out = std::uint64_t{section.PointerToRawData} + (rva - section.VirtualAddress);
      return *out < image.size();
    }
  }
  return false;
}

}  // namespace

namespace platform {

// In the PE export table the last letter of each name changes, keeping the name table sorted, as the
// loader's lookup by name is a binary search.
bool HideExports(std::vector<char>& image, const std::set<std::string>& names, std::string* error) {
  if (names.empty()) return true;
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS64 nt{};
  if (!ReadAt(image, 0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0 ||
      !ReadAt(image, static_cast<std::uint64_t>(dos.e_lfanew), &nt) || nt.Signature != IMAGE_NT_SIGNATURE ||
      nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    return Failed(error, "not a 64-bit PE library");
  }
  const std::uint64_t sections = static_cast<std::uint64_t>(dos.e_lfanew) +
                                 offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                 nt.FileHeader.SizeOfOptionalHeader;
  const IMAGE_DATA_DIRECTORY& directory = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::uint64_t at = 0;
  IMAGE_EXPORT_DIRECTORY exports{};
  if (directory.VirtualAddress == 0 || !FileOffset(image, nt, sections, directory.VirtualAddress, &at) ||
      !ReadAt(image, at, &exports)) {
    return Failed(error, "no well-formed export table");
  }
  std::uint64_t nameTable = 0;
  if (exports.NumberOfNames > 0 && !FileOffset(image, nt, sections, exports.AddressOfNames, &nameTable))
    return Failed(error, "no well-formed export table");
  // Every name, in table order (sorted, as the loader's binary search needs).
  std::vector<char*> table;
  for (std::uint32_t i = 0; i < exports.NumberOfNames; ++i) {
    std::uint32_t rva = 0;
    std::uint64_t offset = 0;
    if (!ReadAt(image, nameTable + 4ull * i, &rva) || !FileOffset(image, nt, sections, rva, &offset) ||
        std::memchr(image.data() + offset, '\0', image.size() - offset) == nullptr) {
      return Failed(error, "export name out of bounds");
    }
    table.push_back(image.data() + offset);
  }
  std::set<std::string> pending = names;
  for (std::size_t i = 0; i < table.size(); ++i) {
    char* name = table[i];
    if (pending.erase(name) == 0) continue;
    const std::size_t length = std::strlen(name);
    if (length == 0) continue;
    // Same length, so no offset in the file moves. The last letter changes one step up or down, whichever
    // keeps the name between its neighbours.
    const char original = name[length - 1];
    bool placed = false;
    for (const int step : {1, -1}) {
      name[length - 1] = static_cast<char>(original + step);
      const bool afterPrevious = i == 0 || std::strcmp(table[i - 1], name) < 0;
      const bool beforeNext = i + 1 == table.size() || std::strcmp(name, table[i + 1]) < 0;
      if (afterPrevious && beforeNext && name[length - 1] > ' ') {
        placed = true;
        break;
      }
    }
    if (!placed) {
      name[length - 1] = original;
      return Failed(error, std::string("cannot rename the export ") + name + " in place");
    }
  }
  if (!pending.empty()) return Failed(error, "the library does not export " + *pending.begin());
  return true;
}

fs::path HostLibraryFile() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(ThisModule(), name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return fs::path(name);
    }
    name.resize(name.size() * 2);
  }
}

fs::path MakeTemporaryFolder(const std::string& prefix) {
  static std::atomic<unsigned> counter{0};
  const fs::path base = fs::temp_directory_path();
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const std::string name = prefix + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(GetTickCount64() % 1000000) + "-" + std::to_string(counter++);
    std::error_code ec;
    if (fs::create_directory(base / name, ec)) return base / name;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

// The plugin's file faults are in its own import table, so the host's writes pass untouched.
void AppendToFile(const fs::path& file, std::string_view text) {
  std::ofstream out(file, std::ios::binary | std::ios::app);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void LayOutSdkLibraries(const fs::path& plugins, bool offerFindSymbol) {
  const fs::path built = HostLibraryFile().parent_path();
  const fs::path xplm = built / (offerFindSymbol ? "XPLM_64.dll" : "xplm_without_find_symbol.dll");
  for (const auto& [name, source] :
       {std::pair{"XPLM_64.dll", xplm}, std::pair{"XPWidgets_64.dll", built / "XPWidgets_64.dll"}}) {
    // A library that a loaded plugin holds cannot be replaced; it changes at the next load.
    std::error_code ignored;
    fs::copy_file(source, plugins / name, fs::copy_options::overwrite_existing, ignored);
  }
}

void* LoadPlugin(const fs::path& file, const fs::path& plugins, std::string* error) {
  auto loaded = std::make_unique<LoadedPlugin>();
  auto fail = [&](const fs::path& what) {
    if (error != nullptr) *error = "cannot load " + what.string() + ": " + LastErrorText();
    UnloadPlugin(loaded.release());
    return nullptr;
  };
  loaded->xplm = LoadLibraryW((plugins / "XPLM_64.dll").c_str());
  if (loaded->xplm == nullptr) return fail(plugins / "XPLM_64.dll");
  loaded->widgets = LoadLibraryW((plugins / "XPWidgets_64.dll").c_str());
  if (loaded->widgets == nullptr) return fail(plugins / "XPWidgets_64.dll");
  loaded->plugin = LoadLibraryExW(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (loaded->plugin == nullptr) return fail(file);
  HookFileFunctions(loaded->plugin);
  return loaded.release();
}

void* PluginSymbol(void* plugin, const char* name) {
  auto* loaded = static_cast<LoadedPlugin*>(plugin);
  if (loaded == nullptr || loaded->plugin == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(loaded->plugin, name));
}

void UnloadPlugin(void* plugin) {
  std::unique_ptr<LoadedPlugin> loaded(static_cast<LoadedPlugin*>(plugin));
  if (!loaded) return;
  for (HMODULE module : {loaded->plugin, loaded->widgets, loaded->xplm}) {
    if (module != nullptr) FreeLibrary(module);
  }
}

void* HostSymbol(const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(ThisModule(), name));
}

std::string LegacyPathText(const fs::path& path) {
  const std::wstring wide = path.native();
  if (wide.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, "?", nullptr);
  std::string text(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, text.data(), size, "?", nullptr);
  text.resize(std::strlen(text.c_str()));
  return text;
}

bool SetTrackerRegistryValue(const std::string& folder, std::string* error) {
  // Written as UTF-16, as the tracker's installer does, so that any folder's name arrives whole.
  std::wstring text = PathFromUtf8(folder).native();
  while (text.size() > 3 && (text.back() == L'\\' || text.back() == L'/')) text.pop_back();
  return SetTrackerValue(error, [&](HKEY key) {
    return RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  });
}

bool SetTrackerRegistryKind(const std::string& kind, std::string* error) {
  const DWORD type = kind == "binary" ? REG_BINARY : kind == "number" ? REG_DWORD : REG_SZ;
  std::string bytes = TrackerRegistryBytes(kind);
  if (type == REG_SZ) bytes.push_back('\0');
  return SetTrackerValue(error, [&](HKEY key) {
    return RegSetValueExA(key, kTrackerValue, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
  });
}

void RemoveTrackerRegistryValue() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kTrackerKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, kTrackerValue);
  RegCloseKey(key);
  // The key goes too, as on a machine without the tracker software: the Wine prefix outlives each run.
  RegDeleteKeyA(HKEY_CURRENT_USER, kTrackerKey);
}

static_assert(sizeof(SRWLOCK) == sizeof(void*));

void Mutex::lock() {
  AcquireSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&lock_));
}
void Mutex::unlock() {
  ReleaseSRWLockExclusive(reinterpret_cast<PSRWLOCK>(&lock_));
}

}  // namespace platform
}  // namespace sim
