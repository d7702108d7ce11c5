#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "udp_socket_shared.h"

namespace talvenor::udp {
namespace {

constexpr ErrorNumbers kErrorNumbers = {EADDRINUSE, EADDRNOTAVAIL, EACCES, EPERM};

// Linux doubles the size asked for and charges each datagram its whole kernel buffer, never less than about
// 640 bytes for the smallest (about 830 on the loopback address), and takes one more while below the limit.
constexpr int kAskedPerDatagram = 320;

}  // namespace

OpenResult OpenDatagramSocket(std::uint32_t address, int port, int held) {
  OpenResult result;
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) {
    result.failure = OpenFailure::kNoSockets;
    result.code = errno;
    return result;
  }
  const sockaddr_in endpoint = Endpoint(address, port);
  const int flags = ::fcntl(fd, F_GETFL, 0);
  const int asked = std::max(held - 1, 1) * kAskedPerDatagram;
  if ((held > 0 && ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &asked, sizeof asked) != 0) ||
      ::bind(fd, reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint) != 0 || flags < 0 ||
      ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0 || ::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0) {
    result.code = errno;
    result.failure = FailureOf(result.code, kErrorNumbers);
    ::close(fd);
    return result;
  }
  result.socket = fd;
  return result;
}

Receive ReceiveDatagram(SocketHandle socket, unsigned char* buffer, std::size_t capacity, std::size_t& size) {
  size = 0;
  for (;;) {
    const ssize_t got = ::recv(static_cast<int>(socket), buffer, capacity, MSG_TRUNC);
    if (got >= 0) {
      // With MSG_TRUNC the result is the datagram's whole length, also when it did not fit.
      if (static_cast<std::size_t>(got) > capacity) return Receive::kTooLong;
      size = static_cast<std::size_t>(got);
      return Receive::kDatagram;
    }
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? Receive::kNothing : Receive::kError;
  }
}

bool SendDatagram(SocketHandle socket, std::uint32_t address, int port, const unsigned char* bytes,
                  std::size_t size) {
  const sockaddr_in endpoint = Endpoint(address, port);
  const ssize_t sent = ::sendto(static_cast<int>(socket), bytes, size, 0,
                                reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint);
  return sent >= 0 && static_cast<std::size_t>(sent) == size;
}

int LocalPort(SocketHandle socket) {
  sockaddr_in endpoint{};
  socklen_t length = sizeof endpoint;
  if (::getsockname(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&endpoint), &length) != 0) return 0;
  return ntohs(endpoint.sin_port);
}

void CloseDatagramSocket(SocketHandle socket) {
  if (socket != kNoSocket) ::close(static_cast<int>(socket));
}

}  // namespace talvenor::udp
