#include "ui/data_display.h"

#include "ui/panels.h"
#include "ui/widget_builder.h"

namespace talvenor {
namespace {

constexpr int kDataDisplayLeft = 120;
constexpr int kDataDisplayTop = 540;
constexpr int kDataDisplayWidth = 270;
constexpr int kDataDisplayHeight = 480;

// Which handle a row's field goes into: the per-frame update writes the handles by axis, the rows are in
// the order pilots read them.
struct Row {
  const char* caption;
  XPWidgetID (DataDisplayWidgets::*fields)[6];
  XPWidgetID (DataDisplayWidgets::*forces)[3];
  int slot;
};
constexpr Row kRows[21] = {
    {"X", &DataDisplayWidgets::headFields, nullptr, kAxisX},
    {"Y", &DataDisplayWidgets::headFields, nullptr, kAxisY},
    {"Z", &DataDisplayWidgets::headFields, nullptr, kAxisZ},
    {"Pitch", &DataDisplayWidgets::headFields, nullptr, kAxisPitch},
    {"Roll", &DataDisplayWidgets::headFields, nullptr, kAxisRoll},
    {"Heading", &DataDisplayWidgets::headFields, nullptr, kAxisHeading},
    {"TIR X", &DataDisplayWidgets::sourceFields, nullptr, kAxisX},
    {"TIR Y", &DataDisplayWidgets::sourceFields, nullptr, kAxisY},
    {"TIR Z", &DataDisplayWidgets::sourceFields, nullptr, kAxisZ},
    {"TIR Pitch", &DataDisplayWidgets::sourceFields, nullptr, kAxisPitch},
    {"TIR Roll", &DataDisplayWidgets::sourceFields, nullptr, kAxisRoll},
    {"TIR Heading", &DataDisplayWidgets::sourceFields, nullptr, kAxisHeading},
    {"Effect X", nullptr, &DataDisplayWidgets::forceFields, 0},
    {"Effect Y", nullptr, &DataDisplayWidgets::forceFields, 1},
    {"Effect Z", nullptr, &DataDisplayWidgets::forceFields, 2},
    {"X Increment", &DataDisplayWidgets::incrementFields, nullptr, 0},
    {"Y Increment", &DataDisplayWidgets::incrementFields, nullptr, 1},
    {"Z Increment", &DataDisplayWidgets::incrementFields, nullptr, 2},
    {"Heading Increment", &DataDisplayWidgets::incrementFields, nullptr, 3},
    {"Pitch Increment", &DataDisplayWidgets::incrementFields, nullptr, 4},
    {"Roll Increment", &DataDisplayWidgets::incrementFields, nullptr, 5},
};

XPWidgetID& SlotOf(DataDisplayWidgets& data, const Row& row) {
  if (row.forces != nullptr) return (data.*row.forces)[row.slot];
  return (data.*row.fields)[row.slot];
}

void BuildDataDisplay() {
  DataDisplayWidgets& data = PanelState().data;
  if (data.window != nullptr) return;

  const WidgetBuilder build(kDataDisplayLeft, kDataDisplayTop, kDataDisplayWidth, kDataDisplayHeight,
                            "Talvenor Data");
  data.window = build.Window();
  for (int r = 0; r < 21; ++r) {
    const int dt = 40 + 20 * r;
    build.Caption({20, 140, dt, dt + 22}, kRows[r].caption);
    SlotOf(data, kRows[r]) = build.EntryField({150, 250, dt, dt + 22}, "");
  }
  XPAddWidgetCallback(data.window, &DataDisplayHandler);
}

BuiltWindow DataWindow() {
  Panels& panels = PanelState();
  return {panels.dataDisplayCreated, panels.dataDisplayVisible, panels.data.window, &BuildDataDisplay};
}

}  // namespace

int DataDisplayHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t) {
  if (message == xpMsg_TextFieldChanged) ForgetShownText(reinterpret_cast<XPWidgetID>(param1));
  return message == xpMessage_CloseButtonPushed ? CloseWindow(DataWindow()) : 0;
}

void OpenDataDisplay() {
  OpenWindow(DataWindow());
}

void ToggleDataDisplay() {
  ToggleWindow(DataWindow());
}

}  // namespace talvenor
