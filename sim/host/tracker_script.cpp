#include "tracker_script.h"

#include <elf.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "host.h"

namespace fs = std::filesystem;

namespace sim {
namespace {

constexpr const char* kLibraryName = "libnpclient_sim.so";
constexpr const char* kInstalledName = "NPClient64.dll";

bool Failed(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
  return false;
}

// Reads a trivially copyable record at OFFSET of IMAGE, when it lies wholly inside.
template <typename T>
bool ReadAt(const std::vector<char>& image, std::uint64_t offset, T* out) {
  if (offset > image.size() || image.size() - offset < sizeof(T)) return false;
  std::memcpy(out, image.data() + offset, sizeof(T));
  return true;
}

bool InRange(const std::vector<char>& image, std::uint64_t offset, std::uint64_t size) {
  return offset <= image.size() && size <= image.size() - offset;
}

bool ReadFile(const fs::path& file, std::vector<char>* out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes a new file beside TARGET and renames it over TARGET, so that a mapped old copy is left alone.
bool ReplaceFile(const fs::path& target, const char* data, std::size_t size, std::string* error) {
  const fs::path temporary = target.parent_path() / (target.filename().string() + ".new");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    out.close();
    if (!out) return Failed(error, "cannot write " + temporary.string());
  }
  std::error_code ec;
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return Failed(error, "cannot replace " + target.string());
  }
  return true;
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

namespace {

bool LayOutLibrary(const fs::path& folder, const std::set<std::string>& missing, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return Failed(error, "cannot create " + folder.string() + ": " + ec.message());
  const fs::path source = HostLibraryFolder() / kLibraryName;
  std::vector<char> image;
  if (!ReadFile(source, &image)) return Failed(error, "cannot read " + source.string());
  if (!HideElfExports(image, missing, error)) return false;
  const fs::path library = folder / kInstalledName;
  if (!ReplaceFile(library, image.data(), image.size(), error)) return false;
  fs::permissions(library,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  ec);
  return true;
}

}  // namespace

fs::path RegistryRoot() {
  const char* configured = std::getenv("TALVENOR_REGISTRY");
  if (configured != nullptr && *configured != '\0') return fs::path(configured);
  if (const Host* host = Host::current()) return host->root() / "registry";
  return {};
}

TrackerScript::TrackerScript(Host& host) : host_(host) {}
TrackerScript::~TrackerScript() = default;

const std::vector<std::string>& TrackerScript::entryPoints() {
  static const std::vector<std::string> names{"NP_RegisterWindowHandle",
                                              "NP_UnregisterWindowHandle",
                                              "NP_RegisterProgramProfileID",
                                              "NP_QueryVersion",
                                              "NP_RequestData",
                                              "NP_GetData",
                                              "NP_StartCursor",
                                              "NP_StopCursor",
                                              "NP_ReCenter",
                                              "NP_StartDataTransmission",
                                              "NP_StopDataTransmission"};
  return names;
}

fs::path TrackerScript::RegistryValueFile() {
  const fs::path root = RegistryRoot();
  if (root.empty()) return {};
  return root / "HKEY_CURRENT_USER" / "Software" / "NaturalPoint" / "NATURALPOINT" / "NPClient Location" /
         "Path";
}

int TrackerScript::resultOf(const std::string& entry) const {
  const auto found = results_.find(entry);
  return found == results_.end() ? 0 : found->second;
}

bool TrackerScript::installLibrary(const std::string& dir, std::string* error) {
  const fs::path folder = host_.resolve(dir).lexically_normal();
  if (!LayOutLibrary(folder, missing_, error)) return false;
  dir_ = dir;
  const fs::path value = RegistryValueFile();
  if (value.empty()) return Failed(error, "no registry stand-in (TALVENOR_REGISTRY is not set)");
  std::error_code ec;
  fs::create_directories(value.parent_path(), ec);
  if (ec) return Failed(error, "cannot create " + value.parent_path().string() + ": " + ec.message());
  std::string text = folder.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return ReplaceFile(value, text.data(), text.size(), error);
}

void TrackerScript::removeRegistryEntry() {
  const fs::path value = RegistryValueFile();
  std::error_code ignored;
  if (!value.empty()) fs::remove(value, ignored);
}

bool TrackerScript::setMissing(const std::string& entry, std::string* error) {
  const auto& known = entryPoints();
  if (std::find(known.begin(), known.end(), entry) == known.end()) {
    return Failed(error, "not an entry point of the tracker client: " + entry);
  }
  missing_.insert(entry);
  // The registry entry stays as it is (a scenario may have removed it).
  return dir_ ? LayOutLibrary(host_.resolve(*dir_).lexically_normal(), missing_, error) : true;
}

}  // namespace sim
