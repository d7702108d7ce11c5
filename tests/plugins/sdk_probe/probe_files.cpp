// Files in the plugin folder written through stdio (so file faults show), the path functions, and the
// debugger output (standard error on POSIX, OutputDebugString on Windows).
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#if IBM
#include <windows.h>
#endif

#include "XPLMPlanes.h"
#include "XPLMPlugin.h"
#include "probe.h"

namespace probe {
namespace {

// Writes the whole text and closes the file; false with errno kept when any step fails.
bool WriteWhole(const char* path, const char* text) {
  errno = 0;
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  const std::size_t length = std::strlen(text);
  bool ok = std::fwrite(text, 1, length, file) == length;
  int error = ok ? 0 : errno;
  if (std::fflush(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  errno = error;
  return ok;
}

struct Paths {
  char system[kPathSize] = {};
  char file[512] = {};
  char aircraft[kPathSize] = {};
};

// What the path functions report, terminated whatever they wrote; published as data datarefs too.
void ReadPaths(Paths& paths) {
  XPLMGetSystemPath(paths.system);
  paths.system[sizeof paths.system - 1] = '\0';
  XPLMGetNthAircraftModel(0, paths.file, paths.aircraft);
  paths.file[sizeof paths.file - 1] = '\0';
  paths.aircraft[sizeof paths.aircraft - 1] = '\0';
  SetData(State().systemPath, paths.system);
  SetData(State().aircraftPath, paths.aircraft);
}

// Puts FROM in the place of TO. On Windows rename() refuses an existing target, so the system's replacing
// move is used, its error told as errno.
bool Replace(const char* from, const char* to) {
#if IBM
  if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0) return true;
  const DWORD error = GetLastError();
  errno = error == ERROR_DISK_FULL ? ENOSPC : error == ERROR_FILE_NOT_FOUND ? ENOENT : EACCES;
  return false;
#else
  return std::rename(from, to) == 0;
#endif
}

void Record(int& result, bool ok) {
  Probe& p = State();
  result = ok ? 1 : 0;
  p.fileErrno = ok ? 0 : errno;
}

}  // namespace

bool Compose(char* out, std::size_t size, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(out, size, format, args);
  va_end(args);
  if (n < 0 || static_cast<std::size_t>(n) >= size) {
    if (size > 0) out[0] = '\0';
    return false;
  }
  return true;
}

bool PluginFolder(char* out, std::size_t size) {
  char system[kPathSize] = {};
  XPLMGetSystemPath(system);
  system[sizeof system - 1] = '\0';
  const char* sep = XPLMGetDirectorySeparator();
  return Compose(out, size, "%sResources%splugins%ssdk_probe%s", system, sep, sep, sep);
}

bool PluginFile(const char* name, char* out, std::size_t size) {
  char folder[kPathSize];
  return PluginFolder(folder, sizeof folder) && Compose(out, size, "%s%s", folder, name);
}

void Debug(const char* format, ...) {
  char line[512];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line - 1, format, args);
  va_end(args);
#if IBM
  // The debugger output of a Windows program.
  std::strncat(line, "\n", sizeof line - std::strlen(line) - 1);
  OutputDebugStringA(line);
#else
  std::fputs(line, stderr);
  std::fputs("\n", stderr);
#endif
}

void WriteDebugLine() {
  Debug("SDK Probe: debug line %d", ++State().debugLines);
}

void WriteFile() {
  Probe& p = State();
  char path[kPathSize];
  if (!PluginFile("output.txt", path, sizeof path)) {
    errno = ENAMETOOLONG;
    Record(p.fileResult, false);
    return;
  }
  ++p.fileWrites;
  char text[128];
  Compose(text, sizeof text, "probe write %d\nprobe line 2\nprobe line 3\nprobe line 4\n", p.fileWrites);
  Record(p.fileResult, WriteWhole(path, text));
}

void SaveAtomically() {
  Probe& p = State();
  char path[kPathSize], temporary[kPathSize];
  if (!PluginFile("saved.txt", path, sizeof path) ||
      !PluginFile("saved.txt.tmp", temporary, sizeof temporary)) {
    errno = ENAMETOOLONG;
    Record(p.saveResult, false);
    return;
  }
  char text[64];
  Compose(text, sizeof text, "saved %d\n", ++p.fileWrites);
  // The old copy is replaced only by a complete new one.
  bool ok = WriteWhole(temporary, text);
  if (ok) ok = Replace(temporary, path);
  const int error = errno;
  if (!ok) std::remove(temporary);
  errno = error;
  Record(p.saveResult, ok);
}

void RemoveFile() {
  Probe& p = State();
  char path[kPathSize];
  errno = 0;
  Record(p.removeResult, PluginFile("output.txt", path, sizeof path) && std::remove(path) == 0);
}

void UpdatePathData() {
  Paths paths;
  ReadPaths(paths);
}

void EnableNativePaths() {
  XPLMEnableFeature("XPLM_USE_NATIVE_PATHS", 1);
}

void WritePaths() {
  Probe& p = State();
  const char* sep = XPLMGetDirectorySeparator();
  Paths paths;
  ReadPaths(paths);
  const char* system = paths.system;
  const char* file = paths.file;
  const char* path = paths.aircraft;
  const std::size_t systemLength = std::strlen(system);
  const bool endsWithSeparator = systemLength > 0 && system[systemLength - 1] == sep[0];
  const bool underSystem = std::strncmp(path, system, systemLength) == 0;
  const char* relative = underSystem ? path + systemLength : path;

  char folder[kPathSize];
  std::memcpy(folder, path, sizeof folder);
  char* extracted = XPLMExtractFileAndPath(folder);
  const bool inBuffer = extracted >= folder && extracted < folder + sizeof folder;
  const char* extractedFile = inBuffer ? extracted : "";
  const std::size_t folderLength = std::strlen(folder);
  const bool folderEndsWithSeparator = folderLength > 0 && folder[folderLength - 1] == sep[0];
  const char* folderRelative =
      std::strncmp(folder, system, systemLength) == 0 ? folder + systemLength : folder;

  char text[4096];
  const bool fits =
      Compose(text, sizeof text,
              "separator=%s\nsystem_path_ends_with_separator=%d\naircraft_file=%s\naircraft_path=%s\n"
              "aircraft_path_under_system_path=%d\nextract_file=%s\nextract_folder=%s\n"
              "extract_folder_ends_with_separator=%d\nextract_file_in_buffer=%d\n",
              sep, endsWithSeparator ? 1 : 0, file, relative, underSystem ? 1 : 0, extractedFile,
              folderRelative, folderEndsWithSeparator ? 1 : 0, inBuffer ? 1 : 0);
  char out[kPathSize];
  if (fits && PluginFile("paths.txt", out, sizeof out)) Record(p.fileResult, WriteWhole(out, text));
}

}  // namespace probe
