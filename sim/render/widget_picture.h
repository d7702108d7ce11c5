// Pictures of the host's widget windows as self-contained SVG, drawn the way X-Plane draws its standard
// widgets: a main window with its title bar and close boxes, sub-windows as recessed panels, push buttons,
// check boxes ticked or not, text fields with their text and captions, each at its own screen coordinates.
// Only what the user would see is drawn: a widget hidden, or inside a hidden parent, is left out.
#pragma once

#include <string>
#include <vector>

#include "XPWidgetDefs.h"
#include "widgets.h"

namespace sim::render {

// The simulated screen: the smallest window X-Plane opens, in which every window of the plugin fits.
inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 768;

// One widget as the picture needs it: what the host tells of it (screen pixels with y growing upward, as in
// the SDK) and the properties that change its look.
struct WidgetLook : WidgetInfo {
  explicit WidgetLook(const WidgetInfo& info) : WidgetInfo(info) {}
  int buttonType = 0;       // xpProperty_ButtonType
  int buttonBehavior = 0;   // xpProperty_ButtonBehavior
  int buttonState = 0;      // xpProperty_ButtonState
  bool closeBoxes = false;  // xpProperty_MainWindowHasCloseBoxes
  bool lit = false;         // xpProperty_CaptionLit
  bool enabled = true;      // xpProperty_Enabled, where it was set
};

// A window: its main widget first, then the visible widgets inside it in creation order (later on top).
using WindowLook = std::vector<WidgetLook>;

// What the user sees of a root widget; empty when the window itself is not visible.
WindowLook LookOf(const Widgets& widgets, XPWidgetID window);
// Every visible window of the host, back to front.
std::vector<WindowLook> VisibleWindows(const Widgets& widgets);

// The windows on the dark screen of kScreenWidth by kScreenHeight.
std::string ScreenSvg(const std::vector<WindowLook>& windows);
// One window alone, cut out of the screen with a narrow dark margin.
std::string WindowSvg(const WindowLook& window);

}  // namespace sim::render
