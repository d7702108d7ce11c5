// The operating-system seam of the UDP plugin: one IPv4 datagram socket that never waits (Winsock on
// Windows, BSD sockets elsewhere). Addresses and ports are in host byte order; nothing here allocates.
#pragma once

#include <cstddef>
#include <cstdint>

namespace talvenor::udp {

// An open socket, or none (kNoSocket).
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kNoSocket = -1;

// Why a socket could not be opened.
enum class OpenFailure { kNone, kNoSockets, kAddressInUse, kAddressNotAvailable, kNotPermitted, kOther };

struct OpenResult {
  SocketHandle socket = kNoSocket;
  OpenFailure failure = OpenFailure::kNone;
  int code = 0;  // the system's error number of the failure
};

// A non-blocking datagram socket bound to ADDRESS:PORT (port 0: any free port), without address reuse, so
// that a port another program holds is reported as in use. With HELD > 0 its receive buffer holds at most
// HELD datagrams of a pose's size, whatever the system charges for one; with 0, as many as the system holds.
OpenResult OpenDatagramSocket(std::uint32_t address, int port, int held = 0);

enum class Receive { kDatagram, kNothing, kTooLong, kError };

// Takes the next waiting datagram, if any, without waiting. kDatagram: its bytes are in BUFFER and SIZE is
// its length (a datagram longer than the buffer may also come as kTooLong: it is gone either way).
Receive ReceiveDatagram(SocketHandle socket, unsigned char* buffer, std::size_t capacity, std::size_t& size);

// Sends BYTES to ADDRESS:PORT; false when the system refused it.
bool SendDatagram(SocketHandle socket, std::uint32_t address, int port, const unsigned char* bytes,
                  std::size_t size);

// The port the socket is bound to; 0 when it cannot be told.
int LocalPort(SocketHandle socket);

void CloseDatagramSocket(SocketHandle socket);

}  // namespace talvenor::udp
