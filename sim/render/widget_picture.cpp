#include "widget_picture.h"

#include <algorithm>
#include <optional>

#include "XPStandardWidgets.h"
#include "svg.h"
#include "widgets.h"

namespace sim::render {
namespace {

// X-Plane's standard widget colours: a blue-grey window under a darker title bar, lighter recessed panels,
// light bevelled buttons with dark text, pale text fields, captions in dark text unless lit.
constexpr const char* kScreen = "#15191d";
constexpr const char* kWindowBody = "#5d6770";
constexpr const char* kWindowEdge = "#1c2126";
constexpr const char* kPanel = "#8e98a1";
constexpr const char* kPanelShade = "#3b434a";
constexpr const char* kPanelLight = "#c3cbd2";
constexpr const char* kInk = "#101418";
constexpr const char* kLitInk = "#f2f5f7";
constexpr const char* kDisabledInk = "#5a6168";
constexpr int kTitleHeight = 18;
constexpr int kMargin = 8;  // around a window pictured alone

constexpr const char* kDefs =
    "<defs>\n"
    "<linearGradient id=\"title\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
    "<stop offset=\"0\" stop-color=\"#4a5763\"/><stop offset=\"1\" stop-color=\"#2b333b\"/>"
    "</linearGradient>\n"
    "<linearGradient id=\"button\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
    "<stop offset=\"0\" stop-color=\"#f1f3f4\"/><stop offset=\"1\" stop-color=\"#aeb4ba\"/>"
    "</linearGradient>\n"
    "</defs>\n";

std::string N(int value) {
  return std::to_string(value);
}

// SDK y grows upward; the picture's downward from `originY`. `originX` is the picture's left edge.
struct Frame {
  int originX = 0;
  int originY = 0;
  int X(int x) const { return x - originX; }
  int Y(int y) const { return originY - y; }
};

std::string Rect(int x, int y, int w, int h, const std::string& attributes) {
  return "<rect x=\"" + N(x) + "\" y=\"" + N(y) + "\" width=\"" + N(std::max(w, 0)) + "\" height=\"" +
         N(std::max(h, 0)) + "\" " + attributes + "/>\n";
}

std::string Line(int x1, int y1, int x2, int y2, const char* colour) {
  return "<line x1=\"" + N(x1) + "\" y1=\"" + N(y1) + "\" x2=\"" + N(x2) + "\" y2=\"" + N(y2) +
         "\" stroke=\"" + colour + "\"/>\n";
}

std::string Text(double x, double y, std::string_view text, const std::string& attributes) {
  if (text.empty()) return {};
  return "<text x=\"" + Fixed(x, 1) + "\" y=\"" + Fixed(y, 1) + "\" " + attributes +
         " xml:space=\"preserve\">" + Escape(text) + "</text>\n";
}

// The baseline that centres 10-pixel text in a box from `top` down to `bottom` (picture coordinates).
double Baseline(int top, int bottom) {
  return (top + bottom) / 2.0 + 3.5;
}

void CloseBox(std::string& svg, int x, int y) {
  svg += Rect(x, y, 12, 12, "rx=\"2\" fill=\"#c9ced3\" stroke=\"#14181b\"");
  svg += "<path d=\"M" + N(x + 3) + " " + N(y + 3) + "l6 6M" + N(x + 9) + " " + N(y + 3) +
         "l-6 6\" stroke=\"#14181b\" stroke-width=\"1.6\"/>\n";
}

void MainWindow(std::string& svg, const WidgetLook& w, const Frame& f) {
  const int x = f.X(w.left), y = f.Y(w.top), width = w.right - w.left, height = w.top - w.bottom;
  svg +=
      Rect(x, y, width, height, "fill=\"" + std::string(kWindowBody) + "\" stroke=\"" + kWindowEdge + "\"");
  svg += Rect(x + 1, y + 1, width - 2, kTitleHeight, "fill=\"url(#title)\"");
  svg += Line(x + 1, y + kTitleHeight + 1, x + width - 1, y + kTitleHeight + 1, kWindowEdge);
  svg += Text(x + width / 2.0, y + 14, w.descriptor,
              "text-anchor=\"middle\" font-weight=\"bold\" fill=\"" + std::string(kLitInk) + "\"");
  if (w.closeBoxes) {
    CloseBox(svg, x + 4, y + 4);
    CloseBox(svg, x + width - 16, y + 4);
  }
}

void SubWindow(std::string& svg, const WidgetLook& w, const Frame& f) {
  const int x = f.X(w.left), y = f.Y(w.top), width = w.right - w.left, height = w.top - w.bottom;
  svg += Rect(x, y, width, height, "fill=\"" + std::string(kPanel) + "\"");
  svg += Line(x, y, x + width, y, kPanelShade);
  svg += Line(x, y, x, y + height, kPanelShade);
  svg += Line(x, y + height, x + width, y + height, kPanelLight);
  svg += Line(x + width, y, x + width, y + height, kPanelLight);
}

const char* InkOf(const WidgetLook& w) {
  return !w.enabled ? kDisabledInk : w.lit ? kLitInk : kInk;
}

void Button(std::string& svg, const WidgetLook& w, const Frame& f) {
  const int x = f.X(w.left), y = f.Y(w.top), width = w.right - w.left, height = w.top - w.bottom;
  const bool box = w.buttonType == xpRadioButton || w.buttonBehavior == xpButtonBehaviorCheckBox ||
                   w.buttonBehavior == xpButtonBehaviorRadioButton;
  if (!box) {
    svg += Rect(x, y + 1, width, height - 2, "rx=\"3\" fill=\"url(#button)\" stroke=\"#262b30\"");
    svg += Text(x + width / 2.0, Baseline(y, y + height), w.descriptor,
                "text-anchor=\"middle\" fill=\"" + std::string(InkOf(w)) + "\"");
    return;
  }
  // A check box: a small recessed square at the left of the widget's box, ticked in green when set.
  const int size = 12;
  const int bx = x + 5, by = y + (height - size) / 2;
  svg += Rect(bx, by, size, size, "rx=\"2\" fill=\"#262d33\" stroke=\"#0e1114\"");
  svg += Line(bx + 1, by + size, bx + size, by + size, kPanelLight);
  if (w.buttonState != 0) {
    svg += "<path d=\"M" + N(bx + 2) + " " + N(by + 6) +
           "l3 3.5l5 -7\" fill=\"none\" stroke=\"#7dff5a\" "
           "stroke-width=\"2\" stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n";
  }
  svg += Text(bx + size + 4, Baseline(y, y + height), w.descriptor, "fill=\"" + std::string(InkOf(w)) + "\"");
}

void TextField(std::string& svg, const WidgetLook& w, const Frame& f, int index) {
  const int x = f.X(w.left), y = f.Y(w.top), width = w.right - w.left, height = w.top - w.bottom;
  svg += Rect(x, y + 2, width, height - 4, "fill=\"#eef0e8\" stroke=\"#2b3137\"");
  svg += Line(x + 1, y + 3, x + width - 1, y + 3, "#8a9096");
  // The field shows what fits, as X-Plane scrolls a longer text out of sight.
  const std::string clip = "field" + N(index);
  svg += "<clipPath id=\"" + clip + "\">" + Rect(x + 2, y + 2, width - 4, height - 4, "") + "</clipPath>\n";
  svg +=
      Text(x + 4, Baseline(y, y + height), w.descriptor,
           "clip-path=\"url(#" + clip + ")\" fill=\"" + std::string(w.enabled ? kInk : kDisabledInk) + "\"");
}

void Caption(std::string& svg, const WidgetLook& w, const Frame& f) {
  const int x = f.X(w.left), y = f.Y(w.top), height = w.top - w.bottom;
  svg += Text(x, Baseline(y, y + height), w.descriptor, "fill=\"" + std::string(InkOf(w)) + "\"");
}

void Other(std::string& svg, const WidgetLook& w, const Frame& f) {
  const int x = f.X(w.left), y = f.Y(w.top);
  svg += Rect(x, y, w.right - w.left, w.top - w.bottom,
              "fill=\"none\" stroke=\"#d0d4d8\" stroke-dasharray=\"3 2\"");
}

void Draw(std::string& svg, const WindowLook& window, const Frame& f, int& index) {
  for (const WidgetLook& w : window) {
    ++index;
    switch (w.widgetClass) {
      case xpWidgetClass_MainWindow:
        MainWindow(svg, w, f);
        break;
      case xpWidgetClass_SubWindow:
        SubWindow(svg, w, f);
        break;
      case xpWidgetClass_Button:
        Button(svg, w, f);
        break;
      case xpWidgetClass_TextField:
        TextField(svg, w, f, index);
        break;
      case xpWidgetClass_Caption:
        Caption(svg, w, f);
        break;
      default:
        Other(svg, w, f);
    }
  }
}

std::string Head(int width, int height) {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + N(width) + "\" height=\"" + N(height) +
         "\" viewBox=\"0 0 " + N(width) + " " + N(height) +
         "\" font-family=\"Arial Narrow, DejaVu Sans Condensed, sans-serif\" font-stretch=\"condensed\" "
         "font-size=\"10\">\n" +
         kDefs + Rect(0, 0, width, height, "fill=\"" + std::string(kScreen) + "\"");
}

int Property(const Widgets& widgets, XPWidgetID id, XPWidgetPropertyID property, int otherwise) {
  int exists = 0;
  const intptr_t value = widgets.getProperty(id, property, &exists);
  return exists != 0 ? static_cast<int>(value) : otherwise;
}

}  // namespace

WindowLook LookOf(const Widgets& widgets, XPWidgetID window) {
  WindowLook look;
  for (const WidgetInfo& info : widgets.tree(window)) {
    if (!info.visible) {
      if (info.id == window) return {};
      continue;
    }
    WidgetLook w(info);
    w.buttonType = Property(widgets, info.id, xpProperty_ButtonType, 0);
    w.buttonBehavior = Property(widgets, info.id, xpProperty_ButtonBehavior, 0);
    w.buttonState = Property(widgets, info.id, xpProperty_ButtonState, 0);
    w.closeBoxes = info.widgetClass == xpWidgetClass_MainWindow &&
                   Property(widgets, info.id, xpProperty_MainWindowHasCloseBoxes, 0) != 0;
    w.lit = info.widgetClass == xpWidgetClass_Caption &&
            Property(widgets, info.id, xpProperty_CaptionLit, 0) != 0;
    w.enabled = Property(widgets, info.id, xpProperty_Enabled, 1) != 0;
    // The window comes first whatever its place among the widgets made before it.
    if (info.id == window) {
      look.insert(look.begin(), w);
    } else {
      look.push_back(w);
    }
  }
  return look;
}

std::vector<WindowLook> VisibleWindows(const Widgets& widgets) {
  std::vector<WindowLook> windows;
  std::optional<WindowLook> front;
  for (XPWidgetID id : widgets.windows()) {
    WindowLook look = LookOf(widgets, id);
    if (look.empty()) continue;
    if (widgets.isInFront(id) != 0) {
      front = std::move(look);
    } else {
      windows.push_back(std::move(look));
    }
  }
  if (front) windows.push_back(std::move(*front));
  return windows;
}

std::string ScreenSvg(const std::vector<WindowLook>& windows) {
  std::string svg = Head(kScreenWidth, kScreenHeight);
  const Frame frame{0, kScreenHeight};
  int index = 0;
  for (const WindowLook& window : windows) Draw(svg, window, frame, index);
  return svg + "</svg>\n";
}

std::string WindowSvg(const WindowLook& window) {
  if (window.empty()) return ScreenSvg({});
  const WidgetLook& main = window.front();
  const int width = main.right - main.left + 2 * kMargin;
  const int height = main.top - main.bottom + 2 * kMargin;
  std::string svg = Head(width, height);
  int index = 0;
  Draw(svg, window, Frame{main.left - kMargin, main.top + kMargin}, index);
  return svg + "</svg>\n";
}

}  // namespace sim::render
