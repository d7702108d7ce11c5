// The widget tree and its messages: life and death, hierarchy, state, geometry, focus, checkpoints.
#include "widgets_internal.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <utility>

namespace sim {

// Copies of the widgets in place; the pointers between them stay valid because a widget's object never
// moves while the host lives.
struct Widgets::Saved {
  std::vector<Widget> widgets;
  std::vector<Widget*> live;
  std::vector<Widget*> zOrder;
  Widget* focus = nullptr;
  int staleCalls = 0;
};

std::shared_ptr<const Widgets::Saved> Widgets::save() {
  for (Widget* widget : touched_) touchedFlags_[reinterpret_cast<uintptr_t>(widget->id) - 1] = false;
  touched_.clear();
  auto saved = std::make_shared<Saved>();
  saved->widgets.reserve(widgets_.size());
  for (const auto& widget : widgets_) saved->widgets.push_back(*widget);
  saved->live = live_;
  saved->zOrder = zOrder_;
  saved->focus = focus_;
  saved->staleCalls = staleCalls_;
  return saved;
}

bool Widgets::matches(const Saved& saved) const {
  if (widgets_.size() != saved.widgets.size() || live_ != saved.live || zOrder_ != saved.zOrder ||
      focus_ != saved.focus) {
    return false;
  }
  for (std::size_t i = 0; i < widgets_.size(); ++i) {
    if (!(*widgets_[i] == saved.widgets[i])) return false;
  }
  return true;
}

void Widgets::touch(Widget* widget) {
  const auto index = reinterpret_cast<uintptr_t>(widget->id) - 1;
  if (touchedFlags_.size() <= index) touchedFlags_.resize(widgets_.size());
  if (touchedFlags_[index]) return;
  touchedFlags_[index] = true;
  touched_.push_back(widget);
}

void Widgets::restore(const Saved& saved) {
  // Widgets made since are forgotten with their ids, as if they had never been made.
  for (Widget* widget : touched_) {
    const auto index = reinterpret_cast<uintptr_t>(widget->id) - 1;
    touchedFlags_[index] = false;
    if (index < saved.widgets.size() && !(*widget == saved.widgets[index])) *widget = saved.widgets[index];
  }
  touched_.clear();
  widgets_.resize(saved.widgets.size());
  if (live_ != saved.live) live_ = saved.live;
  if (zOrder_ != saved.zOrder) zOrder_ = saved.zOrder;
  focus_ = saved.focus;
  staleCalls_ = saved.staleCalls;
}

namespace {

Widgets* Current() {
  Host* host = Host::current();
  return host != nullptr ? &host->widgets() : nullptr;
}

// The standard classes' own functions. The host draws nothing, so they only carry the behaviour a user or a
// plugin can observe: buttons react to a press, text fields take keyboard focus.
// The classes a user only looks at have no behaviour; one function per class, as X-Plane has.
template <XPWidgetClass>
int InertClass(XPWidgetMessage, XPWidgetID, intptr_t, intptr_t) {
  return 0;
}

bool Enabled(Widgets& widgets, XPWidgetID id) {
  int exists = 0;
  const intptr_t value = widgets.getProperty(id, xpProperty_Enabled, &exists);
  return exists == 0 || value != 0;
}

int ButtonClass(XPWidgetMessage message, XPWidgetID id, intptr_t, intptr_t) {
  Widgets* widgets = Current();
  if (widgets == nullptr) return 0;
  switch (message) {
    case xpMsg_MouseDown:
      if (!Enabled(*widgets, id)) return 0;
      widgets->setProperty(id, xpProperty_Hilited, 1);
      return 1;
    case xpMsg_MouseUp:
      // Only a press this button took completes a click.
      if (widgets->getProperty(id, xpProperty_Hilited, nullptr) == 0) return 0;
      widgets->setProperty(id, xpProperty_Hilited, 0);
      widgets->pressButton(id);
      return 1;
    default:
      return 0;
  }
}

int TextFieldClass(XPWidgetMessage message, XPWidgetID id, intptr_t, intptr_t) {
  Widgets* widgets = Current();
  if (widgets == nullptr) return 0;
  if (message == xpMsg_KeyTakeFocus) return Enabled(*widgets, id) ? 1 : 0;
  if (message == xpMsg_KeyLoseFocus) return 1;
  return 0;
}

XPWidgetID IdOf(std::size_t index) {
  return reinterpret_cast<XPWidgetID>(static_cast<uintptr_t>(index + 1));
}

}  // namespace

Widgets::Widgets(Host& host) : host_(host) {}
Widgets::~Widgets() = default;

XPWidgetFunc_t Widgets::classFunction(XPWidgetClass widgetClass) {
  switch (widgetClass) {
    case xpWidgetClass_MainWindow:
      return &InertClass<xpWidgetClass_MainWindow>;
    case xpWidgetClass_SubWindow:
      return &InertClass<xpWidgetClass_SubWindow>;
    case xpWidgetClass_Button:
      return &ButtonClass;
    case xpWidgetClass_TextField:
      return &TextFieldClass;
    case xpWidgetClass_ScrollBar:
      return &InertClass<xpWidgetClass_ScrollBar>;
    case xpWidgetClass_Caption:
      return &InertClass<xpWidgetClass_Caption>;
    case xpWidgetClass_GeneralGraphics:
      return &InertClass<xpWidgetClass_GeneralGraphics>;
    case xpWidgetClass_Progress:
      return &InertClass<xpWidgetClass_Progress>;
    default:
      return nullptr;
  }
}

Widgets::Widget* Widgets::get(XPWidgetID id) const {
  const auto number = reinterpret_cast<uintptr_t>(id);
  if (number == 0 || number > widgets_.size()) return nullptr;
  Widget* widget = widgets_[number - 1].get();
  if (widget->alive) return widget;
  // In X-Plane a widget id is freed memory once destroyed: a plugin that still uses one has a bug.
  if (host_.inPluginCall()) ++staleCalls_;
  return nullptr;
}

bool Widgets::isDescendant(const Widget* widget, const Widget* ancestor) const {
  for (const Widget* p = widget->parent; p != nullptr; p = p->parent) {
    if (p == ancestor) return true;
  }
  return false;
}

// --- dispatch ---

int Widgets::dispatch(Widget* widget, XPWidgetMessage message, intptr_t param1, intptr_t param2,
                      bool allCallbacks) {
  // A callback may add callbacks or destroy the widget: walk a copy and stop once the widget is gone. The
  // copy of a widget's usual few callbacks stays off the heap, so the host's own cost of a message does
  // not drown the plugin's in the per-frame measurements.
  std::array<Widget::Callback, 4> few{};
  std::vector<Widget::Callback> many;
  std::span<const Widget::Callback> callbacks;
  if (widget->callbacks.size() <= few.size()) {
    std::copy(widget->callbacks.begin(), widget->callbacks.end(), few.begin());
    callbacks = std::span<const Widget::Callback>(few.data(), widget->callbacks.size());
  } else {
    many = widget->callbacks;
    callbacks = many;
  }
  int handled = 0;
  for (const Widget::Callback& callback : callbacks) {
    if (!widget->alive) break;
    if (!host_.delivers(callback.owner)) continue;
    int result = 0;
    {
      Host::PluginCall call(host_, callback.owner);
      result = callback.function(message, widget->id, param1, param2);
    }
    if (result != 0) {
      handled = 1;
      if (!allCallbacks) break;
    }
  }
  return handled;
}

int Widgets::sendUpChain(Widget* widget, XPWidgetMessage message, intptr_t param1, intptr_t param2,
                         Widget** handledBy) {
  for (Widget* w = widget; w != nullptr && w->alive; w = w->parent) {
    if (dispatch(w, message, param1, param2, false) != 0) {
      if (handledBy != nullptr) *handledBy = w;
      return 1;
    }
    if (w->isRoot) break;
  }
  return 0;
}

int Widgets::sendRecursive(Widget* widget, XPWidgetMessage message, intptr_t param1, intptr_t param2) {
  int handled = dispatch(widget, message, param1, param2, false);
  const std::vector<Widget*> children = widget->children;
  for (Widget* child : children) {
    if (child->alive) handled |= sendRecursive(child, message, param1, param2);
  }
  return handled;
}

int Widgets::send(XPWidgetID id, XPWidgetMessage message, XPDispatchMode mode, intptr_t param1,
                  intptr_t param2) {
  Widget* widget = get(id);
  if (widget == nullptr) return 0;
  switch (mode) {
    case xpMode_Direct:
      return dispatch(widget, message, param1, param2, false);
    case xpMode_UpChain:
      return sendUpChain(widget, message, param1, param2);
    case xpMode_Recursive:
      return sendRecursive(widget, message, param1, param2);
    case xpMode_DirectAllCallbacks:
      return dispatch(widget, message, param1, param2, true);
    case xpMode_Once: {
      if (widget->callbacks.empty()) return 0;
      const Widget::Callback first = widget->callbacks.front();
      if (!host_.delivers(first.owner)) return 0;
      Host::PluginCall call(host_, first.owner);
      return first.function(message, widget->id, param1, param2) != 0 ? 1 : 0;
    }
    default:
      return 0;
  }
}

// --- life ---

XPWidgetID Widgets::create(int left, int top, int right, int bottom, int visible, const char* descriptor,
                           int isRoot, XPWidgetID container, XPWidgetClass widgetClass,
                           XPWidgetFunc_t customCallback) {
  XPWidgetFunc_t function = customCallback;
  if (function != nullptr) {
    widgetClass = xpWidgetClass_None;
  } else {
    function = classFunction(widgetClass);
    if (function == nullptr) return nullptr;
  }
  auto owned = std::make_unique<Widget>();
  Widget* widget = owned.get();
  widget->id = IdOf(widgets_.size());
  widget->widgetClass = widgetClass;
  widget->left = left;
  widget->top = top;
  widget->right = right;
  widget->bottom = bottom;
  widget->visible = visible != 0;
  widget->isRoot = isRoot != 0;
  widget->descriptor = descriptor != nullptr ? descriptor : "";
  widget->owner = host_.caller();
  widget->callbacks.push_back({function, widget->owner});
  widgets_.push_back(std::move(owned));
  live_.push_back(widget);
  if (widget->isRoot) zOrder_.insert(zOrder_.begin(), widget);

  Widget* parent = widget->isRoot ? nullptr : get(container);
  if (parent != nullptr) {
    touch(parent);
    widget->parent = parent;
    parent->children.push_back(widget);
  }
  const XPWidgetID id = widget->id;
  dispatch(widget, xpMsg_Create, 0, 0, true);
  if (parent != nullptr && widget->alive && parent->alive && widget->parent == parent) {
    dispatch(widget, xpMsg_AcceptParent, reinterpret_cast<intptr_t>(parent->id), 0, false);
    if (parent->alive) dispatch(parent, xpMsg_AcceptChild, reinterpret_cast<intptr_t>(id), 0, false);
  }
  return id;
}

void Widgets::addCallback(XPWidgetID id, XPWidgetFunc_t callback) {
  Widget* widget = get(id);
  if (widget == nullptr || callback == nullptr) return;
  const Widget::Callback added{callback, host_.caller()};
  touch(widget);
  widget->callbacks.insert(widget->callbacks.begin(), added);
  // Only the new function hears of its arrival.
  host_.runAs(added.owner, [&] { added.function(xpMsg_Create, id, 1, 0); });
}

void Widgets::detach(Widget* widget) {
  Widget* parent = widget->parent;
  if (parent == nullptr) return;
  touch(widget);
  touch(parent);
  auto& siblings = parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), widget), siblings.end());
  widget->parent = nullptr;
  if (parent->alive && !parent->dying) {
    dispatch(parent, xpMsg_LoseChild, reinterpret_cast<intptr_t>(widget->id), 0, false);
  }
}

void Widgets::attach(Widget* widget, Widget* parent) {
  touch(widget);
  touch(parent);
  widget->parent = parent;
  parent->children.push_back(widget);
  dispatch(widget, xpMsg_AcceptParent, reinterpret_cast<intptr_t>(parent->id), 0, false);
  if (parent->alive) dispatch(parent, xpMsg_AcceptChild, reinterpret_cast<intptr_t>(widget->id), 0, false);
}

void Widgets::destroyOne(Widget* widget, bool byParent, bool destroyChildren) {
  touch(widget);
  widget->dying = true;
  if (destroyChildren) {
    const std::vector<Widget*> children = widget->children;
    for (Widget* child : children) {
      if (child->alive && !child->dying && child->parent == widget) destroyOne(child, true, true);
    }
  }
  dispatch(widget, xpMsg_Destroy, byParent ? 1 : 0, 0, true);
  // Whatever children remain (all of them without destroyChildren) are left without a parent.
  const std::vector<Widget*> orphans = std::move(widget->children);
  widget->children.clear();
  for (Widget* child : orphans) {
    touch(child);
    child->parent = nullptr;
    if (child->alive) dispatch(child, xpMsg_AcceptParent, 0, 0, false);
  }
  detach(widget);
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), widget), zOrder_.end());
  if (focus_ == widget) focus_ = nullptr;
  widget->alive = false;
  std::erase(live_, widget);
  widget->callbacks.clear();
  widget->properties.clear();
}

void Widgets::destroy(XPWidgetID id, int destroyChildren) {
  Widget* widget = get(id);
  if (widget == nullptr || widget->dying) return;
  destroyOne(widget, false, destroyChildren != 0);
}

// --- visibility, descriptor, properties ---

void Widgets::show(XPWidgetID id) {
  Widget* widget = get(id);
  if (widget == nullptr || widget->visible) return;
  touch(widget);
  widget->visible = true;
  sendUpChain(widget, xpMsg_Shown, reinterpret_cast<intptr_t>(id), 0);
}

void Widgets::hide(XPWidgetID id) {
  Widget* widget = get(id);
  if (widget == nullptr || !widget->visible) return;
  touch(widget);
  widget->visible = false;
  sendUpChain(widget, xpMsg_Hidden, reinterpret_cast<intptr_t>(id), 0);
}

int Widgets::isVisible(XPWidgetID id) const {
  const Widget* widget = get(id);
  if (widget == nullptr) return 0;
  const Widget* top = widget;
  for (const Widget* w = widget; w != nullptr; w = w->parent) {
    if (!w->visible) return 0;
    top = w;
  }
  return top->isRoot ? 1 : 0;
}

void Widgets::setDescriptor(XPWidgetID id, const char* text) {
  Widget* widget = get(id);
  if (widget == nullptr) return;
  touch(widget);
  widget->descriptor = text != nullptr ? text : "";
  dispatch(widget, xpMsg_DescriptorChanged, 0, 0, false);
}

int Widgets::getDescriptor(XPWidgetID id, char* out, int maxLength) const {
  const Widget* widget = get(id);
  if (widget == nullptr) return 0;
  // strncpy on purpose: a text that fills the buffer is left unterminated, as X-Plane leaves it.
  if (out != nullptr && maxLength > 0)
    std::strncpy(out, widget->descriptor.c_str(), static_cast<size_t>(maxLength));
  return static_cast<int>(widget->descriptor.size());
}

void Widgets::setProperty(XPWidgetID id, XPWidgetPropertyID property, intptr_t value) {
  Widget* widget = get(id);
  if (widget == nullptr) return;
  touch(widget);
  widget->properties[property] = value;
  dispatch(widget, xpMsg_PropertyChanged, property, value, false);
}

intptr_t Widgets::getProperty(XPWidgetID id, XPWidgetPropertyID property, int* exists) const {
  const Widget* widget = get(id);
  if (exists != nullptr) *exists = 0;
  if (widget == nullptr) return 0;
  auto it = widget->properties.find(property);
  if (it == widget->properties.end()) return 0;
  if (exists != nullptr) *exists = 1;
  return it->second;
}

// --- hierarchy ---

void Widgets::placeWithin(XPWidgetID id, XPWidgetID container) {
  Widget* widget = get(id);
  if (widget == nullptr || widget->dying) return;
  Widget* parent = nullptr;
  if (container != nullptr) {
    parent = get(container);
    // A root stays at the top of its hierarchy, and no widget goes inside itself.
    if (parent == nullptr || parent->dying || widget->isRoot || parent == widget ||
        isDescendant(parent, widget)) {
      return;
    }
  }
  if (widget->parent == parent) return;
  detach(widget);
  if (parent != nullptr) {
    attach(widget, parent);
  } else {
    dispatch(widget, xpMsg_AcceptParent, 0, 0, false);
  }
}

int Widgets::countChildren(XPWidgetID id) const {
  const Widget* widget = get(id);
  return widget == nullptr ? 0 : static_cast<int>(widget->children.size());
}

XPWidgetID Widgets::nthChild(XPWidgetID id, int index) const {
  const Widget* widget = get(id);
  if (widget == nullptr || index < 0 || static_cast<size_t>(index) >= widget->children.size()) return nullptr;
  return widget->children[static_cast<size_t>(index)]->id;
}

XPWidgetID Widgets::parent(XPWidgetID id) const {
  const Widget* widget = get(id);
  return widget == nullptr || widget->parent == nullptr ? nullptr : widget->parent->id;
}

XPWidgetID Widgets::findRoot(XPWidgetID id) const {
  const Widget* widget = get(id);
  if (widget == nullptr) return nullptr;
  while (widget->parent != nullptr) widget = widget->parent;
  return widget->isRoot ? widget->id : nullptr;
}

void Widgets::bringRootToFront(XPWidgetID id) {
  Widget* root = get(findRoot(id));
  if (root == nullptr) return;
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), root), zOrder_.end());
  zOrder_.insert(zOrder_.begin(), root);
}

int Widgets::isInFront(XPWidgetID id) const {
  const Widget* root = get(findRoot(id));
  return root != nullptr && !zOrder_.empty() && zOrder_.front() == root ? 1 : 0;
}

// --- geometry ---

void Widgets::getGeometry(XPWidgetID id, int* left, int* top, int* right, int* bottom) const {
  const Widget* widget = get(id);
  if (left != nullptr) *left = widget != nullptr ? widget->left : 0;
  if (top != nullptr) *top = widget != nullptr ? widget->top : 0;
  if (right != nullptr) *right = widget != nullptr ? widget->right : 0;
  if (bottom != nullptr) *bottom = widget != nullptr ? widget->bottom : 0;
}

void Widgets::setGeometry(XPWidgetID id, int left, int top, int right, int bottom) {
  Widget* widget = get(id);
  if (widget == nullptr) return;
  if (widget->left == left && widget->top == top && widget->right == right && widget->bottom == bottom)
    return;
  XPWidgetGeometryChange_t change{};
  change.dx = left - widget->left;
  change.dy = top - widget->top;
  change.dwidth = (right - left) - (widget->right - widget->left);
  change.dheight = (top - bottom) - (widget->top - widget->bottom);
  touch(widget);
  widget->left = left;
  widget->top = top;
  widget->right = right;
  widget->bottom = bottom;
  sendUpChain(widget, xpMsg_Reshape, reinterpret_cast<intptr_t>(id), reinterpret_cast<intptr_t>(&change));
}

XPWidgetID Widgets::widgetForLocation(XPWidgetID container, int x, int y, int recursive,
                                      int visibleOnly) const {
  const Widget* widget = get(container);
  if (widget == nullptr || !widget->contains(x, y)) return nullptr;
  if (visibleOnly != 0 && isVisible(container) == 0) return nullptr;
  for (;;) {
    const Widget* hit = nullptr;
    for (auto it = widget->children.rbegin(); it != widget->children.rend() && hit == nullptr; ++it) {
      const Widget* child = *it;
      if ((visibleOnly == 0 || child->visible) && child->contains(x, y)) hit = child;
    }
    if (hit == nullptr) return widget->id;
    if (recursive == 0) return hit->id;
    widget = hit;
  }
}

void Widgets::exposedGeometry(XPWidgetID id, int* left, int* top, int* right, int* bottom) const {
  const Widget* widget = get(id);
  int l = 0, t = 0, r = 0, b = 0;
  if (widget != nullptr) {
    l = widget->left;
    t = widget->top;
    r = widget->right;
    b = widget->bottom;
    for (const Widget* p = widget->parent; p != nullptr; p = p->parent) {
      l = std::max(l, p->left);
      t = std::min(t, p->top);
      r = std::min(r, p->right);
      b = std::max(b, p->bottom);
    }
    // Nothing exposed: an empty box at the clipped corner.
    if (r < l) r = l;
    if (t < b) t = b;
  }
  if (left != nullptr) *left = l;
  if (top != nullptr) *top = t;
  if (right != nullptr) *right = r;
  if (bottom != nullptr) *bottom = b;
}

// --- keyboard focus ---

XPWidgetID Widgets::keyboardFocus() const {
  return focus_ != nullptr && focus_->alive ? focus_->id : nullptr;
}

XPWidgetID Widgets::setKeyboardFocus(XPWidgetID id) {
  if (id == nullptr) {
    Widget* previous = focus_;
    focus_ = nullptr;
    if (previous != nullptr && previous->alive) dispatch(previous, xpMsg_KeyLoseFocus, 0, 0, false);
    return nullptr;
  }
  Widget* widget = get(id);
  if (widget == nullptr) return keyboardFocus();
  if (widget == focus_) return id;
  if (dispatch(widget, xpMsg_KeyTakeFocus, 0, 0, false) == 0 || !widget->alive) return keyboardFocus();
  Widget* previous = focus_;
  focus_ = widget;
  if (previous != nullptr && previous->alive) dispatch(previous, xpMsg_KeyLoseFocus, 1, 0, false);
  return keyboardFocus();
}

void Widgets::loseKeyboardFocus(XPWidgetID id) {
  Widget* widget = get(id);
  if (widget == nullptr || widget != focus_) return;
  focus_ = nullptr;
  dispatch(widget, xpMsg_KeyLoseFocus, 0, 0, false);
  if (focus_ != nullptr) return;  // a callback gave it elsewhere meanwhile
  for (Widget* p = widget->parent; p != nullptr && p->alive; p = p->parent) {
    if (dispatch(p, xpMsg_KeyTakeFocus, 1, 0, false) != 0 && p->alive) {
      focus_ = p;
      return;
    }
  }
}

// --- unloading ---

void Widgets::removePlugin(PluginId owner) {
  for (Widget* widget : live_) {
    if (widget->owner == owner) widget->alive = false;
  }
  std::erase_if(live_, [](const Widget* widget) { return !widget->alive; });
  for (Widget* widget : live_) {
    std::erase_if(widget->callbacks,
                  [owner](const Widget::Callback& callback) { return callback.owner == owner; });
    std::erase_if(widget->children, [](const Widget* child) { return !child->alive; });
    if (widget->parent != nullptr && !widget->parent->alive) widget->parent = nullptr;
  }
}

}  // namespace sim
