#include "os/os.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace talvenor::os {

const char* PathSeparator() {
  return "/";
}

void DebugOutput(const char* text) {
  if (text == nullptr) return;
  // The debugger copy is a courtesy: a closed standard error loses it.
  (void)std::fwrite(text, 1, std::strlen(text), stderr);
  (void)std::fflush(stderr);
}

bool FlushToDisk(std::FILE* file) {
  if (file == nullptr || std::fflush(file) != 0) return false;
  return ::fsync(::fileno(file)) == 0;
}

// rename(2) replaces the target atomically within one file system; the temporary file always lies beside it.
bool ReplaceFileAtomically(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) return false;
  return std::rename(from, to) == 0;
}

namespace {

constexpr std::size_t kRegistryPathSize = 1024;

// Appends TEXT with every backslash as "/"; false when it does not fit (the path is then never used).
bool AppendRegistryPart(char (&path)[kRegistryPathSize], std::size_t& length, const char* text) {
  for (; *text != '\0'; ++text) {
    if (length + 1 >= sizeof path) return false;
    path[length++] = *text == '\\' ? '/' : *text;
  }
  path[length] = '\0';
  return true;
}

}  // namespace

RegistryText ReadUserRegistryText(const char* key, const char* name, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return RegistryText::kUnreadable;
  out[0] = '\0';
  const char* root = std::getenv("TALVENOR_REGISTRY");
  if (root == nullptr || root[0] == '\0' || key == nullptr || name == nullptr) return RegistryText::kNoKey;
  char path[kRegistryPathSize];
  std::size_t length = 0;
  path[0] = '\0';
  struct stat info {};
  if (!AppendRegistryPart(path, length, root) || !AppendRegistryPart(path, length, "/HKEY_CURRENT_USER/") ||
      !AppendRegistryPart(path, length, key) || ::stat(path, &info) != 0 || !S_ISDIR(info.st_mode)) {
    return RegistryText::kNoKey;
  }
  if (!AppendRegistryPart(path, length, "/") || !AppendRegistryPart(path, length, name) ||
      ::stat(path, &info) != 0) {
    return RegistryText::kNoValue;
  }
  if (!S_ISREG(info.st_mode)) return RegistryText::kUnreadable;
  if (static_cast<std::size_t>(info.st_size) > size - 1) return RegistryText::kTooLong;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return RegistryText::kUnreadable;
  const std::size_t read = std::fread(out, 1, size - 1, file);
  const bool failed = std::ferror(file) != 0 || read != static_cast<std::size_t>(info.st_size);
  (void)std::fclose(file);
  out[failed ? 0 : read] = '\0';
  return failed ? RegistryText::kUnreadable : RegistryText::kRead;
}

}  // namespace talvenor::os
