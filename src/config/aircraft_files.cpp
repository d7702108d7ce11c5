#include "config/aircraft_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "XPLMPlanes.h"
#include "XPLMUtilities.h"
#include "config/bounded_text.h"
#include "config/log.h"
#include "os/os.h"

namespace talvenor {
namespace {

// The SDK asks for 512 characters for an aircraft path; a path that fills them may have been cut.
constexpr std::size_t kSdkPathLimit = 511;
constexpr char kTemporarySuffix[] = ".tmp";

void LogPathProblem(const char* fileName) {
  char text[kLogMessageSize] = "The aircraft's path is not usable for '";
  std::strncat(text, fileName, sizeof text - std::strlen(text) - 1);
  std::strncat(text, "'\n", sizeof text - std::strlen(text) - 1);
  LogMessage(text);
}

// A save that did not happen is always logged, with the system's reason: the pilot's changes are only in
// memory, and the file on disk is the one of the last good save.
int SaveFailed(const char* fileName, int error) {
  char text[kLogMessageSize];
  (void)std::snprintf(text, sizeof text, "Could not save '%s': %s. The file on disk is unchanged.\n",
                      fileName, error != 0 ? std::strerror(error) : "the aircraft's path is not usable");
  LogAlways(text);
  return 0;
}

// Clears errno, runs STEP and keeps the reason of the first step that fails in ERROR.
template <typename Step>
bool Checked(int& error, Step step) {
  errno = 0;
  const bool done = step();
  if (!done && error == 0) error = errno != 0 ? errno : EIO;
  return done;
}

}  // namespace

bool BuildAircraftFilePath(const char* fileName, char (&path)[kAircraftPathSize]) {
  path[0] = '\0';
  if (fileName == nullptr) return false;
  char name[256] = {};
  char folder[kAircraftPathSize] = {};
  XPLMGetNthAircraftModel(0, name, folder);
  folder[kAircraftPathSize - 1] = '\0';
  const std::size_t fullLength = std::strlen(folder);
  // No separator: no folder to put the file in (the text would be taken for a folder of its own).
  const bool usable =
      fullLength > 0 && fullLength < kSdkPathLimit && XPLMExtractFileAndPath(folder) != folder;
  if (!usable || ComposeHostPath(path, sizeof path, "", {folder, fileName}) != HostPath::kUsable) {
    path[0] = '\0';
    LogPathProblem(fileName);
    return false;
  }
  return true;
}

bool ReadAircraftFile(const char* fileName, void* bytes, std::size_t size, std::size_t& count) {
  count = 0;
  char path[kAircraftPathSize];
  if (!BuildAircraftFilePath(fileName, path)) return false;
  std::FILE* file = os::OpenFile(path, "rb", HostPathText());
  if (file == nullptr) return false;
  count = std::fread(bytes, 1, size, file);
  const bool failed = std::ferror(file) != 0;
  (void)std::fclose(file);  // what was read is already checked
  return !failed;
}

int SaveAircraftFile(const char* fileName, const void* bytes, std::size_t size) {
  char path[kAircraftPathSize];
  if (!BuildAircraftFilePath(fileName, path)) return SaveFailed(fileName, 0);
  char temporary[kAircraftPathSize];
  std::memcpy(temporary, path, sizeof path);
  std::size_t length = std::strlen(temporary);
  if (!AppendBounded(temporary, sizeof temporary, length, kTemporarySuffix)) {
    return SaveFailed(fileName, ENAMETOOLONG);
  }

  int error = 0;
  std::FILE* file = nullptr;
  const os::PathText text = HostPathText();
  if (!Checked(error, [&] { return (file = os::OpenFile(temporary, "wb", text)) != nullptr; })) {
    return SaveFailed(fileName, error);
  }
  bool written = Checked(error, [&] { return std::fwrite(bytes, 1, size, file) == size; });
  // A full disk may show only when the buffered bytes are flushed or the file is closed.
  written = Checked(error, [&] { return os::FlushToDisk(file); }) && written;
  written = Checked(error, [&] { return std::fclose(file) == 0; }) && written;
  if (!written || !Checked(error, [&] { return os::ReplaceFileAtomically(temporary, path, text); })) {
    (void)os::RemoveFile(temporary, text);  // nothing more to do when even that fails
    return SaveFailed(fileName, error);
  }
  return 1;
}

}  // namespace talvenor
