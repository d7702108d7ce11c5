// The boundary between plugin code and the host's C++ code.
//
// The SDK's C functions run host code that may allocate; nothing may escape into the plugin, which was
// built as C and cannot catch it. A call without a host does nothing and gives the fallback, as the SDK
// does before it is ready.
#pragma once

#include <utility>

#include "host.h"

namespace sim {

template <typename Result, typename Body>
Result WithHost(Result fallback, Body&& body) noexcept {
  Host* host = Host::current();
  if (host == nullptr) return fallback;
  try {
    return std::forward<Body>(body)(*host);
  } catch (...) {
    return fallback;
  }
}

template <typename Body>
void WithHost(Body&& body) noexcept {
  Host* host = Host::current();
  if (host == nullptr) return;
  try {
    std::forward<Body>(body)(*host);
  } catch (...) {
  }
}

}  // namespace sim
