// What the two socket seams share, included by each after its system's socket header: the address a socket
// binds and sends to, and what an error number of a failed open means.
#pragma once

#include "udp_socket.h"

namespace talvenor::udp {

inline sockaddr_in Endpoint(std::uint32_t address, int port) {
  sockaddr_in endpoint{};
  endpoint.sin_family = AF_INET;
  endpoint.sin_addr.s_addr = htonl(address);
  endpoint.sin_port = htons(static_cast<std::uint16_t>(port));
  return endpoint;
}

// The system's error numbers of an address in use, an address not available, and two of a refusal (the same
// twice where the system has one).
struct ErrorNumbers {
  int inUse, notAvailable, denied, notPermitted;
};

inline OpenFailure FailureOf(int code, const ErrorNumbers& numbers) {
  if (code == numbers.inUse) return OpenFailure::kAddressInUse;
  if (code == numbers.notAvailable) return OpenFailure::kAddressNotAvailable;
  if (code == numbers.denied || code == numbers.notPermitted) return OpenFailure::kNotPermitted;
  return OpenFailure::kOther;
}

}  // namespace talvenor::udp
