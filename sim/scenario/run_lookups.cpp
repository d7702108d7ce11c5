// The datarefs and widgets directives name, looked up in the running simulator.
#include "datarefs.h"
#include "scenario_run.h"
#include "widget_names.h"

namespace sim::scenario {

void ScenarioRun::RequireDataRef(const Directive& d, const DataRefName& ref) {
  DataRefs& refs = host(d).datarefs();
  if (!refs.exists(ref.name)) Fail(d, "no dataref " + ref.name);
  const int size = refs.arraySize(ref.name);
  if (ref.index && size == 0) Fail(d, ref.name + " is not an array: " + ref.written);
  if (ref.index && *ref.index >= size) {
    Fail(d, ref.written + " is out of range: " + ref.name + " has " + std::to_string(size) + " elements");
  }
}

std::pair<ValueType, double> ScenarioRun::ReadScalar(const Directive& d, const DataRefName& ref) {
  RequireDataRef(d, ref);
  if (!ref.index && host(d).datarefs().arraySize(ref.name) > 0) {
    Fail(d, ref.name + " is an array: name one element as " + ref.name + "[i]");
  }
  const std::optional<DataValue> value = host(d).datarefs().read(ref.name, ref.index);
  if (!value) Fail(d, "cannot read " + ref.written);
  if (value->type != xplmType_Int && value->type != xplmType_Float && value->type != xplmType_Double)
    Fail(d, ref.written + " holds data that is not a number");
  return {value->type == xplmType_Int     ? ValueType::Int
          : value->type == xplmType_Float ? ValueType::Float
                                          : ValueType::Double,
          value->value};
}

XPWidgetID ScenarioRun::Window(const Directive& d, const std::string& caption) {
  Widgets& widgets = host(d).widgets();
  if (XPWidgetID window = widgets.findWindow(caption)) return window;
  std::string open;
  for (XPWidgetID window : widgets.windows()) {
    if (const std::optional<WidgetInfo> info = widgets.info(window)) {
      open += (open.empty() ? "" : ", ") + Quote(info->descriptor);
    }
  }
  Fail(d, "no window " + Quote(caption) + (open.empty() ? " (no window is open)" : " (open: " + open + ")"));
}

XPWidgetID ScenarioRun::Widget(const Directive& d, const std::string& window, const WidgetName& widget) {
  const XPWidgetID id = Window(d, window);
  const NamedWidget found = FindNamedWidget(host(d).widgets(), id, widget);
  if (found.ambiguous)
    Fail(d, "the widget " + widget.written + " is ambiguous: two of its kind stand as near to its label");
  if (found.id == nullptr) Fail(d, "no widget " + widget.written + " in window " + Quote(window));
  return found.id;
}

WidgetInfo ScenarioRun::Info(const Directive& d, XPWidgetID id, const std::string& written) {
  const std::optional<WidgetInfo> info = host(d).widgets().info(id);
  if (!info) Fail(d, "the widget " + written + " is gone");
  return *info;
}

}  // namespace sim::scenario
