// The boundary between plugin code and the host's C++ code.
//
// The SDK's C functions run host code that may allocate; nothing may escape into the plugin, which was
// built as C and cannot catch it. A call without a host does nothing and gives the fallback, as the SDK
// does before it is ready.
#pragma once

#include <algorithm>
#include <cstring>
#include <string_view>
#include <type_traits>
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

// An SDK function that only hands its arguments to METHOD of the family that FAMILY gives (&Host::widgets,
// ...); without a host it gives a value-initialised result (0, null).
template <auto Family, auto Method, typename... Args>
auto Forward(Args... args) noexcept {
  auto body = [&](Host& host) { return ((host.*Family)().*Method)(args...); };
  using Result = std::invoke_result_t<decltype(body)&, Host&>;
  if constexpr (std::is_void_v<Result>) {
    WithHost(body);
  } else {
    return WithHost(Result{}, body);
  }
}

// Copies TEXT into a plugin's buffer of CAPACITY characters (nothing for a null one), cut to fit and always
// terminated.
inline void CopyOut(char* out, std::string_view text, std::size_t capacity) {
  if (out == nullptr) return;
  const std::size_t n = std::min(text.size(), capacity - 1);
  if (n > 0) std::memcpy(out, text.data(), n);  // an empty view may have no data at all
  out[n] = '\0';
}

}  // namespace sim
