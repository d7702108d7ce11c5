// A flood of poses at TalvenorUDP, run for callgrind, which bench/measure_budget.sh starts with collection
// off and toggled on inside the companion's flight loop, so that only its per-frame work counts.
//
//   talvenor_udp_flood_count DATAGRAMS CYCLES
//
// Before each cycle DATAGRAMS poses go to the port, more than any receive buffer holds; the K-th of a
// cycle turns the head by K degrees and each carries the cycle's number as its x. Exit status 0 when the
// last cycle passed on one of its own poses to Talvenor, 1 when not, 2 on bad arguments.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "datarefs.h"
#include "host.h"
#include "udp_socket.h"

namespace {

namespace udp = talvenor::udp;

constexpr std::uint32_t kLoopback = 0x7F000001;

bool Write(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

std::vector<unsigned char> Pose(double x, double yaw) {
  const double pose[6] = {x, 0, 0, yaw, 0, 0};
  std::vector<unsigned char> bytes;
  for (const double value : pose) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<unsigned char>(bits >> (8 * i)));
  }
  return bytes;
}

float Read(sim::Host& host, const char* name) {
  const auto value = host.datarefs().read(name);
  return value ? static_cast<float>(value->value) : NAN;
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "%s\n", why.c_str());
  return 1;
}

int Run(int datagrams, long cycles) {
  const udp::OpenResult probe = udp::OpenDatagramSocket(kLoopback, 0);
  const int port = udp::LocalPort(probe.socket);
  udp::CloseDatagramSocket(probe.socket);
  const udp::OpenResult sender = udp::OpenDatagramSocket(kLoopback, 0);
  if (port == 0 || sender.socket == udp::kNoSocket) return Fail("no UDP socket on the loopback address");

  sim::Host host;
  std::string error;
  if (!Write(host.pluginFolder() / "Talvenor.ini", "[CONFIG]\nENABLEEXTERNALDATA = 1\n") ||
      !Write(host.resolve("Resources/plugins/TalvenorUDP/TalvenorUDP.ini"),
             "[UDP]\nPORT = " + std::to_string(port) + "\n"))
    return Fail("cannot write the setup files");
  if (!host.loadPlugin(TALVENOR_BENCH_PLUGIN, &error) || host.start() != 1) return Fail("Talvenor: " + error);
  if (host.loadCompanion(TALVENOR_BENCH_UDP, &error) == XPLM_NO_PLUGIN_ID)
    return Fail("TalvenorUDP: " + error);
  host.runCycles(10);

  for (long cycle = 1; cycle <= cycles; ++cycle) {
    for (int k = 1; k <= datagrams; ++k) {
      const std::vector<unsigned char> pose = Pose(static_cast<double>(cycle), k);
      udp::SendDatagram(sender.socket, kLoopback, port, pose.data(), pose.size());
    }
    host.runCycles(1);
  }
  udp::CloseDatagramSocket(sender.socket);

  // TalvenorUDP mirrors x and turns centimetres into metres.
  const float x = Read(host, "quorlend/talvenor/external_x");
  const float heading = Read(host, "quorlend/talvenor/external_heading");
  const bool own = std::fabs(x + 0.01f * static_cast<float>(cycles)) < 1e-4f;
  std::printf("last cycle passed on its pose %.0f of %d\n", heading, datagrams);
  host.stopCompanions();
  host.stop();
  if (!own || !(heading >= 1)) return Fail("the last cycle did not pass on one of its own poses");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DATAGRAMS CYCLES\n", argv[0]);
    return 2;
  }
  const int datagrams = std::atoi(argv[1]);
  const long cycles = std::strtol(argv[2], nullptr, 10);
  if (datagrams < 1 || cycles < 1) return 2;
  return Run(datagrams, cycles);
}
