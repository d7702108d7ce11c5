// What tests and scenarios look up in the widget tree, and what a plugin leaves behind when it stops.
#include "widgets_internal.h"

#include <string>

namespace sim {

WidgetInfo Widgets::describe(const Widget& widget, int depth) const {
  return {.id = widget.id,
          .widgetClass = widget.widgetClass,
          .left = widget.left,
          .top = widget.top,
          .right = widget.right,
          .bottom = widget.bottom,
          .descriptor = widget.descriptor,
          .ownVisible = widget.visible,
          .visible = isVisible(widget.id) != 0 && host_.pluginEnabled(widget.owner),  // what the user sees
          .isRoot = widget.isRoot,
          .parent = widget.parent != nullptr ? widget.parent->id : nullptr,
          .owner = widget.owner,
          .depth = depth};
}

XPWidgetID Widgets::findWindow(std::string_view caption) const {
  for (const Widget* widget : live_) {
    if (widget->alive && widget->isRoot && widget->descriptor == caption) return widget->id;
  }
  return nullptr;
}

XPWidgetID Widgets::findByCaption(XPWidgetID window, std::string_view caption, int k) const {
  const Widget* root = get(window);
  if (root == nullptr || k < 1) return nullptr;
  for (const Widget* widget : live_) {
    if (widget->alive && widget->descriptor == caption && isDescendant(widget, root) && --k == 0) {
      return widget->id;
    }
  }
  return nullptr;
}

XPWidgetID Widgets::findAt(XPWidgetID window, int dl, int dt) const {
  const Widget* root = get(window);
  if (root == nullptr) return nullptr;
  // y grows upward, so "below the top edge" is a smaller y.
  for (const Widget* widget : live_) {
    if (widget->alive && widget->left == root->left + dl && widget->top == root->top - dt &&
        isDescendant(widget, root)) {
      return widget->id;
    }
  }
  return nullptr;
}

std::optional<WidgetInfo> Widgets::info(XPWidgetID id) const {
  const Widget* widget = get(id);
  if (widget == nullptr) return std::nullopt;
  return describe(*widget, 0);
}

std::vector<WidgetInfo> Widgets::tree(XPWidgetID window) const {
  std::vector<WidgetInfo> result;
  const Widget* root = get(window);
  if (root == nullptr) return result;
  for (const Widget* widget : live_) {
    if (!widget->alive) continue;
    int depth = 0;
    const Widget* p = widget;
    while (p != nullptr && p != root) {
      p = p->parent;
      ++depth;
    }
    if (p == root) result.push_back(describe(*widget, depth));
  }
  return result;
}

std::vector<XPWidgetID> Widgets::windows() const {
  std::vector<XPWidgetID> result;
  for (const Widget* widget : live_) {
    if (widget->alive && widget->isRoot) result.push_back(widget->id);
  }
  return result;
}

std::vector<std::string> Widgets::registrations(PluginId owner) const {
  std::vector<std::string> left;
  for (const Widget* widget : live_) {
    if (!widget->alive || widget->parent != nullptr || widget->owner != owner) continue;
    std::size_t count = 0;
    for (const Widget* other : live_) {
      if (other->alive && (other == widget || isDescendant(other, widget))) ++count;
    }
    const std::string size = " (" + std::to_string(count) + (count == 1 ? " widget)" : " widgets)");
    if (widget->isRoot) {
      left.push_back("widget window \"" + widget->descriptor + "\"" + size);
    } else {
      left.push_back("widget \"" + widget->descriptor + "\" outside any window" + size);
    }
  }
  return left;
}

}  // namespace sim
