// What --csv and --plot collect over all scenarios of a run, and the files made of it.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "directive.h"
#include "head_plot.h"
#include "host.h"
#include "runner.h"

namespace sim::scenario {

struct Recording {
  struct Row {
    std::string scenario;
    long cycle = 0;
    double joinedTime = 0;  // on the run's joined timeline
    render::HeadSample sample;
  };
  std::vector<Row> rows;
  std::vector<render::PlotEvent> events;  // times on the run's joined timeline
  std::vector<render::PlotEvent> steps;   // the `step` titles; when there are any, the plot marks only them
  double offset = 0;                      // where the current scenario starts on the joined timeline
  double end = 0;                         // the latest time recorded
};

// The head datarefs after a cycle of SCENARIO's simulator.
void RecordCycle(Recording& recording, const std::string& scenario, Host& host);
// An event or a step at TIME of the current scenario, labelled by its directive.
void RecordEvent(Recording& recording, double time, const Directive& d);

// The CSV and the plot that the options ask for; a file that cannot be written counts as a scenario that
// could not be run.
void WriteRecording(const RunOptions& options, const Recording& record, const std::string& name,
                    RunTotals& totals, std::ostream& err);

}  // namespace sim::scenario
