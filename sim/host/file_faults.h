// File faults that a scenario imposes on the plugin: read-only folders and a full disk.
//
// The host refuses the plugin's file operations at the C library's functions (fopen, open, rename, remove,
// fwrite, ...), which talvenor-sim and the test programs interpose (file_interpose.cpp). Only calls made
// while plugin code runs (Host::inPluginCall) are affected, so root cannot bypass them and the host's own
// files are never refused.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class Host;

class FileFaults {
 public:
  explicit FileFaults(Host& host);
  ~FileFaults();

  void setReadOnly(const std::filesystem::path& path, bool readOnly);  // path below the simulator folder
  bool isReadOnly(const char* path) const;  // does a create/write/rename/remove of this path fail?
  // After BYTES more bytes written by the plugin, every write fails with ENOSPC; nullopt ends it.
  void setDiskFull(std::optional<std::uint64_t> bytes);
  // Accounts for a write of `size` bytes; returns how many may be written (less than size once full).
  std::uint64_t allowWrite(std::uint64_t size);
  bool diskFull() const;

 private:
  Host& host_;
  std::vector<std::string> readOnly_;  // absolute, normalised prefixes
  std::optional<std::uint64_t> budget_;
};

// Captures what the plugin writes to its debugger output (on POSIX: standard error, while plugin code runs).
class DebugCapture {
 public:
  void append(const char* data, std::size_t size) { text_.append(data, size); }
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }

 private:
  std::string text_;
};

}  // namespace sim
