#include "os/os.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "os/win32/wide_path.h"

namespace talvenor::os {

const char* PathSeparator() {
  return "\\";
}

bool WidePath::convert(const char* path, PathText text) {
  text_[0] = L'\0';
  if (path == nullptr) {
    errno = EILSEQ;
    return false;
  }
  if (path[0] == '\0') return true;
  // A malformed sequence fails the conversion instead of becoming U+FFFD, which would name another file.
  const UINT codePage = text == PathText::kUtf8 ? CP_UTF8 : CP_ACP;
  const int units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path, -1, text_, kWidePathSize);
  if (units > 0) return true;
  text_[0] = L'\0';
  errno = GetLastError() == ERROR_INSUFFICIENT_BUFFER ? ENAMETOOLONG : EILSEQ;
  return false;
}

bool IsPathText(const char* path, PathText text) {
  if (path == nullptr) return false;
  const UINT codePage = text == PathText::kUtf8 ? CP_UTF8 : CP_ACP;
  return path[0] == '\0' || MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0) > 0;
}

std::FILE* OpenFile(const char* path, const char* mode, PathText text) {
  WidePath wide;
  wchar_t wideMode[8] = {};
  for (std::size_t i = 0; mode != nullptr && mode[i] != '\0' && i + 1 < std::size(wideMode); ++i) {
    wideMode[i] = static_cast<wchar_t>(static_cast<unsigned char>(mode[i]));
  }
  if (!wide.convert(path, text)) return nullptr;
  return _wfopen(wide.text(), wideMode);
}

bool RemoveFile(const char* path, PathText text) {
  WidePath wide;
  return wide.convert(path, text) && _wremove(wide.text()) == 0;
}

void DebugOutput(const char* text) {
  if (text == nullptr) return;
  OutputDebugStringA(text);
}

bool FlushToDisk(std::FILE* file) {
  if (file == nullptr || std::fflush(file) != 0) return false;
  const std::intptr_t handle = _get_osfhandle(_fileno(file));
  if (handle == -1) return false;
  return FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

// MoveFileExW with MOVEFILE_REPLACE_EXISTING swaps the target in one step on the same volume; the write
// through makes the move itself durable before the call returns.
bool ReplaceFileAtomically(const char* from, const char* to, PathText text) {
  WidePath wideFrom;
  WidePath wideTo;
  if (!wideFrom.convert(from, text) || !wideTo.convert(to, text)) return false;
  if (MoveFileExW(wideFrom.text(), wideTo.text(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
    return true;
  }
  errno = GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
  return false;
}

RegistryText ReadUserRegistryText(const char* key, const char* name, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return RegistryText::kUnreadable;
  out[0] = '\0';
  WidePath wideKey;
  WidePath wideName;
  HKEY opened = nullptr;
  if (!wideKey.convert(key, PathText::kUtf8) || !wideName.convert(name, PathText::kUtf8) ||
      RegOpenKeyExW(HKEY_CURRENT_USER, wideKey.text(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return RegistryText::kNoKey;
  }
  // The value is read as UTF-16, so that a folder the code page cannot spell arrives whole, and handed on
  // as UTF-8 like the simulator's native paths.
  wchar_t value[kWidePathSize];
  DWORD type = 0;
  DWORD bytes = 0;
  RegistryText result = RegistryText::kRead;
  if (RegQueryValueExW(opened, wideName.text(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) {
    result = RegistryText::kNoValue;
  } else if (type != REG_SZ && type != REG_EXPAND_SZ) {
    result = RegistryText::kUnreadable;
  } else if (bytes > sizeof value - sizeof value[0]) {
    result = RegistryText::kTooLong;
  } else {
    // The value may change between the two queries; the read never writes past the room given.
    DWORD room = static_cast<DWORD>(sizeof value - sizeof value[0]);
    if (RegQueryValueExW(opened, wideName.text(), nullptr, &type, reinterpret_cast<BYTE*>(value), &room) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || room > sizeof value - sizeof value[0]) {
      result = RegistryText::kUnreadable;
      room = 0;
    }
    value[room / sizeof value[0]] = L'\0';  // a value stored without its terminator arrives without one
    if (result == RegistryText::kRead && value[0] != L'\0') {
      const int written = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, value, -1, out,
                                              static_cast<int>(size), nullptr, nullptr);
      if (written <= 0) {
        result =
            GetLastError() == ERROR_INSUFFICIENT_BUFFER ? RegistryText::kTooLong : RegistryText::kUnreadable;
      }
    }
    if (result != RegistryText::kRead) out[0] = '\0';
  }
  RegCloseKey(opened);
  return result;
}

}  // namespace talvenor::os
