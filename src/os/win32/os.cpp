#include "os/os.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace talvenor::os {

const char* PathSeparator() {
  return "\\";
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

// MoveFileExA with MOVEFILE_REPLACE_EXISTING swaps the target in one step on the same volume; the write
// through makes the move itself durable before the call returns.
bool ReplaceFileAtomically(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) return false;
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

RegistryText ReadUserRegistryText(const char* key, const char* name, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return RegistryText::kUnreadable;
  out[0] = '\0';
  HKEY opened = nullptr;
  if (key == nullptr || name == nullptr ||
      RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return RegistryText::kNoKey;
  }
  DWORD type = 0;
  DWORD bytes = 0;
  RegistryText result = RegistryText::kRead;
  if (RegQueryValueExA(opened, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) {
    result = RegistryText::kNoValue;
  } else if (type != REG_SZ && type != REG_EXPAND_SZ) {
    result = RegistryText::kUnreadable;
  } else if (bytes > size - 1) {
    result = RegistryText::kTooLong;
  } else {
    // The value may change between the two queries; the read never writes past the room given.
    DWORD room = static_cast<DWORD>(size - 1);
    if (RegQueryValueExA(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &room) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || room > size - 1) {
      result = RegistryText::kUnreadable;
      room = 0;
    }
    out[room] = '\0';  // a value stored without its terminator arrives without one
  }
  RegCloseKey(opened);
  return result;
}

}  // namespace talvenor::os
