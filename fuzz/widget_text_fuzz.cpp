// Any texts typed into any text field of the plugin's three windows (the control panel's step size,
// multiplier, preset number, pilot offsets and limits, the effects panel's six values, the data display's
// fields), with clicks on any of their buttons and boxes in between, so that each text is read by whatever
// reads it: after every step no value that is not finite reaches the head datarefs, the selected preset
// stays a slot of the table and the plugin's text buffers stay terminated. The effects panel's Apply and
// Save take the six scalers as this target reads the fields' texts itself, and Save writes them.
//
// Input: records. A byte with bit 0 clear types: the next byte picks the field, the one after is the text's
// length, the text follows. With bit 0 set the byte clicks: the next byte picks the button or box. Bits 1..2
// are the cycles run after the step. Bytes after the third step are not read.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "XPStandardWidgets.h"
#include "fuzz_support.h"
#include "ui/panels.h"
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

// An effects value field's scaler, read here as the C library reads a base-10 integer (its first 79
// characters), a number beyond 32 bits held at the nearest bound; 0, which no divisor may be, becomes 1.
std::int32_t Scaler(const sim::Widgets& widgets, XPWidgetID field) {
  const std::string text = widgets.info(field).value_or(sim::WidgetInfo{}).descriptor.substr(0, 79);
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  const long long held = std::clamp<long long>(value, INT32_MIN, INT32_MAX);
  return held == 0 ? 1 : static_cast<std::int32_t>(held);
}

// After Apply (and Save, which applies first) a field that gave 0 shows 1, and a save puts the scalers in
// the effects file, after its switch: 7 little-endian 32-bit integers.
void CheckScalers(sim::Host& host, const talvenor::EffectsPanelWidgets& effects,
                  const std::int32_t (&expected)[6], bool saved) {
  for (int field = 0; field < 6; ++field) {
    const std::string shown =
        host.widgets().info(effects.valueFields[field]).value_or(sim::WidgetInfo{}).descriptor;
    if (expected[field] == 1 && std::strtoll(shown.c_str(), nullptr, 10) == 0) {
      fuzz::Fail("an effects field that gives 0 does not show 1 after Apply");
    }
  }
  if (!saved) return;
  std::ifstream in(host.aircraftFile().parent_path() / "TalvenorEffects.dat", std::ios::binary);
  std::int32_t record[7] = {};
  in.read(reinterpret_cast<char*>(record), sizeof record);
  fuzz::Check(in.gcount() == sizeof record, "the effects file does not hold the whole record after Save");
  for (int field = 0; field < 6; ++field) {
    if (record[field + 1] != expected[field]) {
      std::fprintf(stderr, "fuzz: scaler %d is %d, its field's text gives %d\n", field, record[field + 1],
                   expected[field]);
      fuzz::Fail("the saved scalers are not what the effects fields' texts give");
    }
  }
}

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

  // Three steps an input, of any length: each is a frame or more of the plugin's own work.
  for (int steps = 0; steps < 3 && !input.empty(); ++steps) {
    const std::uint8_t step = input.Byte();
    if ((step & 1) == 0) {
      const XPWidgetID field = targets.fields[input.Byte() % targets.fields.size()];
      widgets.type(field, std::string(input.Bytes(input.Byte())));
    } else {
      const XPWidgetID button = targets.buttons[input.Byte() % targets.buttons.size()];
      const talvenor::EffectsPanelWidgets& effects = talvenor::PanelState().effects;
      const bool applies = button == effects.applyButton || button == effects.saveButton;
      std::int32_t expected[6] = {};
      for (int field = 0; field < 6 && applies; ++field)
        expected[field] = Scaler(widgets, effects.valueFields[field]);
      if (widgets.click(button) == sim::UserAction::Delivered && applies) {
        CheckScalers(run.host(), effects, expected, button == effects.saveButton);
      }
    }
    fuzz::Verify();
    run.Cycles(1 + ((step >> 1) & 3));
  }
  return 0;
}
