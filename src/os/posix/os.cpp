#include "os/os.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace talvenor::os {

const char* PathSeparator() {
  return "/";
}

// Both path modes are UTF-8 here; a malformed sequence, an overlong form, a surrogate or a code point past
// U+10FFFF is refused rather than handed on as bytes that might name another file.
bool IsPathText(const char* path, PathText) {
  if (path == nullptr) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(path);
  while (*p != 0) {
    const unsigned lead = *p++;
    if (lead < 0x80) continue;
    // The number of continuation bytes follows from the lead byte; 0x80-0xC1 and 0xF5-0xFF never lead.
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    if (lead < 0xC2 || lead > 0xF4) return false;
    constexpr unsigned kLeast[] = {0, 0x80, 0x800, 0x10000};
    unsigned code = lead & (0x3Fu >> more);
    const unsigned least = kLeast[more];
    for (int i = 0; i < more; ++i, ++p) {
      if ((*p & 0xC0u) != 0x80) return false;  // the terminator stops here too
      code = (code << 6) | (*p & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  }
  return true;
}

std::FILE* OpenFile(const char* path, const char* mode, PathText text) {
  if (!IsPathText(path, text)) {
    errno = EILSEQ;
    return nullptr;
  }
  return std::fopen(path, mode);
}

bool RemoveFile(const char* path, PathText text) {
  return IsPathText(path, text) && std::remove(path) == 0;
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
bool ReplaceFileAtomically(const char* from, const char* to, PathText text) {
  if (!IsPathText(from, text) || !IsPathText(to, text)) {
    errno = EILSEQ;
    return false;
  }
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
  std::FILE* file = OpenFile(path, "rb", PathText::kUtf8);
  if (file == nullptr) return RegistryText::kUnreadable;
  const std::size_t read = std::fread(out, 1, size - 1, file);
  const bool readError = std::ferror(file) != 0;
  (void)std::fclose(file);
  out[read] = '\0';
  // The folder's text is UTF-8, as the Windows registry's is once converted.
  const bool failed =
      readError || read != static_cast<std::size_t>(info.st_size) || !IsPathText(out, PathText::kUtf8);
  if (failed) out[0] = '\0';
  return failed ? RegistryText::kUnreadable : RegistryText::kRead;
}

}  // namespace talvenor::os
