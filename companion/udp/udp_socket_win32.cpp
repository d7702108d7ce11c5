#include <winsock2.h>

#include <algorithm>

#include "udp_socket_shared.h"

namespace talvenor::udp {
namespace {

constexpr ErrorNumbers kErrorNumbers = {WSAEADDRINUSE, WSAEADDRNOTAVAIL, WSAEACCES, WSAEACCES};

// Winsock's buffer is taken to count a datagram's bytes alone (a pose's 48), the most datagrams a size can
// hold; a system that charges more holds fewer. One more may enter while the buffer is below its size.
constexpr int kAskedPerDatagram = 48;

}  // namespace

// Each open socket holds one reference of Winsock (WSAStartup), released when it is closed.
OpenResult OpenDatagramSocket(std::uint32_t address, int port, int held) {
  OpenResult result;
  WSADATA data;
  const int started = WSAStartup(MAKEWORD(2, 2), &data);
  if (started != 0) {
    result.failure = OpenFailure::kNoSockets;
    result.code = started;
    return result;
  }
  const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) {
    result.failure = OpenFailure::kNoSockets;
    result.code = WSAGetLastError();
    WSACleanup();
    return result;
  }
  // Without this, a program binding the port later with SO_REUSEADDR could take its datagrams away. A
  // system without the option still gets a socket of its own.
  BOOL exclusive = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);
  const sockaddr_in endpoint = Endpoint(address, port);
  u_long nonBlocking = 1;
  const int asked = std::max(held - 1, 1) * kAskedPerDatagram;
  if ((held > 0 &&
       ::setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&asked), sizeof asked) != 0) ||
      ::bind(s, reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint) != 0 ||
      ::ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
    result.code = WSAGetLastError();
    result.failure = FailureOf(result.code, kErrorNumbers);
    ::closesocket(s);
    WSACleanup();
    return result;
  }
  result.socket = static_cast<SocketHandle>(s);
  return result;
}

Receive ReceiveDatagram(SocketHandle socket, unsigned char* buffer, std::size_t capacity, std::size_t& size) {
  size = 0;
  const int got =
      ::recv(static_cast<SOCKET>(socket), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0);
  if (got >= 0) {
    size = static_cast<std::size_t>(got);
    return Receive::kDatagram;
  }
  switch (WSAGetLastError()) {
    case WSAEWOULDBLOCK:
      return Receive::kNothing;
    case WSAEMSGSIZE:  // the datagram did not fit; Winsock has discarded its rest
      return Receive::kTooLong;
    case WSAECONNRESET:  // an earlier send of this socket was refused; nothing to read
      return Receive::kNothing;
    default:
      return Receive::kError;
  }
}

bool SendDatagram(SocketHandle socket, std::uint32_t address, int port, const unsigned char* bytes,
                  std::size_t size) {
  const sockaddr_in endpoint = Endpoint(address, port);
  const int sent =
      ::sendto(static_cast<SOCKET>(socket), reinterpret_cast<const char*>(bytes), static_cast<int>(size), 0,
               reinterpret_cast<const sockaddr*>(&endpoint), sizeof endpoint);
  return sent >= 0 && static_cast<std::size_t>(sent) == size;
}

int LocalPort(SocketHandle socket) {
  sockaddr_in endpoint{};
  int length = sizeof endpoint;
  if (::getsockname(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&endpoint), &length) != 0)
    return 0;
  return ntohs(endpoint.sin_port);
}

void CloseDatagramSocket(SocketHandle socket) {
  if (socket == kNoSocket) return;
  ::closesocket(static_cast<SOCKET>(socket));
  WSACleanup();
}

}  // namespace talvenor::udp
