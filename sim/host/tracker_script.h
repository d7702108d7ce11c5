// Script of the substitute tracker client library (NPClient64), set by tests and scenarios.
//
// The substitute library (sim/tracker) answers the NP_* entry points from this script: NP_GetData copies the
// current frame; every entry point answers its configured result (0 unless `fail` set one); NP_QueryVersion
// writes `version`. A missing entry point is removed from the library's exports when the library is laid
// out, so the plugin's lookup of it fails as with a real library that lacks it.
//
// The copy is laid out by replacing the file (a new file renamed over the old one), so a copy the plugin
// has already loaded stays intact and keeps the exports it had: the platform loader hands out the loaded
// copy again for the same path as long as it is loaded. A change of the missing entries therefore reaches a
// plugin that has not loaded the library yet, or one that unloads it and loads it again.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class Host;

// The 80-byte frame of the tracker client: status, frame number, then floats.
struct TrackerFrame {
  std::uint16_t status = 0;
  std::uint16_t number = 0;
  std::uint32_t flags = 0;
  float roll = 0, pitch = 0, heading = 0, x = 0, y = 0, z = 0;
  float rawRoll = 0, rawPitch = 0, rawHeading = 0, rawX = 0, rawY = 0, rawZ = 0;
  float deltaX = 0, deltaY = 0, deltaZ = 0, smoothX = 0, smoothY = 0, smoothZ = 0;
};
static_assert(sizeof(TrackerFrame) == 80);

class TrackerScript {
 public:
  explicit TrackerScript(Host& host);
  ~TrackerScript();

  // Lays the substitute library out as DIR/NPClient64.dll (NPClient64.so on POSIX) (DIR relative to the
  // simulator folder) and points the registry entry at DIR (its absolute path, without a trailing separator).
  // Entries marked missing are left out of that copy's exports.
  bool installLibrary(const std::string& dir, std::string* error);
  void removeRegistryEntry();  // as `no-tracker`
  // The registry value made something else than a folder's text (platform.h, SetTrackerRegistryKind).
  bool setRegistryValue(const std::string& kind, std::string* error);
  void setFrame(const TrackerFrame& frame) { frame_ = frame; }
  const TrackerFrame& frame() const { return frame_; }
  void fail(const std::string& entry, int result) { results_[entry] = result; }
  // Re-lays out an installed library; false (with a message) when ENTRY is not an entry point or the
  // copy cannot be written.
  bool setMissing(const std::string& entry, std::string* error = nullptr);
  void setVersion(std::uint16_t version) { version_ = version; }

  // Called by the substitute library.
  int resultOf(const std::string& entry) const;
  std::uint16_t version() const { return version_; }
  std::vector<std::string> calls() const { return calls_; }  // entry points called so far, in order
  void recordCall(const std::string& entry) { calls_.push_back(entry); }
  // The window handle of the last NP_RegisterWindowHandle, whatever it answered; none before the first.
  void recordWindowHandle(std::uint64_t handle) { windowHandle_ = handle; }
  std::optional<std::uint64_t> windowHandle() const { return windowHandle_; }

  // What a host checkpoint keeps of them, and putting it back (host.h, Host::Checkpoint).
  struct Saved;
  std::shared_ptr<const Saved> save() const;
  void restore(const Saved& saved);
  // Every entry point of the client library, in the order the plugin resolves them.
  static const std::vector<std::string>& entryPoints();
  // The registry value file that names the library's folder.
  static std::filesystem::path RegistryValueFile();

 private:
  Host& host_;
  TrackerFrame frame_{};
  std::map<std::string, int> results_;
  std::set<std::string> missing_;
  std::optional<std::string> dir_;
  std::uint16_t version_ = 0x0504;
  std::vector<std::string> calls_;
  std::optional<std::uint64_t> windowHandle_;
};

// The registry stand-in on POSIX (on Windows the entry is a real value of the registry): the value NAME of
// key A\B\C under HKEY_CURRENT_USER is the file ROOT/HKEY_CURRENT_USER/A/B/C/NAME holding the value's bytes.
// ROOT is $TALVENOR_REGISTRY; the host sets it to <simulator folder>/registry, so tests never touch the
// user's home. Unset: the current host's <simulator folder>/registry; empty without a host.
std::filesystem::path RegistryRoot();

// False, with MESSAGE in *ERROR when it is given.
bool Failed(std::string* error, std::string message);
// Writes BYTES to a new file beside TARGET and renames it over TARGET, so that a reader never sees half of
// them and a copy already mapped is left alone.
bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes, std::string* error);

// Reads a trivially copyable record at OFFSET of the library IMAGE, when it lies wholly inside.
template <typename T>
bool ReadAt(const std::vector<char>& image, std::uint64_t offset, T* out) {
  if (offset > image.size() || image.size() - offset < sizeof(T)) return false;
  std::memcpy(out, image.data() + offset, sizeof(T));
  return true;
}

#ifndef _WIN32
// Renames the exported symbols NAMES of the ELF shared library IMAGE in place (same length, first letter
// changed), so that a lookup by the old name fails. False with a message when IMAGE is not a well-formed
// 64-bit ELF file or one of NAMES is not among its exports.
bool HideElfExports(std::vector<char>& image, const std::set<std::string>& names, std::string* error);
#endif

}  // namespace sim
