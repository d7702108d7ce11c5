#include "ui/data_display.h"

#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "ui/panels.h"

namespace talvenor {
namespace {

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

}  // namespace

void BuildDataDisplay(int left, int top, int width, int height) {
  DataDisplayWidgets& data = PanelState().data;
  if (data.window != nullptr) return;

  data.window = XPCreateWidget(left, top, left + width, top - height, 1, "Talvenor Data", 1, nullptr,
                               xpWidgetClass_MainWindow);
  XPSetWidgetProperty(data.window, xpProperty_MainWindowHasCloseBoxes, 1);
  // A sibling drawn behind the rows, not their container.
  XPWidgetID back = XPCreateWidget(left + 10, top - 30, left + width - 10, top - height + 10, 1, "", 0,
                                   data.window, xpWidgetClass_SubWindow);
  XPSetWidgetProperty(back, xpProperty_SubWindowType, xpSubWindowStyle_SubWindow);
  for (int r = 0; r < 21; ++r) {
    const int dt = 40 + 20 * r;
    XPCreateWidget(left + 20, top - dt, left + 140, top - dt - 22, 1, kRows[r].caption, 0, data.window,
                   xpWidgetClass_Caption);
    XPWidgetID field = XPCreateWidget(left + 150, top - dt, left + 250, top - dt - 22, 1, "", 0, data.window,
                                      xpWidgetClass_TextField);
    XPSetWidgetProperty(field, xpProperty_TextFieldType, xpTextEntryField);
    SlotOf(data, kRows[r]) = field;
  }
  XPAddWidgetCallback(data.window, &DataDisplayHandler);
}

int DataDisplayHandler(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t) {
  if (message == xpMsg_TextFieldChanged) ForgetShownText(reinterpret_cast<XPWidgetID>(param1));
  if (message != xpMessage_CloseButtonPushed) return 0;
  Panels& panels = PanelState();
  if (panels.dataDisplayCreated) {
    XPHideWidget(panels.data.window);
    panels.dataDisplayVisible = false;
  }
  return 1;
}

void OpenDataDisplay() {
  Panels& panels = PanelState();
  ShowBuiltOnce(panels.dataDisplayCreated, panels.data.window, [] {
    BuildDataDisplay(kDataDisplayLeft, kDataDisplayTop, kDataDisplayWidth, kDataDisplayHeight);
  });
  panels.dataDisplayVisible = true;
}

void ToggleDataDisplay() {
  Panels& panels = PanelState();
  panels.dataDisplayVisible = !panels.dataDisplayVisible;
  if (panels.dataDisplayVisible) {
    ShowBuiltOnce(panels.dataDisplayCreated, panels.data.window, [] {
      BuildDataDisplay(kDataDisplayLeft, kDataDisplayTop, kDataDisplayWidth, kDataDisplayHeight);
    });
    return;
  }
  if (panels.dataDisplayCreated) XPHideWidget(panels.data.window);
}

}  // namespace talvenor
