#include "head_plot.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "svg.h"

namespace sim::render {
namespace {

constexpr double kWidth = 1000;
constexpr double kLeft = 72, kRight = 800;  // plot area; the legends stand right of it
constexpr double kTop = 92;
// The positions in three lanes of their own scale (centimetres of movement would vanish on a scale that
// spans the head's metres from the aircraft's origin), the rotations in one panel of a shared scale.
constexpr double kLaneHeight = 84, kLaneGap = 16;
constexpr double kPanelHeight = 230, kPanelGap = 62;
constexpr double kRotationTop = kTop + 3 * kLaneHeight + 2 * kLaneGap + kPanelGap;
constexpr double kPlotBottom = kRotationTop + kPanelHeight;
constexpr std::array<const char*, 6> kColours = {"#1f77b4", "#2ca02c", "#d62728",
                                                 "#9467bd", "#ff7f0e", "#17becf"};
constexpr std::array<const char*, 6> kAxisNames = {"x", "y", "z", "pitch", "heading", "roll"};

std::string Px(double value) {
  return Fixed(value, 1);
}

// Decimals enough to tell ticks `step` apart.
int DecimalsFor(double step) {
  return std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 8);
}

struct Axis {
  double lo = 0, hi = 1;
  std::vector<double> ticks;
};

Axis MakeAxis(double lo, double hi, int target) {
  if (!(lo <= hi)) lo = hi = 0;
  if (hi - lo < 1e-9) {
    const double pad = std::max(std::fabs(lo) * 0.1, 0.5);
    lo -= pad;
    hi += pad;
  }
  Axis axis;
  axis.ticks = NiceTicks(lo, hi, target);
  const double step = axis.ticks.size() > 1 ? axis.ticks[1] - axis.ticks[0] : hi - lo;
  axis.lo = std::min(lo, std::floor(lo / step + 1e-9) * step);
  axis.hi = std::max(hi, std::ceil(hi / step - 1e-9) * step);
  axis.ticks = NiceTicks(axis.lo, axis.hi, target);
  return axis;
}

// A box of the chart: the series from `first` to `last` against one value axis.
struct Box {
  std::size_t first, last;
  double top, height;
  bool timeLabels;  // the time ticks' numbers under it
};

std::string Line(double x1, double y1, double x2, double y2, const std::string& attributes) {
  return "<line x1=\"" + Px(x1) + "\" y1=\"" + Px(y1) + "\" x2=\"" + Px(x2) + "\" y2=\"" + Px(y2) + "\" " +
         attributes + "/>\n";
}

std::string Text(double x, double y, std::string_view text, const std::string& attributes = "") {
  return "<text x=\"" + Px(x) + "\" y=\"" + Px(y) + "\"" + (attributes.empty() ? "" : " " + attributes) +
         ">" + Escape(text) + "</text>\n";
}

// Draws one box: grid, ticks, frame, the series broken where a value is missing, and their legend.
void DrawBox(std::string& svg, const HeadPlot& plot, const Box& box, const Axis& time,
             const std::function<double(double)>& xOf) {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -lo;
  for (const HeadSample& s : plot.samples) {
    for (std::size_t k = box.first; k <= box.last; ++k) {
      if (!std::isfinite(s.values[k])) continue;
      lo = std::min(lo, s.values[k]);
      hi = std::max(hi, s.values[k]);
    }
  }
  if (!std::isfinite(lo)) lo = hi = 0;
  const Axis axis = MakeAxis(lo, hi, box.height < 120 ? 3 : 5);
  const double bottom = box.top + box.height;
  auto yOf = [&](double v) { return bottom - (v - axis.lo) / (axis.hi - axis.lo) * box.height; };

  svg += "<g>\n";
  const int yDecimals = axis.ticks.size() > 1 ? DecimalsFor(axis.ticks[1] - axis.ticks[0]) : 2;
  for (const double v : axis.ticks) {
    svg += Line(kLeft, yOf(v), kRight, yOf(v), "stroke=\"#e4e4e4\"");
    svg += Line(kLeft - 5, yOf(v), kLeft, yOf(v), "stroke=\"black\"");
    svg += Text(kLeft - 8, yOf(v) + 4, Fixed(v, yDecimals), "text-anchor=\"end\"");
  }
  const int tDecimals = time.ticks.size() > 1 ? DecimalsFor(time.ticks[1] - time.ticks[0]) : 1;
  for (const double t : time.ticks) {
    svg += Line(xOf(t), box.top, xOf(t), bottom, "stroke=\"#f0f0f0\"");
    svg += Line(xOf(t), bottom, xOf(t), bottom + 5, "stroke=\"black\"");
    if (box.timeLabels) svg += Text(xOf(t), bottom + 18, Fixed(t, tDecimals), "text-anchor=\"middle\"");
  }
  svg += "<rect x=\"" + Px(kLeft) + "\" y=\"" + Px(box.top) + "\" width=\"" + Px(kRight - kLeft) +
         "\" height=\"" + Px(box.height) + "\" fill=\"none\" stroke=\"black\"/>\n";
  for (std::size_t k = box.first; k <= box.last; ++k) {
    std::string points;
    auto flush = [&] {
      if (points.empty()) return;
      svg += "<polyline fill=\"none\" stroke=\"" + std::string(kColours[k]) +
             "\" stroke-width=\"1.5\" stroke-linejoin=\"round\" points=\"" + points + "\"/>\n";
      points.clear();
    };
    for (const HeadSample& s : plot.samples) {
      if (!std::isfinite(s.values[k])) {
        flush();
        continue;
      }
      if (!points.empty()) points += ' ';
      points += Px(xOf(s.time)) + "," + Px(yOf(s.values[k]));
    }
    flush();
    // Legend: the axis's name and, smaller, the dataref that holds it.
    const double ly = box.top + 14 + static_cast<double>(k - box.first) * 30;
    const std::string_view name = kHeadDataRefs[k];
    svg += Line(kRight + 16, ly - 4, kRight + 40, ly - 4,
                "stroke=\"" + std::string(kColours[k]) + "\" stroke-width=\"3\"");
    svg += Text(kRight + 46, ly, kAxisNames[k], "font-weight=\"bold\"");
    svg += Text(kRight + 46, ly + 12, name.substr(name.rfind('/') + 1), "font-size=\"10\" fill=\"#666\"");
  }
  if (plot.samples.empty()) {
    svg += Text((kLeft + kRight) / 2, box.top + box.height / 2, "no cycles were run",
                "text-anchor=\"middle\" fill=\"#888\"");
  }
  svg += "</g>\n";
}

// Events as rotated labels along their lines; events closer than a label's height share one.
void DrawLabelledEvents(std::string& svg, std::vector<PlotEvent> events,
                        const std::function<double(double)>& xOf) {
  svg += "<g font-size=\"10\" fill=\"#444\">\n";
  for (std::size_t i = 0; i < events.size();) {
    const double x = xOf(events[i].time);
    std::string label = events[i].label;
    std::size_t j = i + 1;
    for (; j < events.size() && xOf(events[j].time) - x < 12; ++j) label += "; " + events[j].label;
    if (label.size() > 90) label = label.substr(0, 87) + "...";
    svg += Line(x, kTop, x, kPlotBottom, "stroke=\"#888\" stroke-dasharray=\"4 3\"");
    svg += "<text transform=\"translate(" + Px(x + 3) + "," + Px(kTop + 4) +
           ") rotate(90)\" stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\">" + Escape(label) +
           "</text>\n";
    i = j;
  }
  svg += "</g>\n";
}

// Events as numbered marks above the chart, with their titles listed under it in two columns; returns the
// height the list takes.
double DrawNumberedEvents(std::string& svg, const std::vector<PlotEvent>& events,
                          const std::function<double(double)>& xOf) {
  svg += "<g font-size=\"11\">\n";
  double previous = -1e9;
  int shift = 0;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const double x = xOf(events[i].time);
    shift = x - previous < 20 ? (shift + 1) % 2 : 0;  // a mark close to the last one stands lower
    previous = x;
    const double cy = kTop - 26 + shift * 17;
    svg += Line(x, cy + 8, x, kPlotBottom, "stroke=\"#888\" stroke-dasharray=\"4 3\"");
    svg += "<circle cx=\"" + Px(x) + "\" cy=\"" + Px(cy) + "\" r=\"8\" fill=\"#444\"/>\n";
    svg += Text(x, cy + 4, std::to_string(i + 1), "text-anchor=\"middle\" fill=\"white\" font-size=\"10\"");
  }
  const std::size_t rows = (events.size() + 1) / 2;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const double x = kLeft + (i < rows ? 0 : 420);
    const double y = kPlotBottom + 74 + static_cast<double>(i % rows) * 17;
    svg += Text(x, y, std::to_string(i + 1) + ".", "font-weight=\"bold\"");
    std::string title = events[i].label;
    if (title.size() > 60) title = title.substr(0, 57) + "...";
    svg += Text(x + 22, y, title);
  }
  svg += "</g>\n";
  return static_cast<double>(rows) * 17 + 20;
}

}  // namespace

std::vector<double> NiceTicks(double lo, double hi, int target) {
  std::vector<double> ticks;
  if (!std::isfinite(lo) || !std::isfinite(hi) || hi <= lo || target < 1) return ticks;
  const double rough = (hi - lo) / target;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  const double fraction = rough / power;
  const double step = (fraction < 1.5 ? 1 : fraction < 3 ? 2 : fraction < 7 ? 5 : 10) * power;
  const auto first = static_cast<long long>(std::ceil(lo / step - 1e-9));
  const auto last = static_cast<long long>(std::floor(hi / step + 1e-9));
  for (long long i = first; i <= last; ++i) ticks.push_back(static_cast<double>(i) * step);
  return ticks;
}

std::string HeadPlotSvg(const HeadPlot& plot) {
  double t0 = std::numeric_limits<double>::infinity();
  double t1 = -t0;
  auto cover = [&](double t) {
    t0 = std::min(t0, t);
    t1 = std::max(t1, t);
  };
  for (const HeadSample& s : plot.samples) cover(s.time);
  for (const PlotEvent& e : plot.events) cover(e.time);
  if (!std::isfinite(t0)) t0 = t1 = 0;
  t0 = std::min(t0, 0.0);
  if (t1 - t0 < 1e-9) t1 = t0 + 1;
  const Axis time = MakeAxis(t0, t1, 10);
  const std::function<double(double)> xOf = [&](double t) {
    return kLeft + (t - time.lo) / (time.hi - time.lo) * (kRight - kLeft);
  };
  std::vector<PlotEvent> events = plot.events;
  std::stable_sort(events.begin(), events.end(),
                   [](const PlotEvent& a, const PlotEvent& b) { return a.time < b.time; });

  std::string chart;
  chart += Text(kLeft, kTop - 50, "Head position (m)", "font-weight=\"bold\"");
  for (std::size_t k = 0; k < 3; ++k) {
    const double top = kTop + static_cast<double>(k) * (kLaneHeight + kLaneGap);
    DrawBox(chart, plot, Box{k, k, top, kLaneHeight, k == 2}, time, xOf);
  }
  chart += Text(kLeft, kRotationTop - 10, "Head rotation (degrees)", "font-weight=\"bold\"");
  DrawBox(chart, plot, Box{3, 5, kRotationTop, kPanelHeight, true}, time, xOf);
  chart += Text((kLeft + kRight) / 2, kPlotBottom + 40, "simulated time (s)", "text-anchor=\"middle\"");
  double height = kPlotBottom + 60;
  if (plot.numberedEvents) {
    height += DrawNumberedEvents(chart, events, xOf);
  } else {
    DrawLabelledEvents(chart, events, xOf);
  }

  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Px(kWidth) + "\" height=\"" +
                    Px(height) + "\" viewBox=\"0 0 " + Px(kWidth) + " " + Px(height) +
                    "\" font-family=\"sans-serif\" font-size=\"12\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  svg += Text(kWidth / 2, 22, plot.title.empty() ? "Head" : plot.title,
              "text-anchor=\"middle\" font-size=\"16\" font-weight=\"bold\"");
  return svg + chart + "</svg>\n";
}

}  // namespace sim::render
