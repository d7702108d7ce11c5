// Streams whose writes the full disk cut short, with the error their flush and close report, and the stdio
// writes that cut them short: shared by the POSIX interposer (file_interpose.cpp) and the Windows import
// hooks (file_hooks_win32.cpp). Each of them keeps its own table.
//
// Fixed storage: a table is used before and after the program's static objects live.
#pragma once

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "file_faults.h"

namespace sim {

struct StreamFailure {
  FILE* stream = nullptr;
  int error = 0;
  bool reported = false;  // the flush or close has told the plugin; ferror says so from then on
};

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
      faults.refund(allowed, static_cast<long long>(written));
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
    if (stream == nullptr) return reportAll() ? Reported(ENOSPC, result) : result;
    return Reported(failureOf(stream, true, false).error, result);
  }

  // What fclose(stream) reports, CLOSE being the C library's (or null): the same as a flush, the failure
  // looked up before the stream is gone.
  int closeResult(FILE* stream, int (*close)(FILE*)) {
    const int error = failureOf(stream, true, true).error;
    return Reported(error, close != nullptr ? close(stream) : EOF);
  }

  // What ferror(stream) reports, given the C library's RESULT: set too once a failure was reported.
  int errorResult(FILE* stream, int result) {
    if (result != 0) return result;
    return failureOf(stream, false, false).reported ? 1 : 0;
  }

 private:
  platform::Mutex mutex_;
  std::array<StreamFailure, kTrackedStreams> failures_{};
  std::atomic<int> count_{0};

  // RESULT, or EOF with ERROR in errno when there is one.
  static int Reported(int error, int result) {
    if (error == 0) return result;
    errno = error;
    return EOF;
  }
};

// A formatted stdio write to STREAM, formatted here and handed to WRITE(text, size) as one block. WRITE
// returns how many bytes to report as written, or -1 to have FWRITE (the C library's, or null) write them
// all. The format is the caller's, checked where the caller's own call is.
template <typename Write, typename Fwrite>
[[gnu::format(printf, 2, 0)]] int FormattedWrite(FILE* stream, const char* format, va_list arguments,
                                                 Write write, Fwrite fwrite) {
  va_list copy;
  va_copy(copy, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length < 0) return length;
  const std::size_t size = static_cast<std::size_t>(length);
  std::string text;
  try {
    text.resize(size + 1);
  } catch (...) {
    errno = ENOMEM;
    return -1;
  }
  va_copy(copy, arguments);
  std::vsnprintf(text.data(), text.size(), format, copy);
  va_end(copy);
  long long written = write(text.data(), size);
  if (written < 0)
    written = fwrite != nullptr ? static_cast<long long>(fwrite(text.data(), 1, size, stream)) : 0;
  return written == static_cast<long long>(size) ? length : -1;
}

}  // namespace sim
