#include "widget_names.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "XPStandardWidgets.h"

namespace sim::scenario {
namespace {

// Check and radio boxes are of the button class, but a user reads them as boxes.
WidgetKind KindOf(const Widgets& widgets, const WidgetInfo& widget) {
  switch (widget.widgetClass) {
    case xpWidgetClass_TextField:
      return WidgetKind::Field;
    case xpWidgetClass_Caption:
      return WidgetKind::Caption;
    case xpWidgetClass_Button: {
      const intptr_t behaviour = widgets.getProperty(widget.id, xpProperty_ButtonBehavior, nullptr);
      return behaviour == xpButtonBehaviorCheckBox || behaviour == xpButtonBehaviorRadioButton
                 ? WidgetKind::Box
                 : WidgetKind::Button;
    }
    default:
      return WidgetKind::Any;
  }
}

// Pixels between two spans on one axis; 0 where they touch or overlap.
int Gap(int low1, int high1, int low2, int high2) {
  return std::max({0, low2 - high1, low1 - high2});
}

// The K-th widget with that caption that can be a label: a field's text is what was typed, not a name.
const WidgetInfo* FindLabel(const Widgets& widgets, const std::vector<WidgetInfo>& all,
                            const WidgetName& name) {
  int k = name.ordinal;
  for (const WidgetInfo& w : all) {
    const WidgetKind kind = KindOf(widgets, w);
    const bool canName = name.kind == WidgetKind::Button
                             ? kind == WidgetKind::Button
                             : kind != WidgetKind::Field && kind != WidgetKind::Any;
    if (canName && w.descriptor == name.caption && --k == 0) return &w;
  }
  return nullptr;
}

}  // namespace

NamedWidget FindNamedWidget(const Widgets& widgets, XPWidgetID window, const WidgetName& name) {
  if (name.byOffset) return {widgets.findAt(window, name.dl, name.dt)};
  if (name.kind == WidgetKind::Any) return {widgets.findByCaption(window, name.caption, name.ordinal)};
  std::vector<WidgetInfo> all = widgets.tree(window);
  std::erase_if(all, [](const WidgetInfo& w) { return w.depth == 0; });
  const WidgetInfo* label = FindLabel(widgets, all, name);
  if (label == nullptr || name.kind == WidgetKind::Button) return {label != nullptr ? label->id : nullptr};
  // A widget on the label's row comes before any below it.
  for (const bool onRow : {true, false}) {
    const WidgetInfo* nearest = nullptr;
    std::pair<int, int> nearestGap;
    bool tie = false;
    for (const WidgetInfo& w : all) {
      if (&w == label || KindOf(widgets, w) != name.kind) continue;
      const bool sameRow = w.top > label->bottom && label->top > w.bottom;
      const bool below = w.top <= label->bottom && w.left < label->right && label->left < w.right;
      if (onRow ? !sameRow : !below) continue;
      // Rows that overlap by a few pixels are told apart by how far the centres lie across the row.
      const std::pair<int, int> gap =
          onRow
              ? std::pair{Gap(w.left, w.right, label->left, label->right),
                          std::abs((w.top + w.bottom) - (label->top + label->bottom))}
              : std::pair{label->bottom - w.top, std::abs((w.left + w.right) - (label->left + label->right))};
      if (nearest != nullptr && gap == nearestGap) tie = true;
      if (nearest == nullptr || gap < nearestGap) {
        nearest = &w;
        nearestGap = gap;
        tie = false;
      }
    }
    if (tie) return {nullptr, true};
    if (nearest != nullptr) return {nearest->id};
  }
  return {};
}

std::string ClassName(XPWidgetClass widgetClass) {
  constexpr std::pair<XPWidgetClass, std::string_view> kNames[] = {
      {xpWidgetClass_MainWindow, "main window"},
      {xpWidgetClass_SubWindow, "sub window"},
      {xpWidgetClass_Button, "button"},
      {xpWidgetClass_TextField, "text field"},
      {xpWidgetClass_ScrollBar, "scroll bar"},
      {xpWidgetClass_Caption, "caption"},
      {xpWidgetClass_GeneralGraphics, "graphics"},
      {xpWidgetClass_Progress, "progress bar"}};
  for (const auto& [known, name] : kNames) {
    if (known == widgetClass) return std::string(name);
  }
  return "class " + std::to_string(widgetClass);
}

}  // namespace sim::scenario
