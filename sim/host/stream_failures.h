// Streams whose writes the full disk cut short, with the error their flush and close report, and the stdio
// write that cuts them short: shared by the POSIX interposer (file_interpose.cpp) and the Windows import
// hooks (file_hooks_win32.cpp). Each of them keeps its own table.
//
// Fixed storage: a table is used before and after the program's static objects live.
#pragma once

#include <array>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>

#include "file_faults.h"

namespace sim {

struct StreamFailure {
  FILE* stream = nullptr;
  int error = 0;
  bool reported = false;  // the flush or close has told the plugin; ferror says so from then on
};

// MUTEX is the lock the table is guarded by (std::mutex on POSIX, sim::platform::Mutex on Windows).
template <typename Mutex>
class StreamFailures {
 public:
  static constexpr std::size_t kTrackedStreams = 64;

  // Records that STREAM's writes failed with ERROR (a stream already recorded keeps its error, and becomes
  // reported if REPORTED). False when the table is full.
  bool markFailed(FILE* stream, int error, bool reported) {
    std::lock_guard lock(mutex_);
    StreamFailure* freeSlot = nullptr;
    for (StreamFailure& failure : failures_) {
      if (failure.stream == stream) {
        failure.reported = failure.reported || reported;
        return true;
      }
      if (failure.stream == nullptr && freeSlot == nullptr) freeSlot = &failure;
    }
    if (freeSlot == nullptr) return false;
    *freeSlot = {stream, error, reported};
    count_.fetch_add(1, std::memory_order_release);
    return true;
  }

  // The failure recorded for STREAM (error 0: none); REPORT marks it as told to the plugin, FORGET drops it.
  StreamFailure failureOf(FILE* stream, bool report, bool forget) {
    if (count_.load(std::memory_order_acquire) == 0 || stream == nullptr) return {};
    std::lock_guard lock(mutex_);
    for (StreamFailure& failure : failures_) {
      if (failure.stream != stream) continue;
      const StreamFailure found = failure;
      if (report) failure.reported = true;
      if (forget) {
        failure = {};
        count_.fetch_sub(1, std::memory_order_release);
      }
      return found;
    }
    return {};
  }

  // A flush of all streams: marks every recorded failure as told to the plugin. False when there is none.
  bool reportAll() {
    if (count_.load(std::memory_order_acquire) == 0) return false;
    std::lock_guard lock(mutex_);
    for (StreamFailure& failure : failures_) {
      if (failure.stream != nullptr) failure.reported = true;
    }
    return true;
  }

  // A stdio write of SIZE bytes to STREAM on a limited disk, the part FAULTS allows passed to NEXT (the C
  // library's fwrite, or null). Returns how many bytes to report as written, or -1 to hand the whole write to
  // the C library unchanged.
  template <typename Fwrite>
  long long budgetedWrite(FileFaults& faults, Fwrite next, FILE* stream, const void* data, std::size_t size) {
    const std::uint64_t allowed = faults.allowWrite(size);
    if (allowed == size) return -1;
    if (allowed > 0) {
      const std::size_t written = next != nullptr ? next(data, 1, allowed, stream) : 0;
      if (written < allowed) faults.refund(allowed - written);
    }
    // A write that fits in the stream's buffer would seem to succeed and fail at the flush.
    if (size <= BUFSIZ && markFailed(stream, ENOSPC, false)) return static_cast<long long>(size);
    // A larger one goes to the disk at once and fails there; the stream keeps the error.
    markFailed(stream, ENOSPC, true);
    errno = ENOSPC;
    return static_cast<long long>(allowed);
  }

  // What fflush(stream) reports, given what the C library's flush returned: a recorded failure turns it into
  // EOF with the failure's error (ENOSPC for a flush of all streams).
  int flushResult(FILE* stream, int result) {
    if (stream == nullptr) {
      if (!reportAll()) return result;
      errno = ENOSPC;
      return EOF;
    }
    const StreamFailure failure = failureOf(stream, true, false);
    if (failure.error == 0) return result;
    errno = failure.error;
    return EOF;
  }

 private:
  Mutex mutex_;
  std::array<StreamFailure, kTrackedStreams> failures_{};
  std::atomic<int> count_{0};
};

}  // namespace sim
