// The `udp` directives: datagrams a scenario sends to a port of the loopback address, as a head tracker on
// the same machine would, and ports it holds so that a plugin finds them in use.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "directive.h"

namespace sim::scenario {

class UdpScript {
 public:
  UdpScript() = default;
  UdpScript(const UdpScript&) = delete;
  UdpScript& operator=(const UdpScript&) = delete;
  ~UdpScript();

  // D with `$UDP_PORT` replaced in its texts and read again once a port was chosen; nullopt when nothing
  // changes.
  std::optional<Directive> Substitute(const Directive& d) const;

  // Each throws ScenarioError naming LINE when the system refuses.
  void ChooseFreePort(int line);
  void Hold(int line, const std::string& port);
  // The pose as six little-endian doubles.
  void SendPose(int line, const std::string& port, const std::array<double, 6>& pose);
  void SendBytes(int line, const std::string& port, const std::string& bytes);
  // N poses at once, the K-th (from 1) turned K degrees to the right, the others at rest.
  void Flood(int line, const std::string& port, long long n);

 private:
  int Port(int line, const std::string& port) const;
  std::intptr_t Sender(int line);

  std::optional<int> chosen_;
  std::intptr_t sender_ = -1;
  std::vector<std::intptr_t> held_;
};

}  // namespace sim::scenario
