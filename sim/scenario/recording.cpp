#include "recording.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>

#include "datarefs.h"
#include "values.h"

namespace sim::scenario {
namespace {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Csv(const Recording& recording) {
  std::string csv = "scenario,cycle,time";
  for (const char* name : render::kHeadDataRefs) {
    csv += ',';
    csv += std::string_view(name).substr(std::string_view(name).rfind('/') + 1);
  }
  csv += '\n';
  for (const Recording::Row& row : recording.rows) {
    csv += CsvField(row.scenario) + "," + std::to_string(row.cycle) + "," + FormatDouble(row.sample.time);
    for (const double value : row.sample.values) {
      csv += ',';
      if (!std::isnan(value)) csv += FormatFloat(static_cast<float>(value));
    }
    csv += '\n';
  }
  return csv;
}

}  // namespace

void RecordCycle(Recording& recording, const std::string& scenario, Host& host) {
  Recording::Row row;
  row.scenario = scenario;
  row.cycle = host.cycle();
  row.sample.time = host.time();
  for (std::size_t i = 0; i < render::kHeadDataRefs.size(); ++i) {
    const std::optional<DataValue> value = host.datarefs().read(render::kHeadDataRefs[i]);
    row.sample.values[i] = value ? value->value : std::nan("");
  }
  row.joinedTime = recording.offset + row.sample.time;
  recording.end = std::max(recording.end, row.joinedTime);
  recording.rows.push_back(std::move(row));
}

void RecordEvent(Recording& recording, double time, const Directive& d) {
  if (const Text* step = std::get_if<Text>(&d.args); step != nullptr && d.keyword() == "step") {
    recording.steps.push_back({recording.offset + time, step->text});
    return;
  }
  std::string label = d.source;
  if (const SetValues* set = std::get_if<SetValues>(&d.args)) {
    // The dataref's last name part is enough on a chart of the head.
    const std::string& written = set->ref.written;
    const std::size_t at = label.find(written);
    const std::size_t slash = written.rfind('/');
    if (at != std::string::npos && slash != std::string::npos) label.erase(at, slash + 1);
  }
  if (label.size() > 48) label = label.substr(0, 45) + "...";
  recording.events.push_back({recording.offset + time, label});
}

void WriteRecording(const RunOptions& options, const Recording& record, const std::string& name,
                    RunTotals& totals, std::ostream& err) {
  if (!options.csv.empty() && !WriteFile(options.csv, Csv(record))) {
    err << options.csv.string() << ": error: cannot write the CSV file\n";
    ++totals.errors;
  }
  if (options.plot.empty()) return;
  render::HeadPlot plot;
  plot.title = "The pilot's head in " + name;
  for (const Recording::Row& row : record.rows) {
    render::HeadSample sample = row.sample;
    sample.time = row.joinedTime;  // several scenarios follow one another on the chart
    plot.samples.push_back(sample);
  }
  plot.events = record.steps.empty() ? record.events : record.steps;
  plot.numberedEvents = !record.steps.empty();
  if (!WriteFile(options.plot, render::HeadPlotSvg(plot))) {
    err << options.plot.string() << ": error: cannot write the plot\n";
    ++totals.errors;
  }
}

}  // namespace sim::scenario
