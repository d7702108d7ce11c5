#include "config/bounded_text.h"

#include <cstring>

#include "XPLMPlugin.h"
#include "XPLMUtilities.h"
#include "os/os.h"

namespace talvenor {

bool AppendBounded(char* buffer, std::size_t size, std::size_t& length, const char* text) {
  if (text == nullptr) return false;
  const std::size_t added = std::strlen(text);
  if (added >= size - length) return false;
  std::memcpy(buffer + length, text, added + 1);
  length += added;
  return true;
}

void CopyBounded(char* target, std::size_t size, const char* text) {
  if (target == nullptr || size == 0) return;
  std::size_t length = 0;
  if (text != nullptr) {
    while (length < size - 1 && text[length] != '\0') ++length;
    std::memcpy(target, text, length);
  }
  target[length] = '\0';
}

bool ComposePath(char* out, std::size_t size, const char* base, const char* separator,
                 std::initializer_list<const char*> parts) {
  std::size_t length = 0;
  out[0] = '\0';
  bool fits = AppendBounded(out, size, length, base);
  bool first = true;
  for (const char* part : parts) {
    fits = fits && (first || AppendBounded(out, size, length, separator)) &&
           AppendBounded(out, size, length, part);
    first = false;
  }
  if (!fits) out[0] = '\0';
  return fits;
}

const char* HostDirectorySeparator() {
  const char* separator = XPLMGetDirectorySeparator();
  return separator != nullptr ? separator : os::PathSeparator();
}

os::PathText HostPathText() {
  return XPLMIsFeatureEnabled("XPLM_USE_NATIVE_PATHS") != 0 ? os::PathText::kUtf8 : os::PathText::kLegacy;
}

HostPath ComposeHostPath(char* out, std::size_t size, const char* base,
                         std::initializer_list<const char*> parts) {
  if (!ComposePath(out, size, base, HostDirectorySeparator(), parts)) return HostPath::kTooLong;
  if (os::IsPathText(out, HostPathText())) return HostPath::kUsable;
  out[0] = '\0';
  return HostPath::kNotText;
}

const char* HostPathProblem(HostPath result) {
  if (result == HostPath::kTooLong) return "too long";
  return HostPathText() == os::PathText::kUtf8 ? "not valid UTF-8" : "not valid in the system's code page";
}

}  // namespace talvenor
