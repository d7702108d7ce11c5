// A path in the UTF-16 form the wide Windows functions take, converted into a fixed buffer.
#pragma once

#include <cstddef>

#include "os/os.h"

namespace talvenor::os {

// Room for the longest path the plugin composes (1,024 bytes) and for a registry folder of as many
// characters.
inline constexpr int kWidePathSize = 1025;

class WidePath {
 public:
  // PATH, a text of TEXT's encoding, converted; false with errno EILSEQ (not such a text) or ENAMETOOLONG
  // (does not fit), the text then empty.
  bool convert(const char* path, PathText text);
  const wchar_t* text() const { return text_; }

 private:
  wchar_t text_[kWidePathSize] = {};
};

}  // namespace talvenor::os
