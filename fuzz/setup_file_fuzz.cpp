// Any bytes as Talvenor.ini: the reader must end with a defined result and never read or write outside its
// buffers. The settings it fills must keep their bounds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/log.h"
#include "config/setup_file.h"
#include "file_faults.h"
#include "host.h"
#include "plugin/plugin.h"

namespace {

// One simulated simulator folder for the whole run: logging asks the host for its paths.
sim::Host& FuzzHost() {
  static sim::Host host;
  return host;
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "setup file fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sim::Host& host = FuzzHost();
  const std::string path = (host.root() / "Talvenor.ini").string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  talvenor::ResetState();
  int result = 0;
  {
    // As plugin code: the debugger output goes to the host's capture, not to the terminal.
    sim::Host::PluginCall call(host, sim::kPluginUnderTest);
    talvenor::LogReset();
    result = talvenor::ParseSetupFile(path.c_str());
  }
  host.debug().clear();

  Check(result == talvenor::kSetupApplied || (result >= 1 && result <= 21), "result code out of range");
  const talvenor::SetupSettings& settings = talvenor::Settings();
  for (float scaler :
       {settings.engineVibrationScalerX, settings.engineVibrationScalerY, settings.engineVibrationScalerZ}) {
    Check(scaler >= 0.0f && scaler <= 10.0f, "vibration scaler out of bounds");
  }
  Check(settings.axisIncrementChange >= 0.0f, "negative increment change");
  for (float increment :
       {settings.axisXIncrement, settings.axisYIncrement, settings.axisZIncrement,
        settings.axisHeadingIncrement, settings.axisPitchIncrement, settings.axisRollIncrement}) {
    Check(std::isfinite(increment), "increment not finite");
  }
  for (const talvenor::HotkeyBinding& binding : settings.hotkeys) {
    Check(binding.virtualKey >= 0 && binding.virtualKey <= 255, "virtual key out of range");
    Check(binding.enabled == 0 || binding.enabled == 1, "enabled flag not 0 or 1");
  }
  return 0;
}
