// The SVG chart of the head datarefs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "head_plot.h"

namespace sim::render {
namespace {

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(HeadPlot, TicksAreRoundAndCoverTheRange) {
  EXPECT_EQ(NiceTicks(0, 1, 5), (std::vector<double>{0, 0.2, 0.4, 0.6000000000000001, 0.8, 1}));
  EXPECT_EQ(NiceTicks(-3, 17, 4), (std::vector<double>{0, 5, 10, 15}));
  EXPECT_EQ(NiceTicks(0, 0.1, 10).size(), 11u);
  EXPECT_TRUE(NiceTicks(1, 1, 5).empty());
  EXPECT_TRUE(NiceTicks(0, NAN, 5).empty());
}

TEST(HeadPlot, DrawsSixSeriesLegendsAxesAndEvents) {
  HeadPlot plot;
  plot.title = "demo <1> & more";
  for (int i = 0; i <= 100; ++i) {
    HeadSample s;
    s.time = i * 0.02;
    s.values = {0.1 * i / 100, 1.0, -4.0, 10.0 * std::sin(i / 10.0), 45.0 * i / 100, 0};
    if (i == 50) s.values[0] = NAN;  // an unreadable value breaks the line
    plot.samples.push_back(s);
  }
  plot.events = {{0, "start"}, {1.0, "key F1"}, {1.001, "set \"x\" <y>"}, {1.5, "command once a/b"}};
  const std::string svg = HeadPlotSvg(plot);
  EXPECT_TRUE(svg.starts_with("<svg xmlns=\"http://www.w3.org/2000/svg\""));
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
  EXPECT_EQ(Count(svg, "<polyline"), 7);  // six series, one of them in two pieces
  for (const char* name : kHeadDataRefs) {
    const std::string shortName = std::string(name).substr(std::string(name).rfind('/') + 1);
    EXPECT_EQ(Count(svg, ">" + shortName + "</text>"), 1) << shortName;
  }
  EXPECT_NE(svg.find("demo &lt;1&gt; &amp; more"), std::string::npos);
  EXPECT_NE(svg.find(">start</text>"), std::string::npos);
  // Events too close to tell apart share one label.
  EXPECT_NE(svg.find(">key F1; set &quot;x&quot; &lt;y&gt;</text>"), std::string::npos);
  EXPECT_EQ(Count(svg, "stroke-dasharray"), 3);
  EXPECT_NE(svg.find(">simulated time (s)</text>"), std::string::npos);
  EXPECT_NE(svg.find(">2.0</text>"), std::string::npos);  // a time tick
  EXPECT_NE(svg.find(">40</text>"), std::string::npos);   // a rotation tick
  EXPECT_NE(svg.find(">-10</text>"), std::string::npos);
  EXPECT_EQ(svg.find("nan"), std::string::npos);
  EXPECT_EQ(svg.find("inf"), std::string::npos);
  EXPECT_EQ(Count(svg, "<text"), Count(svg, "</text>"));
}

TEST(HeadPlot, EmptyAndFlatDataStillDrawAnAxis) {
  const std::string empty = HeadPlotSvg({});
  EXPECT_NE(empty.find("no cycles were run"), std::string::npos);
  EXPECT_EQ(empty.find("nan"), std::string::npos);
  HeadPlot flat;
  for (int i = 0; i < 3; ++i) flat.samples.push_back({i * 0.5, {0, 0, 0, 0, 0, 0}});
  const std::string svg = HeadPlotSvg(flat);
  EXPECT_EQ(Count(svg, "<polyline"), 6);
  EXPECT_EQ(svg.find("nan"), std::string::npos);
  EXPECT_NE(svg.find(">0.0</text>"), std::string::npos);
}

}  // namespace
}  // namespace sim::render
