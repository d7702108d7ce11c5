// The head's path over simulated time as a self-contained SVG line chart: the position datarefs (metres) in
// one panel of three lanes and the rotations (degrees) in another, sharing the time axis, with events as
// marked lines.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace sim::render {

// The six head datarefs, in the order of HeadSample::values.
inline constexpr std::array<const char*, 6> kHeadDataRefs = {
    "sim/graphics/view/pilots_head_x",   "sim/graphics/view/pilots_head_y",
    "sim/graphics/view/pilots_head_z",   "sim/graphics/view/pilots_head_the",
    "sim/graphics/view/pilots_head_psi", "sim/graphics/view/field_of_view_roll_deg"};

struct HeadSample {
  double time = 0;                 // seconds
  std::array<double, 6> values{};  // NaN where the dataref could not be read
};

struct PlotEvent {
  double time = 0;
  std::string label;
};

struct HeadPlot {
  std::string title;
  std::vector<HeadSample> samples;  // in time order
  std::vector<PlotEvent> events;
  // Events as numbered marks with their labels listed under the chart (a scenario's steps), instead of
  // labels along their lines (every input of a scenario).
  bool numberedEvents = false;
};

std::string HeadPlotSvg(const HeadPlot& plot);

// Tick marks for an axis from lo to hi: round steps of 1, 2 or 5 times a power of ten, about `target` of
// them.
std::vector<double> NiceTicks(double lo, double hi, int target);

}  // namespace sim::render
