// Widgets of the simulated host (XPWidgets and the standard widget classes).
//
// Widget ids are never reused; a call on a null, unknown or destroyed id is ignored and reads give 0.
// XPGetWidgetDescriptor copies with strncpy semantics and returns the descriptor's whole length.
// Callbacks added with XPAddWidgetCallback run newest first, before the class's own behaviour.
// The host acts as the user: a click on a push button sends xpMsg_PushButtonPressed; on a check box it flips
// xpProperty_ButtonState first and then sends xpMsg_ButtonStateChanged with the new state in param2 (a radio
// button is set to 1); both go up the chain, the widget's callbacks first, then its parent's, until one
// returns 1. Typing replaces a text field's descriptor and sends xpMsg_TextFieldChanged up the chain. The
// close box sends xpMessage_CloseButtonPushed to its main window only. The user can reach only widgets that
// are visible (the widget and all its parents shown) and not disabled (xpProperty_Enabled set to 0).
//
// Where the SDK documentation is silent:
// - A click is delivered as the mouse would deliver it: xpMsg_MouseDown up the chain from the button, then
//   xpMsg_MouseUp to the widget that took the press. The button class reacts on the release, so a callback
//   that swallows the press keeps the button from acting (a click still counts as delivered).
// - A widget is visible only in a rooted hierarchy: a widget without a root at the top of its parents (an
//   orphan left by XPDestroyWidget(parent, 0), or one created without a container) is not visible.
// - XPShowWidget/XPHideWidget send xpMsg_Shown/xpMsg_Hidden up the chain only when the own flag changes;
//   XPSetWidgetGeometry sends xpMsg_Reshape up the chain only when the box changes, and leaves the children
//   where they are. Property and descriptor changes go direct to the widget, every time.
// - Creating a widget inside a container, and XPPlaceWidgetWithin, send xpMsg_AcceptParent to the widget and
//   xpMsg_AcceptChild to the new parent (xpMsg_LoseChild to the old one).
// - Destroying a widget sends xpMsg_Destroy to every one of its callbacks (param1 1 for children destroyed
//   with it, 0 for the widget named), children first; orphaned children get xpMsg_AcceptParent with 0.
// - xpMode_Recursive sends to the widget and then every descendant, depth first, whoever handles it; the
//   result says whether any of them did.
// - A standard class rejects an unknown class number (XPCreateWidget gives null). A root widget has no
//   parent even when a container is given. The newest root is in front.
// - The text field class accepts keyboard focus when enabled; the other classes refuse it. A typed text is
// cut
//   to xpProperty_MaxCharacters when that is set and positive.
// - XPGetWidgetForLocation tests x in [left, right) and y in [bottom, top); later siblings lie on top.
// - XPGetWidgetUnderlyingWindow gives null: the host draws no windows.
// - A disabled plugin's widgets (host.h, "A disabled plugin") keep their state but are out of the user's
//   reach and not drawn (WidgetInfo::visible is false), and none of its widget callbacks gets a message
//   unless its own code sends it, as XPluginStop destroying its windows does.
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
  XPWidgetClass widgetClass = 0;                 // 0 for a custom widget
  int left = 0, top = 0, right = 0, bottom = 0;  // screen pixels, y up
  std::string descriptor;
  bool ownVisible = false;  // the widget's own shown flag
  bool visible = false;     // shown with all its parents, and its plugin enabled: what the user sees
  bool isRoot = false;
  XPWidgetID parent = nullptr;
  PluginId owner = 0;
  int depth = 0;  // in tree(): 0 for the window, 1 for its children, ...
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
  static XPWidgetFunc_t classFunction(XPWidgetClass widgetClass);  // null for an unknown class
  void placeWithin(XPWidgetID id, XPWidgetID container);
  int countChildren(XPWidgetID id) const;
  XPWidgetID nthChild(XPWidgetID id, int index) const;
  XPWidgetID parent(XPWidgetID id) const;
  XPWidgetID findRoot(XPWidgetID id) const;  // null when the widget is not in a rooted hierarchy
  void bringRootToFront(XPWidgetID id);
  int isInFront(XPWidgetID id) const;
  void getGeometry(XPWidgetID id, int* left, int* top, int* right, int* bottom) const;
  void setGeometry(XPWidgetID id, int left, int top, int right, int bottom);
  XPWidgetID widgetForLocation(XPWidgetID container, int x, int y, int recursive, int visibleOnly) const;
  void exposedGeometry(XPWidgetID id, int* left, int* top, int* right, int* bottom) const;
  XPWidgetID setKeyboardFocus(XPWidgetID id);
  void loseKeyboardFocus(XPWidgetID id);
  XPWidgetID keyboardFocus() const;

  // Driver API. A window is a root widget named by its descriptor (the first live one in creation order).
  XPWidgetID findWindow(std::string_view caption) const;
  // The K-th (from 1) descendant of the window with that descriptor, in creation order.
  XPWidgetID findByCaption(XPWidgetID window, std::string_view caption, int k = 1) const;
  // The first descendant whose left and top edges lie dl pixels right of and dt pixels below the window's.
  XPWidgetID findAt(XPWidgetID window, int dl, int dt) const;
  std::optional<WidgetInfo> info(XPWidgetID id) const;
  std::vector<WidgetInfo> tree(XPWidgetID window) const;  // the window and its descendants, creation order
  std::vector<XPWidgetID> windows() const;                // live root widgets, creation order
  UserAction click(XPWidgetID id);
  UserAction type(XPWidgetID id, std::string_view text);
  UserAction close(XPWidgetID window);
  // One text per live widget at the top of a hierarchy (a root window, or an orphan) that the plugin made.
  std::vector<std::string> registrations(PluginId owner) const;
  // The plugin is unloaded: its widgets and the callbacks it added go, without messages (its code is gone).
  void removePlugin(PluginId owner);
  // Calls plugin code made on widgets it had destroyed (ignored here, a crash waiting to happen in X-Plane).
  int staleCalls() const { return staleCalls_; }

  // What a host checkpoint keeps of them, and putting it back (host.h, Host::Checkpoint).
  struct Saved;
  std::shared_ptr<const Saved> save();
  // Looks only at the widgets changed since (touch); matches compares them all, to check that.
  void restore(const Saved& saved);
  bool matches(const Saved& saved) const;
  // The button class's reaction to a completed press (used by the class function).
  void pressButton(XPWidgetID id);

 private:
  struct Widget;
  Widget* get(XPWidgetID id) const;
  bool isDescendant(const Widget* widget, const Widget* ancestor) const;
  bool reachable(const Widget* widget) const;
  int dispatch(Widget* widget, XPWidgetMessage message, intptr_t param1, intptr_t param2, bool allCallbacks);
  int sendUpChain(Widget* widget, XPWidgetMessage message, intptr_t param1, intptr_t param2,
                  Widget** handledBy = nullptr);
  int sendRecursive(Widget* widget, XPWidgetMessage message, intptr_t param1, intptr_t param2);
  void destroyOne(Widget* widget, bool byParent, bool destroyChildren);
  void detach(Widget* widget);
  void attach(Widget* widget, Widget* parent);
  WidgetInfo describe(const Widget& widget, int depth) const;
  Host& host_;
  std::vector<std::unique_ptr<Widget>> widgets_;  // index + 1 is the id; destroyed ones stay as tombstones
  // The widgets not destroyed, in the order they were made: what the searches walk, so that a long run's
  // tombstones cost nothing.
  std::vector<Widget*> live_;
  mutable int staleCalls_ = 0;
  std::vector<Widget*> zOrder_;  // live root widgets, front first
  Widget* focus_ = nullptr;
  // The widgets changed since the last checkpoint was taken or put back: all that restore must look at.
  void touch(Widget* widget);
  std::vector<Widget*> touched_;
  std::vector<bool> touchedFlags_;  // by index
};

}  // namespace sim
