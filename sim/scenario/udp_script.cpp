#include "udp_script.h"

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "lexer.h"
#include "udp_socket.h"

namespace sim::scenario {
namespace {

namespace udp = talvenor::udp;

constexpr std::uint32_t kLoopback = 0x7F000001;

// X Y Z YAW PITCH ROLL as a UDP head tracker sends them.
std::string PoseBytes(const std::vector<double>& pose) {
  std::string bytes;
  for (const double value : pose) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
  }
  return bytes;
}

std::string Replaced(std::string text, const std::string& port) {
  for (std::size_t at = text.find(kUdpPortName); at != std::string::npos; at = text.find(kUdpPortName, at)) {
    text.replace(at, kUdpPortName.size(), port);
    at += port.size();
  }
  return text;
}

}  // namespace

UdpScript::~UdpScript() {
  udp::CloseDatagramSocket(sender_);
  for (const std::intptr_t socket : held_) udp::CloseDatagramSocket(socket);
}

std::optional<Directive> UdpScript::Substitute(const Directive& d) const {
  if (!chosen_) return std::nullopt;
  const std::string port = std::to_string(*chosen_);
  Directive changed = d;
  changed.name = Replaced(d.name, port);
  changed.item = Replaced(d.item, port);
  changed.text = Replaced(d.text, port);
  changed.source = Replaced(d.source, port);
  if (changed.name == d.name && changed.item == d.item && changed.text == d.text) return std::nullopt;
  return changed;
}

int UdpScript::Port(const Directive& d) const {
  // The parser checked a number; a `$UDP_PORT` is replaced by the chosen one before the directive runs.
  if (d.name != kUdpPortName) return std::stoi(d.name);
  if (!chosen_) throw ScenarioError(d.line, std::string(kUdpPortName) + " needs a `udp free-port` before it");
  return *chosen_;
}

// The port of a socket bound to port 0 is one the system has free; it stays free, as far as the system goes,
// until some program binds it, and the plugin is started right after.
void UdpScript::ChooseFreePort(const Directive& d) {
  const udp::OpenResult probe = udp::OpenDatagramSocket(kLoopback, 0);
  const int port = probe.socket != udp::kNoSocket ? udp::LocalPort(probe.socket) : 0;
  udp::CloseDatagramSocket(probe.socket);
  if (port == 0) throw ScenarioError(d.line, "no free UDP port on the loopback address");
  chosen_ = port;
}

void UdpScript::Hold(const Directive& d) {
  const udp::OpenResult held = udp::OpenDatagramSocket(kLoopback, Port(d));
  if (held.socket == udp::kNoSocket)
    throw ScenarioError(d.line, "cannot hold UDP port " + std::to_string(Port(d)) + " (error " +
                                    std::to_string(held.code) + ")");
  held_.push_back(held.socket);
}

std::intptr_t UdpScript::Sender(const Directive& d) {
  if (sender_ != udp::kNoSocket) return sender_;
  const udp::OpenResult opened = udp::OpenDatagramSocket(kLoopback, 0);
  if (opened.socket == udp::kNoSocket)
    throw ScenarioError(d.line, "cannot open a UDP socket (error " + std::to_string(opened.code) + ")");
  sender_ = opened.socket;
  return sender_;
}

void UdpScript::Send(const Directive& d) {
  SendBytes(d, d.op == Op::UdpSendBytes ? d.text : PoseBytes(d.values));
}

void UdpScript::Flood(const Directive& d) {
  for (long long k = 1; k <= d.count; ++k) SendBytes(d, PoseBytes({0, 0, 0, static_cast<double>(k), 0, 0}));
}

void UdpScript::SendBytes(const Directive& d, const std::string& bytes) {
  if (!udp::SendDatagram(Sender(d), kLoopback, Port(d), reinterpret_cast<const unsigned char*>(bytes.data()),
                         bytes.size()))
    throw ScenarioError(d.line, "cannot send the datagram to port " + std::to_string(Port(d)));
}

}  // namespace sim::scenario
