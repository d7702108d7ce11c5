// Widgets of the simulated host (XPWidgets and the standard widget classes).
//
// Widget ids are never reused; a call on a null, unknown or destroyed id is ignored and reads give 0.
// XPGetWidgetDescriptor copies with strncpy semantics and returns the descriptor's whole length.
// Callbacks added with XPAddWidgetCallback run newest first, before the class's own behaviour.
// The host acts as the user: a click on a push button sends xpMsg_PushButtonPressed; on a check box it flips
// xpProperty_ButtonState first and then sends xpMsg_ButtonStateChanged with the new state in param2 (a radio
// button is set to 1); both go up the chain, the widget's callbacks first, then its parent's, until one
// returns 1. Typing replaces a text field's descriptor and sends xpMsg_TextFieldChanged up the chain. The close
// box sends xpMessage_CloseButtonPushed to its main window only. The user can reach only widgets that are
// visible (the widget and all its parents shown) and not disabled (xpProperty_Enabled set to 0).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "XPWidgets.h"
#include "host.h"

namespace sim {

struct WidgetInfo {
  XPWidgetID id = nullptr;
  XPWidgetClass widgetClass = 0;
  int left = 0, top = 0, right = 0, bottom = 0;  // screen pixels, y up
  std::string descriptor;
  bool ownVisible = false;  // the widget's own shown flag
  bool visible = false;     // shown with all its parents
  bool isRoot = false;
  XPWidgetID parent = nullptr;
  PluginId owner = 0;
};

// How a user action ended.
enum class UserAction { Delivered, NoWidget, NotReachable, WrongKind };

class Widgets {
 public:
  explicit Widgets(Host& host);
  ~Widgets();

  // C API (XPWidgets.h) is implemented on top of these.
  XPWidgetID create(int left, int top, int right, int bottom, int visible, const char* descriptor, int isRoot,
                    XPWidgetID container, XPWidgetClass widgetClass, XPWidgetFunc_t customCallback);
  void destroy(XPWidgetID id, int destroyChildren);
  int send(XPWidgetID id, XPWidgetMessage message, XPDispatchMode mode, intptr_t param1, intptr_t param2);
  void show(XPWidgetID id);
  void hide(XPWidgetID id);
  int isVisible(XPWidgetID id) const;
  void setDescriptor(XPWidgetID id, const char* text);
  int getDescriptor(XPWidgetID id, char* out, int maxLength) const;
  void setProperty(XPWidgetID id, XPWidgetPropertyID property, intptr_t value);
  intptr_t getProperty(XPWidgetID id, XPWidgetPropertyID property, int* exists) const;
  void addCallback(XPWidgetID id, XPWidgetFunc_t callback);
  // ... and the rest of XPWidgets.h (geometry, children, focus) in widgets.cpp.

  // Driver API. A window is a root widget named by its descriptor (the first live one in creation order).
  XPWidgetID findWindow(std::string_view caption) const;
  // The K-th (from 1) descendant of the window with that descriptor, in creation order.
  XPWidgetID findByCaption(XPWidgetID window, std::string_view caption, int k = 1) const;
  // The first descendant whose left and top edges lie dl pixels right of and dt pixels below the window's.
  XPWidgetID findAt(XPWidgetID window, int dl, int dt) const;
  std::optional<WidgetInfo> info(XPWidgetID id) const;
  std::vector<WidgetInfo> tree(XPWidgetID window) const;  // the window and its descendants, creation order
  std::vector<XPWidgetID> windows() const;                  // live root widgets, creation order
  UserAction click(XPWidgetID id);
  UserAction type(XPWidgetID id, std::string_view text);
  UserAction close(XPWidgetID window);
  std::vector<std::string> registrations(PluginId owner) const;  // live root widgets (with their children)

 private:
  struct Widget;
  Widget* get(XPWidgetID id) const;
  Host& host_;
  std::vector<std::unique_ptr<Widget>> widgets_;  // index + 1 is the id; destroyed ones stay as tombstones
};

}  // namespace sim
