// talvenor-sim: runs scenario files against the simulated X-Plane host.
#include <algorithm>
#include <iterator>
#include <utility>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>
#endif

#include "interactive.h"
#include "platform.h"
#include "runner.h"

#ifndef TALVENOR_DEFAULT_PLUGIN
#define TALVENOR_DEFAULT_PLUGIN ""
#endif

namespace {

constexpr const char* kUsage =
    "usage: talvenor-sim [options] SCENARIO...\n"
    "       talvenor-sim -i [options] [SCENARIO...]\n"
    "  -i, --interactive  read directives from the terminal, one at a time, on one simulator kept running\n"
    "                  (after the SCENARIOs given); each is answered with what it changed\n"
    "  --plugin PATH   the plugin library to load (default: the Talvenor.xpl of this build)\n"
    "  --root DIR      the simulator folder (default: a fresh temporary folder, removed afterwards)\n"
    "  --keep          keep the temporary simulator folder and print its path\n"
    "  --csv PATH      write one row per cycle: time and the six head datarefs\n"
    "  --out DIR       folder for pictures written by `render` (default: the current folder)\n"
    "  --plot PATH     write an SVG chart of the six head datarefs over simulated time, with the events "
    "marked\n"
    "  --trace         print each directive as it runs\n"
    "  --quiet         print only failures, the texts of `step` and `say`, and the closing line\n"
    "  --simulator SIM the simulator to model: xp12 (X-Plane 11 and 12, the default) or older (view_type\n"
    "                  writable, sim/view/pan_* present); a scenario's `simulator` directive overrides it\n"
    "  -h, --help      show this help\n"
    "Exit status: 0 when every expectation held, 1 when one failed, 2 when a scenario cannot be run.\n";

// The arguments as UTF-8. Windows hands a program's narrow arguments over in the ANSI code page, which loses
// the names it cannot spell, so there they are taken from the wide command line.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
      arguments.push_back(sim::platform::Utf8Text(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return arguments;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args = Utf8Arguments(argc, argv);
  argc = static_cast<int>(args.size());
  sim::scenario::RunOptions options;
  options.plugin = TALVENOR_DEFAULT_PLUGIN;
  std::vector<std::string> files;
  bool optionsEnded = false;
  bool interactive = false;
  std::filesystem::path simulator;
  const std::pair<std::string_view, std::filesystem::path*> values[] = {
      {"--plugin", &options.plugin}, {"--root", &options.root}, {"--csv", &options.csv},
      {"--out", &options.out},       {"--plot", &options.plot}, {"--simulator", &simulator}};
  const std::pair<std::string_view, bool*> flags[] = {{"-i", &interactive},
                                                      {"--interactive", &interactive},
                                                      {"--keep", &options.keep},
                                                      {"--trace", &options.trace},
                                                      {"--quiet", &options.quiet}};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = args[static_cast<std::size_t>(i)];
    const auto value =
        std::find_if(std::begin(values), std::end(values), [&](const auto& v) { return v.first == arg; });
    const auto flag =
        std::find_if(std::begin(flags), std::end(flags), [&](const auto& f) { return f.first == arg; });
    if (optionsEnded || arg.empty() || arg.front() != '-' || arg == "-") {
      files.emplace_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    } else if (flag != std::end(flags)) {
      *flag->second = true;
    } else if (value != std::end(values) && i + 1 >= argc) {
      std::cerr << "talvenor-sim: " << arg << " needs a value\n" << kUsage;
      return 2;
    } else if (value != std::end(values)) {
      *value->second = sim::platform::PathFromUtf8(args[static_cast<std::size_t>(++i)]);
      if (value->second != &simulator) continue;
      if (simulator != "xp12" && simulator != "older") {
        std::cerr << "talvenor-sim: --simulator takes xp12 or older, not " << simulator.string() << "\n";
        return 2;
      }
      options.simulator = simulator == "older" ? sim::Simulator::Older : sim::Simulator::XPlane12;
    } else {
      std::cerr << "talvenor-sim: unknown option " << arg << "\n" << kUsage;
      return 2;
    }
  }
  // --root names a folder from here, unlike a scenario's relative `root`.
  if (!options.root.empty()) options.root = std::filesystem::absolute(options.root);
  if (interactive) return RunInteractive(options, files);
  if (files.empty()) {
    std::cerr << "talvenor-sim: no scenario file given\n" << kUsage;
    return 2;
  }
  return sim::scenario::RunFiles(options, files, std::cout, std::cerr);
}
