// The simulated host on POSIX: dlopen, symbolic links to the host library, the file-based registry
// stand-in, and the ELF export table.
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "host.h"
#include "platform.h"
#include "tracker_script.h"

namespace fs = std::filesystem;

namespace sim {
namespace {

bool InRange(const std::vector<char>& image, std::uint64_t offset, std::uint64_t size) {
  return offset <= image.size() && size <= image.size() - offset;
}

}  // namespace

bool HideElfExports(std::vector<char>& image, const std::set<std::string>& names, std::string* error) {
  if (names.empty()) return true;
  Elf64_Ehdr header{};
  if (!ReadAt(image, 0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr)) {
    return Failed(error, "not a 64-bit ELF library");
  }
  if (!InRange(image, header.e_shoff, std::uint64_t{header.e_shnum} * sizeof(Elf64_Shdr))) {
    return Failed(error, "section table out of bounds");
  }
  auto section = [&](std::uint64_t index, Elf64_Shdr* out) {
    return index < header.e_shnum && ReadAt(image, header.e_shoff + index * sizeof(Elf64_Shdr), out);
  };
  Elf64_Shdr symbols{};
  bool found = false;
  for (std::uint64_t i = 0; i < header.e_shnum && !found; ++i) {
    if (!section(i, &symbols)) return Failed(error, "section table out of bounds");
    found = symbols.sh_type == SHT_DYNSYM;
  }
  Elf64_Shdr strings{};
  if (!found || symbols.sh_entsize != sizeof(Elf64_Sym) ||
      !InRange(image, symbols.sh_offset, symbols.sh_size) || !section(symbols.sh_link, &strings) ||
      !InRange(image, strings.sh_offset, strings.sh_size)) {
    return Failed(error, "no well-formed dynamic symbol table");
  }
  std::set<std::string> pending = names;
  for (std::uint64_t at = 0; at + sizeof(Elf64_Sym) <= symbols.sh_size; at += sizeof(Elf64_Sym)) {
    Elf64_Sym symbol{};
    ReadAt(image, symbols.sh_offset + at, &symbol);
    if (symbol.st_name == 0 || symbol.st_shndx == SHN_UNDEF || symbol.st_name >= strings.sh_size) continue;
    char* name = image.data() + strings.sh_offset + symbol.st_name;
    const std::size_t room = strings.sh_size - symbol.st_name;
    if (std::memchr(name, '\0', room) == nullptr) continue;
    if (pending.erase(name) == 0) continue;
    // Same length, so no offset in the file moves; the hash tables still lead to the entry, but its name no
    // longer matches.
    name[0] = name[0] == 'x' ? 'y' : 'x';
  }
  if (!pending.empty()) return Failed(error, "the library does not export " + *pending.begin());
  return true;
}

namespace platform {

fs::path HostLibraryFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&HostLibraryFile), &info) == 0 || info.dli_fname == nullptr) return {};
  return fs::absolute(info.dli_fname);
}

fs::path MakeTemporaryFolder(const std::string& prefix) {
  std::string pattern = (fs::temp_directory_path() / (prefix + "XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
  return fs::path(pattern);
}

// System calls, not the C library: the file faults imposed on plugin code (at the C library's functions)
// must not refuse the simulator's own files.
void AppendToFile(const fs::path& file, std::string_view text) {
#ifdef __linux__
  const long fd =
      syscall(SYS_openat, AT_FDCWD, file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  while (!text.empty()) {
    const long written = syscall(SYS_write, fd, text.data(), text.size());
    if (written <= 0) break;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  syscall(SYS_close, fd);
#else
  if (std::FILE* out = std::fopen(file.c_str(), "ab")) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
  }
#endif
}

void LayOutSdkLibraries(const fs::path& plugins, bool offerFindSymbol) {
  const fs::path host = HostLibraryFile();
  const fs::path xplm = offerFindSymbol ? host : host.parent_path() / "libxplm_without_find_symbol.so";
  for (const auto& [name, target] : {std::pair{"XPLM_64.so", xplm}, std::pair{"XPWidgets_64.so", host}}) {
    std::error_code ignored;
    fs::remove(plugins / name, ignored);
    if (!target.empty()) fs::create_symlink(target, plugins / name, ignored);
  }
}

// The plugin binds its SDK calls to the host library already in the process; the file faults and the
// debugger capture are interposed at link time (file_interpose.cpp).
void* LoadPlugin(const fs::path& file, const fs::path& /*plugins*/, std::string* error) {
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr && error != nullptr) {
    const char* why = dlerror();
    *error = "cannot load " + file.string() + ": " + (why != nullptr ? why : "unknown error");
  }
  return library;
}

void* PluginSymbol(void* plugin, const char* name) {
  return plugin != nullptr ? dlsym(plugin, name) : nullptr;
}

void UnloadPlugin(void* plugin) {
  if (plugin != nullptr) dlclose(plugin);
}

void* HostSymbol(const char* name) {
  Dl_info self{};
  if (dladdr(reinterpret_cast<void*>(&HostSymbol), &self) == 0 || self.dli_fname == nullptr) return nullptr;
  void* library = dlopen(self.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  if (library == nullptr) return nullptr;
  void* symbol = dlsym(library, name);
  // dlsym also searches the library's dependencies; what they define is not the host's to give.
  Dl_info where{};
  const bool ours = symbol != nullptr && dladdr(symbol, &where) != 0 && where.dli_fbase == self.dli_fbase;
  dlclose(library);
  return ours ? symbol : nullptr;
}

std::string LegacyPathText(const fs::path& path) {
  return path.string();
}

bool SetTrackerRegistryValue(const std::string& folder, std::string* error) {
  const fs::path value = TrackerScript::RegistryValueFile();
  if (value.empty()) return Failed(error, "no registry stand-in (TALVENOR_REGISTRY is not set)");
  std::error_code ec;
  fs::create_directories(value.parent_path(), ec);
  if (ec) return Failed(error, "cannot create " + value.parent_path().string() + ": " + ec.message());
  std::string text = folder;
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return ReplaceFileContents(value, text, error);
}

bool SetTrackerRegistryKind(const std::string& kind, std::string* error) {
  const fs::path value = TrackerScript::RegistryValueFile();
  std::error_code ec;
  fs::create_directories(value.parent_path(), ec);
  const std::string bytes = TrackerRegistryBytes(kind);
  std::ofstream out(value, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return out ? true : Failed(error, "cannot write " + value.string());
}

void RemoveTrackerRegistryValue() {
  const fs::path value = TrackerScript::RegistryValueFile();
  std::error_code ignored;
  if (value.empty()) return;
  fs::remove(value, ignored);
  fs::remove(value.parent_path(), ignored);  // the key too, when nothing else is in it
}

bool HideExports(std::vector<char>& image, const std::set<std::string>& names, std::string* error) {
  return HideElfExports(image, names, error);
}

}  // namespace platform
}  // namespace sim
