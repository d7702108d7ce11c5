// Any texts typed into any text field of the plugin's three windows (the control panel's step size,
// multiplier, preset number, pilot offsets and limits, the effects panel's six values, the data display's
// fields), with clicks on any of their buttons and boxes in between, so that each text is read by whatever
// reads it: after every step no value that is not finite reaches the head datarefs, the selected preset
// stays a slot of the table and the plugin's text buffers stay terminated.
//
// Input: records. A byte with bit 0 clear types: the next byte picks the field, the one after is the text's
// length, the text follows. With bit 0 set the byte clicks: the next byte picks the button or box. Bits 1..2
// are the cycles run after the step.
#include <cstdint>
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "fuzz_support.h"
#include "widgets.h"

namespace {

constexpr const char* kWindows[] = {"Talvenor v1.70", "Talvenor Effects", "Talvenor Data"};

struct Targets {
  std::vector<XPWidgetID> fields;
  std::vector<XPWidgetID> buttons;  // push buttons, check boxes and radio buttons
};

Targets FindTargets(const sim::Widgets& widgets) {
  Targets targets;
  for (const char* caption : kWindows) {
    const XPWidgetID window = widgets.findWindow(caption);
    fuzz::Check(window != nullptr, "a window of the plugin is missing");
    for (const sim::WidgetInfo& info : widgets.tree(window)) {
      if (info.widgetClass == xpWidgetClass_TextField) targets.fields.push_back(info.id);
      if (info.widgetClass == xpWidgetClass_Button) targets.buttons.push_back(info.id);
    }
  }
  fuzz::Check(!targets.fields.empty() && !targets.buttons.empty(), "the windows have no fields or buttons");
  return targets;
}

Targets g_targets;

void Open(fuzz::SessionRun& run) {
  run.Pick("Enable");
  run.Pick("Control Panel");
  run.Pick("Forces Effect Panel");
  run.Pick("Data Display");
  run.Cycles(fuzz::kFirstViewUpdate);
  g_targets = FindTargets(run.host().widgets());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input input(data, size);
  fuzz::SessionRun run({nullptr, &Open});
  sim::Widgets& widgets = run.host().widgets();
  const Targets& targets = g_targets;

  while (!input.empty()) {
    const std::uint8_t step = input.Byte();
    if ((step & 1) == 0) {
      const XPWidgetID field = targets.fields[input.Byte() % targets.fields.size()];
      widgets.type(field, std::string(input.Bytes(input.Byte())));
    } else {
      widgets.click(targets.buttons[input.Byte() % targets.buttons.size()]);
    }
    fuzz::Verify();
    run.Cycles(1 + ((step >> 1) & 3));
  }
  return 0;
}
