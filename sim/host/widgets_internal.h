// What the widget files of the simulated host share: a widget as the host keeps it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "widgets.h"

namespace sim {

struct Widgets::Widget {
  struct Callback {
    XPWidgetFunc_t function = nullptr;
    PluginId owner = 0;
    bool operator==(const Callback&) const = default;
  };

  XPWidgetID id = nullptr;
  bool alive = true;
  bool dying = false;  // xpMsg_Destroy is on its way; a second destroy is ignored
  XPWidgetClass widgetClass = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
  bool visible = false;
  bool isRoot = false;
  std::string descriptor;
  Widget* parent = nullptr;
  std::vector<Widget*> children;  // in the order they were placed
  std::map<XPWidgetPropertyID, intptr_t> properties;
  std::vector<Callback> callbacks;  // in calling order: the newest first, the class function last
  PluginId owner = 0;

  bool contains(int x, int y) const { return x >= left && x < right && y >= bottom && y < top; }
  bool enabled() const {
    auto it = properties.find(xpProperty_Enabled);
    return it == properties.end() || it->second != 0;
  }
  intptr_t property(XPWidgetPropertyID key) const {
    auto it = properties.find(key);
    return it == properties.end() ? 0 : it->second;
  }
  bool operator==(const Widget&) const = default;
};

}  // namespace sim
