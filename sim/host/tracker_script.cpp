#include "tracker_script.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "host.h"
#include "platform.h"

namespace fs = std::filesystem;

namespace sim {
namespace {

bool ReadFile(const fs::path& file, std::vector<char>* out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool LayOutLibrary(const fs::path& folder, const std::set<std::string>& missing, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return Failed(error, "cannot create " + folder.string() + ": " + ec.message());
  const fs::path source = HostLibraryFolder() / platform::kTrackerLibraryFileName;
  std::vector<char> image;
  if (!ReadFile(source, &image)) return Failed(error, "cannot read " + source.string());
  if (!platform::HideExports(image, missing, error)) return false;
  const fs::path library = folder / platform::kTrackerLibraryInstalledName;
  if (!ReplaceFileContents(library, {image.data(), image.size()}, error)) return false;
  fs::permissions(library,
                  fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                      fs::perms::others_read | fs::perms::others_exec,
                  ec);
  return true;
}

}  // namespace

bool Failed(std::string* error, std::string message) {
  if (error != nullptr) *error = std::move(message);
  return false;
}

bool ReplaceFileContents(const fs::path& target, std::string_view bytes, std::string* error) {
  const fs::path temporary = target.parent_path() / (target.filename().string() + ".new");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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

fs::path RegistryRoot() {
  const char* configured = std::getenv("TALVENOR_REGISTRY");
  if (configured != nullptr && *configured != '\0') return fs::path(configured);
  if (const Host* host = Host::current()) return host->root() / "registry";
  return {};
}

TrackerScript::TrackerScript(Host& host) : host_(host) {}
TrackerScript::~TrackerScript() = default;

// The script, and how many calls it had recorded (a session only adds to them).
struct TrackerScript::Saved {
  TrackerFrame frame;
  std::map<std::string, int> results;
  std::set<std::string> missing;
  std::optional<std::string> dir;
  std::uint16_t version = 0;
  std::size_t calls = 0;
  std::optional<std::uint64_t> windowHandle;
};

std::shared_ptr<const TrackerScript::Saved> TrackerScript::save() const {
  return std::make_shared<const Saved>(
      Saved{frame_, results_, missing_, dir_, version_, calls_.size(), windowHandle_});
}

void TrackerScript::restore(const Saved& saved) {
  frame_ = saved.frame;
  if (results_ != saved.results) results_ = saved.results;
  if (missing_ != saved.missing) missing_ = saved.missing;
  if (dir_ != saved.dir) dir_ = saved.dir;
  version_ = saved.version;
  if (calls_.size() > saved.calls) calls_.resize(saved.calls);
  windowHandle_ = saved.windowHandle;
}

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
  return platform::SetTrackerRegistryValue(platform::Utf8Text(folder), error);
}

namespace platform {

std::string TrackerRegistryBytes(const std::string& kind) {
  if (kind == "long") return std::string(4096, 'a');
  if (kind == "binary") return std::string("C:\\\0\xff\x01", 6);
  if (kind == "number") return std::string("\x01\0\0\0", 4);
  return {};
}

}  // namespace platform

bool TrackerScript::setRegistryValue(const std::string& kind, std::string* error) {
  if (kind != "empty" && kind != "long" && kind != "binary" && kind != "number") {
    return Failed(error, "no such kind of registry value: " + kind);
  }
  return platform::SetTrackerRegistryKind(kind, error);
}

void TrackerScript::removeRegistryEntry() {
  platform::RemoveTrackerRegistryValue();
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
