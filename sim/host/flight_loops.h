// Flight loops on the simulated clock.
//
// A callback registered with an interval of I > 0 seconds runs in the first cycle at which I seconds have
// passed since its registration or its last call (compared with a 1 microsecond tolerance, so 0.1 at 50 fps
// is 5 cycles); I < 0 runs it every -I cycles; I == 0 leaves it registered but not scheduled. Its result is
// the next interval on the same scale. Callbacks may register, unregister or reschedule callbacks, themselves
// included, while they run; a callback registered during a cycle is first considered in the next cycle.
// Registering the same callback and refcon twice adds a second registration (X-Plane does the same).
#pragma once

#include <string>
#include <vector>

#include "XPLMProcessing.h"
#include "host.h"

namespace sim {

class FlightLoops {
 public:
  explicit FlightLoops(Host& host);
  ~FlightLoops();

  void registerCallback(XPLMFlightLoop_f callback, float interval, void* refcon);
  void unregisterCallback(XPLMFlightLoop_f callback, void* refcon);
  void setInterval(XPLMFlightLoop_f callback, float interval, int relativeToNow, void* refcon);

  // Runs every callback due in the current cycle (the host's clock has already advanced).
  void runDue();
  int count(PluginId owner) const;  // registered, scheduled or not
  int calls(XPLMFlightLoop_f callback) const;  // how often it has run
  std::vector<std::string> registrations(PluginId owner) const;

 private:
  struct Loop;
  Host& host_;
  std::vector<Loop> loops_;
};

}  // namespace sim
