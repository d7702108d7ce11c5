// Flight loops on the simulated clock.
//
// A callback registered with an interval of I > 0 seconds runs in the first cycle at which I seconds have
// passed since its registration or its last call (compared with a 1 microsecond tolerance, so 0.1 at 50 fps
// is 5 cycles); I < 0 runs it every -I cycles; I == 0 leaves it registered but not scheduled. Its result is
// the next interval on the same scale. Callbacks may register, unregister or reschedule callbacks, themselves
// included, while they run; a callback registered during a cycle is first considered in the next cycle.
// Registering the same callback and refcon twice adds a second registration (X-Plane does the same);
// unregistering or rescheduling acts on the oldest registration that matches callback and refcon.
// A callback receives the time since its last call (or its registration), the time since the previous
// cycle (1/fps), the host's cycle counter and its refcon; it runs inside Host::PluginCall for the plugin
// that registered it. A non-integral negative interval is rounded to the nearest number of cycles, at
// least one. A disabled plugin's callbacks are not called (host.h, "A disabled plugin"): one that falls due
// waits, and runs in the first cycle after the plugin is enabled again, with the whole pause as its elapsed
// time.
#pragma once

#include <map>
#include <memory>
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
  // relativeToNow 0 counts the interval from the last call (or the registration), 1 from now.
  void setInterval(XPLMFlightLoop_f callback, float interval, int relativeToNow, void* refcon);

  // Runs every callback due in the current cycle (the host's clock has already advanced).
  void runDue();
  int count(PluginId owner) const;             // registered, scheduled or not
  int calls(XPLMFlightLoop_f callback) const;  // how often it has run, over all its registrations
  std::vector<std::string> registrations(PluginId owner) const;  // "flight loop 0x... refcon 0x..."
  void removePlugin(PluginId owner);                             // the plugin is unloaded: its callbacks go
  // What a host checkpoint keeps of them, and putting it back (host.h, Host::Checkpoint).
  struct Saved;
  std::shared_ptr<const Saved> save() const;
  void restore(const Saved& saved);

 private:
  struct Loop;
  Loop* match(XPLMFlightLoop_f callback, void* refcon);
  bool due(const Loop& loop) const;

  Host& host_;
  std::vector<Loop> loops_;  // removed entries are erased once no cycle is iterating over them
  bool running_ = false;
  double lastCycleTime_ = 0;  // Host::time() of the previous cycle
  std::map<XPLMFlightLoop_f, int> calls_;
};

}  // namespace sim
