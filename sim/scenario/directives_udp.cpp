// Datagrams to a port of the loopback address, as a head tracker on the same machine sends them, and ports
// held so that a plugin finds them in use.
#include "directive.h"
#include "parser.h"
#include "reader.h"
#include "scenario_run.h"
#include "udp_script.h"

namespace sim::scenario {
namespace {

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
       run.udp().SendPose(d.line, d.as<UdpPose>().port, d.as<UdpPose>().pose);
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
         run.udp().SendPose(d.line, stream.port, stream.pose);
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
       run.udp().Flood(d.line, d.as<UdpFlood>().port, d.as<UdpFlood>().poses);
     }},
};

}  // namespace

std::span<const DirectiveType> UdpDirectives() {
  return kUdp;
}

}  // namespace sim::scenario
