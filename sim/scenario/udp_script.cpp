#include "udp_script.h"

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "lexer.h"
#include "parser.h"
#include "udp_socket.h"

namespace sim::scenario {
namespace {

namespace udp = talvenor::udp;

constexpr std::uint32_t kLoopback = 0x7F000001;

// X Y Z YAW PITCH ROLL as a UDP head tracker sends them.
std::string PoseBytes(const std::array<double, 6>& pose) {
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
  Line line{d.line, Replaced(d.source, port), d.words};
  bool changed = false;
  for (Arg& arg : line.args) {
    std::string text = Replaced(arg.text, port);
    changed = changed || text != arg.text;
    arg.text = std::move(text);
  }
  if (!changed) return std::nullopt;
  return ParseLine(line);
}

int UdpScript::Port(int line, const std::string& port) const {
  // The parser checked a number; a `$UDP_PORT` is replaced by the chosen one before the directive runs.
  if (port != kUdpPortName) return std::stoi(port);
  if (!chosen_) throw ScenarioError(line, std::string(kUdpPortName) + " needs a `udp free-port` before it");
  return *chosen_;
}

// The port of a socket bound to port 0 is one the system has free; it stays free, as far as the system goes,
// until some program binds it, and the plugin is started right after.
void UdpScript::ChooseFreePort(int line) {
  const udp::OpenResult probe = udp::OpenDatagramSocket(kLoopback, 0);
  const int port = probe.socket != udp::kNoSocket ? udp::LocalPort(probe.socket) : 0;
  udp::CloseDatagramSocket(probe.socket);
  if (port == 0) throw ScenarioError(line, "no free UDP port on the loopback address");
  chosen_ = port;
}

void UdpScript::Hold(int line, const std::string& port) {
  const udp::OpenResult held = udp::OpenDatagramSocket(kLoopback, Port(line, port));
  if (held.socket == udp::kNoSocket)
    throw ScenarioError(line, "cannot hold UDP port " + std::to_string(Port(line, port)) + " (error " +
                                  std::to_string(held.code) + ")");
  held_.push_back(held.socket);
}

std::intptr_t UdpScript::Sender(int line) {
  if (sender_ != udp::kNoSocket) return sender_;
  const udp::OpenResult opened = udp::OpenDatagramSocket(kLoopback, 0);
  if (opened.socket == udp::kNoSocket)
    throw ScenarioError(line, "cannot open a UDP socket (error " + std::to_string(opened.code) + ")");
  sender_ = opened.socket;
  return sender_;
}

void UdpScript::SendPose(int line, const std::string& port, const std::array<double, 6>& pose) {
  SendBytes(line, port, PoseBytes(pose));
}

void UdpScript::Flood(int line, const std::string& port, long long n) {
  for (long long k = 1; k <= n; ++k) SendPose(line, port, {0, 0, 0, static_cast<double>(k), 0, 0});
}

void UdpScript::SendBytes(int line, const std::string& port, const std::string& bytes) {
  if (!udp::SendDatagram(Sender(line), kLoopback, Port(line, port),
                         reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()))
    throw ScenarioError(line, "cannot send the datagram to port " + std::to_string(Port(line, port)));
}

}  // namespace sim::scenario
