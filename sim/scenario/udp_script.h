// The `udp` directives: datagrams a scenario sends to a port of the loopback address, as a head tracker on
// the same machine would, and ports it holds so that a plugin finds them in use.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "parser.h"

namespace sim::scenario {

class UdpScript {
 public:
  UdpScript() = default;
  UdpScript(const UdpScript&) = delete;
  UdpScript& operator=(const UdpScript&) = delete;
  ~UdpScript();

  // D with `$UDP_PORT` replaced in its texts once a port was chosen; nullopt when nothing changes.
  std::optional<Directive> Substitute(const Directive& d) const;

  // Each throws ScenarioError naming the directive's line when the system refuses.
  void ChooseFreePort(const Directive& d);
  void Hold(const Directive& d);
  // The directive's bytes (send-bytes) or its pose as six little-endian doubles (send, stream).
  void Send(const Directive& d);
  // N poses at once, the K-th (from 1) turned K degrees to the right, the others at rest (flood).
  void Flood(const Directive& d);

 private:
  int Port(const Directive& d) const;
  std::intptr_t Sender(const Directive& d);
  void SendBytes(const Directive& d, const std::string& bytes);

  std::optional<int> chosen_;
  std::intptr_t sender_ = -1;
  std::vector<std::intptr_t> held_;
};

}  // namespace sim::scenario
