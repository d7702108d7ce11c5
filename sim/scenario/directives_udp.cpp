// Datagrams to a port of the loopback address, as a head tracker on the same machine sends them, and ports
// held so that a plugin finds them in use.
#include <bit>
#include <cstdint>

#include "directive.h"
#include "parser.h"
#include "scenario_run.h"
#include "udp_socket.h"

namespace sim::scenario {
namespace {

namespace udp = talvenor::udp;

constexpr std::uint32_t kLoopback = 0x7F000001;
// Stands for the port `udp free-port` chose, in the texts of the directives after it.
constexpr std::string_view kUdpPortName = "$UDP_PORT";

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

// The port stays as written when it names the chosen one: that is put in before the directive runs.
std::string Port(const Reader& r) {
  if (r.size() < 3) r.Count(2, 1, 100000);
  const std::string port = r.Text(2);
  if (port != kUdpPortName) r.Integer(2, "PORT", 1, 65535);
  return port;
}

// PORT then N (with `stream`) then the six pose values.
Args ReadPose(const Reader& r, bool stream) {
  const std::size_t pose = stream ? 4 : 3;
  UdpPose read{Port(r), {}, 0};
  r.Count(2, pose + 4, pose + 4);
  if (stream) read.cycles = r.Integer(3, "N", 0);
  for (std::size_t i = 0; i < read.pose.size(); ++i)
    read.pose[i] = r.Decimal(r.Text(pose + i), "a pose value", pose + i);
  return read;
}

constexpr DirectiveType kUdp[] = {
    {"udp free-port", "udp free-port", Role::Act, ReadNone,
     [](ScenarioRun& run, const Directive& d) { run.udp().ChooseFreePort(d.line); }},
    {"udp hold", "udp hold PORT", Role::Act,
     [](const Reader& r) -> Args {
       UdpPort hold{Port(r)};
       r.Count(2, 1, 1);
       return hold;
     },
     [](ScenarioRun& run, const Directive& d) { run.udp().Hold(d.line, d.as<UdpPort>().port); }},
    {"udp send", "udp send PORT X Y Z YAW PITCH ROLL", Role::Event,
     [](const Reader& r) { return ReadPose(r, false); },
     [](ScenarioRun& run, const Directive& d) {
       run.udp().SendBytes(d.line, d.as<UdpPose>().port, PoseBytes(d.as<UdpPose>().pose));
     }},
    {"udp send-bytes", "udp send-bytes PORT HEX", Role::Event,
     [](const Reader& r) -> Args {
       UdpBytes send{Port(r), {}};
       r.Count(2, 2, 100000);
       send.bytes = r.Bytes(3);
       return send;
     },
     [](ScenarioRun& run, const Directive& d) {
       run.udp().SendBytes(d.line, d.as<UdpBytes>().port, d.as<UdpBytes>().bytes);
     }},
    {"udp stream", "udp stream PORT N X Y Z YAW PITCH ROLL", Role::Event,
     [](const Reader& r) { return ReadPose(r, true); },
     [](ScenarioRun& run, const Directive& d) {
       const UdpPose& stream = d.as<UdpPose>();
       for (long long i = 0; i < stream.cycles; ++i) {
         run.udp().SendBytes(d.line, stream.port, PoseBytes(stream.pose));
         run.host(d).runCycles(1);
       }
     }},
    {"udp flood", "udp flood PORT N", Role::Event,
     [](const Reader& r) -> Args {
       UdpFlood flood{Port(r), 0};
       r.Count(2, 2, 2);
       flood.poses = r.Integer(3, "N", 1, 100000);
       return flood;
     },
     [](ScenarioRun& run, const Directive& d) {
       // The K-th pose (from 1) turned K degrees to the right, the others at rest.
       for (long long k = 1; k <= d.as<UdpFlood>().poses; ++k)
         run.udp().SendBytes(d.line, d.as<UdpFlood>().port,
                             PoseBytes({0, 0, 0, static_cast<double>(k), 0, 0}));
     }},
};

}  // namespace

const std::span<const DirectiveType> kUdpDirectives = kUdp;

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

void UdpScript::SendBytes(int line, const std::string& port, const std::string& bytes) {
  if (!udp::SendDatagram(Sender(line), kLoopback, Port(line, port),
                         reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()))
    throw ScenarioError(line, "cannot send the datagram to port " + std::to_string(Port(line, port)));
}

}  // namespace sim::scenario
