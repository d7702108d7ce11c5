// File faults that a scenario imposes on the plugin: read-only folders and a full disk.
//
// The host refuses the plugin's file operations at the C library's functions (fopen, open, rename, remove,
// fwrite, ...), which talvenor-sim and the test programs interpose (file_interpose.cpp); on Windows at the
// plugin's imports of the C runtime and of the system's file functions (file_hooks_win32.cpp). Only calls
// made while plugin code runs (Host::inPluginCall) are affected, so root cannot bypass them and the host's
// own files are never refused.
//
// Paths are compared lexically, as UTF-8 (a narrow path is read as the C library reads it: on Windows in the
// ANSI code page): absolute, normalised ("." and ".." folded), component by component, without
// regard to case on Windows; links are not followed, so the plugin must reach a folder through the simulator
// folder's own path (as it does with XPLMGetSystemPath).
//
// A full disk counts the bytes the plugin writes to regular files (write(2), and stdio's fwrite, fputs,
// fputc, putc and fprintf family). Writes through stdio that overrun the budget behave as buffered writes
// on a full disk do: a small write seems to succeed, the bytes that fitted reach the file, and the loss is
// reported when the stream is flushed or closed (fflush and fclose return EOF with ENOSPC, ferror is set);
// a write larger than a stdio buffer fails at once with a short count.
//
// Kill points stand for the simulator dying in the middle of the plugin's file work (a crash, the task
// manager): every write (write(2) and the stdio writes), flush, close and rename the plugin makes on a file
// of a watched folder is one, numbered from 1. At the armed one the process dies by SIGKILL inside the call,
// after a share of its work got done: that share of the bytes which were on their way to the file (those the
// stream held and those the call hands over; for a formatted write only the former), or for a rename
// whether it happened. Only the POSIX host has them (file_interpose.cpp); RunUntilKilled runs the plugin in
// a child process for it.
//
// Served files spare a fuzz session the disk when it gives the plugin new file contents before every input:
// the plugin's fopen of a served file for reading gets a stream over its bytes held in memory (or ENOENT for
// a file served as absent), and the disk holds no copy of it, so no other call sees stale bytes. Such a
// stream has no descriptor (fileno gives -1). The plugin's first call that may change a file, or that opens
// one with open(2), writes every served file to the disk and ends the serving first, so the plugin never
// sees memory and disk differ. Where the plugin's stdio reads are not interposed (Windows, a C library
// other than glibc), serving a file writes it to the disk.
#pragma once

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform.h"

namespace sim {

class Host;

// Where the process dies: in kill point CALL, after REACHED (0 to 1) of the call's work.
struct KillPoint {
  std::uint64_t call = 0;
  double reached = 0;
};

class FileFaults {
 public:
  explicit FileFaults(Host& host);
  ~FileFaults();

  // PATH relative to the simulator folder (or already resolved, absolute); the latest setting for a folder
  // overrides those made below it, so `writable` on a subfolder of a read-only folder opens just that
  // subfolder.
  void setReadOnly(const std::filesystem::path& path, bool readOnly);
  bool isReadOnly(const std::filesystem::path& path) const;  // does a create/write/rename/remove of it fail?
  // After BYTES more bytes written by the plugin, every write fails with ENOSPC; nullopt ends it.
  void setDiskFull(std::optional<std::uint64_t> bytes);
  // Accounts for a write of `size` bytes; returns how many may be written (less than size once full).
  std::uint64_t allowWrite(std::uint64_t size);
  // Gives back what a write granted GRANTED bytes by allowWrite did not use: it wrote USED (negative: none).
  void refund(std::uint64_t granted, long long used);
  // A write of SIZE bytes to a file on a limited disk, WRITE(count) writing the first COUNT of them: fails
  // with ENOSPC once the disk is full, else writes what fits and returns what WRITE returned.
  template <typename Write>
  auto limitedWrite(std::uint64_t size, Write write) {
    const std::uint64_t allowed = allowWrite(size);
    if (allowed == 0) {
      errno = ENOSPC;
      return decltype(write(allowed))(-1);
    }
    const auto written = write(allowed);
    refund(allowed, static_cast<long long>(written));
    return written;
  }
  bool diskFull() const;  // a write now fails (the budget is used up)
  bool limited() const;   // a disk-full budget is in force
  // Attempts by the plugin to open or create a file (fopen, freopen, open, openat, creat and their 64-bit
  // forms), refused ones included.
  std::uint64_t opens() const { return opens_.load(std::memory_order_relaxed); }
  void countOpen() { opens_.fetch_add(1, std::memory_order_relaxed); }
  void setOpens(std::uint64_t opens) { opens_.store(opens, std::memory_order_relaxed); }
  // The plugin's calls that may change the file system (an open to write or create, a create, rename,
  // remove or folder change), refused ones included; writes to a file it already holds open are not among
  // them.
  std::uint64_t changes() const { return changes_.load(std::memory_order_relaxed); }
  void countChange() { changes_.fetch_add(1, std::memory_order_relaxed); }

  // Serves PATH (absolute) with BYTES, or as absent when BYTES is null.
  void serve(const std::filesystem::path& path, const std::string_view* bytes);
  // What the plugin's fopen of PATH for reading gets when PATH is served: its bytes, null when absent.
  std::optional<std::shared_ptr<const std::string>> served(const char* path) const;
  void endServing();             // writes every served file to the disk
  static void interposeReads();  // the interposer serves the plugin's fopen

  // Counts the kill points in FOLDER (relative to the simulator folder, or absolute) from 0, armed with
  // POINT when given; an empty FOLDER stops counting.
  void watchKillPoints(const std::filesystem::path& folder, std::optional<KillPoint> point);
  bool watchingKillPoints() const { return watching_.load(std::memory_order_relaxed); }
  std::uint64_t killPoints() const;  // counted since watchKillPoints
  // Counts a call on the file PATH that does UNITS units of work (bytes; a rename is one) when it is a kill
  // point; when it is the armed one, how many of them to do before dying.
  std::optional<std::uint64_t> countKillPoint(const std::filesystem::path& path, std::uint64_t units);

 private:
  std::string resolve(const std::filesystem::path& path) const;  // normalised, from the simulator folder

  Host& host_;
  mutable platform::Mutex mutex_;        // the plugin may write from its own threads
  std::map<std::string, bool> entries_;  // normalised folder -> read-only; the longest match decides
  std::optional<std::uint64_t> budget_;
  struct Served {
    std::string normal;
    // Rewritten in place, as a file is, so that a stream still open reads what it holds now, and so that
    // serving new bytes allocates nothing once the file has been as long.
    std::shared_ptr<std::string> bytes;
    bool exists = false;
  };
  std::map<std::string, Served, std::less<>> served_;  // by the path as it was given
  std::atomic<bool> serving_{false};
  std::atomic<std::uint64_t> opens_{0};
  std::atomic<std::uint64_t> changes_{0};
  std::atomic<bool> watching_{false};
  std::string killFolder_;  // normalised
  std::optional<KillPoint> killPoint_;
  std::uint64_t killPoints_ = 0;
};

#ifndef _WIN32
// How a child process that RunUntilKilled started ended.
enum class ChildEnd { Killed, Finished, Failed };  // by its kill point; ACTION returned; anything else

// Runs ACTION in a child process, a copy of this one as it stands (the host, the plugin and all their
// state), with the kill points of FOLDER counted and POINT armed, and waits for the child: Finished when
// ACTION returned without reaching POINT. Nothing the child does reaches this process except through files.
ChildEnd RunUntilKilled(Host& host, const std::filesystem::path& folder, KillPoint point,
                        const std::function<void()>& action);
#endif

}  // namespace sim
