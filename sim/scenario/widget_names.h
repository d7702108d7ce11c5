// The widget a scenario names inside a window: by caption, by place, or by its kind and label
// (docs/scenario-language.md).
#pragma once

#include <string>

#include "XPWidgetDefs.h"
#include "parser.h"
#include "widgets.h"

namespace sim::scenario {

struct NamedWidget {
  XPWidgetID id = nullptr;  // null: no such widget
  bool ambiguous = false;   // two of the kind stand equally near the label
};

// "button", "text field", ... as a message names a widget's class.
std::string ClassName(XPWidgetClass widgetClass);

NamedWidget FindNamedWidget(const Widgets& widgets, XPWidgetID window, const WidgetName& name);

}  // namespace sim::scenario
