#include "head_plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace sim::render {
namespace {

constexpr double kWidth = 1000;
constexpr double kLeft = 72, kRight = 800;  // plot area; the legends stand right of it
constexpr double kTop = 56;
constexpr double kPanelHeight = 230, kPanelGap = 56;
constexpr double kHeight = kTop + 2 * kPanelHeight + kPanelGap + 60;
constexpr std::array<const char*, 6> kColours = {"#1f77b4", "#2ca02c", "#d62728",
                                                 "#9467bd", "#ff7f0e", "#17becf"};

std::string Fixed(double value, int decimals) {
  std::array<char, 64> buffer{};
  if (std::fabs(value) < 1e-12) value = 0;  // no "-0"
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
  return std::string(buffer.data(), result.ptr);
}

std::string Px(double value) {
  return Fixed(value, 1);
}

std::string Escape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\n':
      case '\r':
      case '\t':
        escaped += ' ';
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
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

struct Panel {
  const char* title;
  std::size_t first;  // of the three series it draws
  double top;
};

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
  for (const HeadSample& s : plot.samples) {
    t0 = std::min(t0, s.time);
    t1 = std::max(t1, s.time);
  }
  for (const PlotEvent& e : plot.events) {
    t0 = std::min(t0, e.time);
    t1 = std::max(t1, e.time);
  }
  if (!std::isfinite(t0)) t0 = t1 = 0;
  t0 = std::min(t0, 0.0);
  if (t1 - t0 < 1e-9) t1 = t0 + 1;
  const Axis time = MakeAxis(t0, t1, 10);
  auto xOf = [&](double t) { return kLeft + (t - time.lo) / (time.hi - time.lo) * (kRight - kLeft); };

  std::string svg;
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Px(kWidth) + "\" height=\"" + Px(kHeight) +
         "\" viewBox=\"0 0 " + Px(kWidth) + " " + Px(kHeight) +
         "\" font-family=\"sans-serif\" font-size=\"12\">\n";
  svg += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  svg += "<text x=\"" + Px(kWidth / 2) +
         "\" y=\"24\" text-anchor=\"middle\" font-size=\"16\" font-weight=\"bold\">" +
         Escape(plot.title.empty() ? "Head" : plot.title) + "</text>\n";

  const std::array<Panel, 2> panels = {Panel{"Head position (m)", 0, kTop},
                                       Panel{"Head rotation (degrees)", 3, kTop + kPanelHeight + kPanelGap}};
  for (const Panel& panel : panels) {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (const HeadSample& s : plot.samples) {
      for (std::size_t k = panel.first; k < panel.first + 3; ++k) {
        if (!std::isfinite(s.values[k])) continue;
        lo = std::min(lo, s.values[k]);
        hi = std::max(hi, s.values[k]);
      }
    }
    if (!std::isfinite(lo)) lo = hi = 0;
    const Axis axis = MakeAxis(lo, hi, 5);
    const double bottom = panel.top + kPanelHeight;
    auto yOf = [&](double v) { return bottom - (v - axis.lo) / (axis.hi - axis.lo) * kPanelHeight; };

    svg += "<g>\n<text x=\"" + Px(kLeft) + "\" y=\"" + Px(panel.top - 8) + "\" font-weight=\"bold\">" +
           Escape(panel.title) + "</text>\n";
    // Grid and ticks.
    const int yDecimals = axis.ticks.size() > 1 ? DecimalsFor(axis.ticks[1] - axis.ticks[0]) : 2;
    for (const double v : axis.ticks) {
      const std::string y = Px(yOf(v));
      svg += "<line x1=\"" + Px(kLeft) + "\" y1=\"" + y + "\" x2=\"" + Px(kRight) + "\" y2=\"" + y +
             "\" stroke=\"#e4e4e4\"/>\n";
      svg += "<line x1=\"" + Px(kLeft - 5) + "\" y1=\"" + y + "\" x2=\"" + Px(kLeft) + "\" y2=\"" + y +
             "\" stroke=\"black\"/>\n";
      svg += "<text x=\"" + Px(kLeft - 8) + "\" y=\"" + Px(yOf(v) + 4) + "\" text-anchor=\"end\">" +
             Fixed(v, yDecimals) + "</text>\n";
    }
    const int tDecimals = time.ticks.size() > 1 ? DecimalsFor(time.ticks[1] - time.ticks[0]) : 1;
    for (const double t : time.ticks) {
      const std::string x = Px(xOf(t));
      svg += "<line x1=\"" + x + "\" y1=\"" + Px(panel.top) + "\" x2=\"" + x + "\" y2=\"" + Px(bottom) +
             "\" stroke=\"#f0f0f0\"/>\n";
      svg += "<line x1=\"" + x + "\" y1=\"" + Px(bottom) + "\" x2=\"" + x + "\" y2=\"" + Px(bottom + 5) +
             "\" stroke=\"black\"/>\n";
      svg += "<text x=\"" + x + "\" y=\"" + Px(bottom + 18) + "\" text-anchor=\"middle\">" +
             Fixed(t, tDecimals) + "</text>\n";
    }
    svg += "<rect x=\"" + Px(kLeft) + "\" y=\"" + Px(panel.top) + "\" width=\"" + Px(kRight - kLeft) +
           "\" height=\"" + Px(kPanelHeight) + "\" fill=\"none\" stroke=\"black\"/>\n";
    // The series, broken where a value is missing.
    for (std::size_t k = panel.first; k < panel.first + 3; ++k) {
      std::string points;
      auto flush = [&] {
        if (points.empty()) return;
        svg += "<polyline fill=\"none\" stroke=\"" + std::string(kColours[k]) +
               "\" stroke-width=\"1.5\" points=\"" + points + "\"/>\n";
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
      // Legend entry beside the panel.
      const double ly = panel.top + 14 + static_cast<double>(k - panel.first) * 20;
      const std::string_view name = kHeadDataRefs[k];
      svg += "<line x1=\"" + Px(kRight + 16) + "\" y1=\"" + Px(ly - 4) + "\" x2=\"" + Px(kRight + 40) +
             "\" y2=\"" + Px(ly - 4) + "\" stroke=\"" + kColours[k] + "\" stroke-width=\"3\"/>\n";
      svg += "<text x=\"" + Px(kRight + 46) + "\" y=\"" + Px(ly) + "\">" +
             Escape(name.substr(name.rfind('/') + 1)) + "</text>\n";
    }
    if (plot.samples.empty()) {
      svg += "<text x=\"" + Px((kLeft + kRight) / 2) + "\" y=\"" + Px(panel.top + kPanelHeight / 2) +
             "\" text-anchor=\"middle\" fill=\"#888\">no cycles were run</text>\n";
    }
    svg += "</g>\n";
  }
  const double plotBottom = kTop + 2 * kPanelHeight + kPanelGap;
  svg += "<text x=\"" + Px((kLeft + kRight) / 2) + "\" y=\"" + Px(plotBottom + 40) +
         "\" text-anchor=\"middle\">simulated time (s)</text>\n";

  // Events: a dashed line through both panels, labelled along it; events closer than a label's height share
  // it.
  std::vector<PlotEvent> events = plot.events;
  std::stable_sort(events.begin(), events.end(),
                   [](const PlotEvent& a, const PlotEvent& b) { return a.time < b.time; });
  svg += "<g font-size=\"10\" fill=\"#444\">\n";
  for (std::size_t i = 0; i < events.size();) {
    const double x = xOf(events[i].time);
    std::string label = events[i].label;
    std::size_t j = i + 1;
    for (; j < events.size() && xOf(events[j].time) - x < 12; ++j) label += "; " + events[j].label;
    if (label.size() > 90) label = label.substr(0, 87) + "...";
    svg += "<line x1=\"" + Px(x) + "\" y1=\"" + Px(kTop) + "\" x2=\"" + Px(x) + "\" y2=\"" + Px(plotBottom) +
           "\" stroke=\"#888\" stroke-dasharray=\"4 3\"/>\n";
    svg += "<text transform=\"translate(" + Px(x + 3) + "," + Px(kTop + 4) +
           ") rotate(90)\" stroke=\"white\" stroke-width=\"3\" paint-order=\"stroke\">" + Escape(label) +
           "</text>\n";
    i = j;
  }
  svg += "</g>\n</svg>\n";
  return svg;
}

}  // namespace sim::render
