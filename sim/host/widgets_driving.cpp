// The host as the user: clicks, typing and the close box, on what the user can reach.
#include "widgets_internal.h"

namespace sim {

bool Widgets::reachable(const Widget* widget) const {
  return isVisible(widget->id) != 0 && widget->enabled() && host_.pluginEnabled(widget->owner);
}

void Widgets::pressButton(XPWidgetID id) {
  const Widget* widget = get(id);
  if (widget == nullptr) return;
  const intptr_t behavior = widget->property(xpProperty_ButtonBehavior);
  if (behavior == xpButtonBehaviorCheckBox || behavior == xpButtonBehaviorRadioButton) {
    // The state is in place before anyone hears of the change.
    const intptr_t state =
        behavior == xpButtonBehaviorRadioButton || widget->property(xpProperty_ButtonState) == 0 ? 1 : 0;
    setProperty(id, xpProperty_ButtonState, state);
    if (Widget* still = get(id))
      sendUpChain(still, xpMsg_ButtonStateChanged, reinterpret_cast<intptr_t>(id), state);
  } else if (Widget* w = get(id)) {
    sendUpChain(w, xpMsg_PushButtonPressed, reinterpret_cast<intptr_t>(id), 0);
  }
}

UserAction Widgets::click(XPWidgetID id) {
  Widget* widget = get(id);
  if (widget == nullptr) return UserAction::NoWidget;
  if (widget->widgetClass != xpWidgetClass_Button) return UserAction::WrongKind;
  if (!reachable(widget)) return UserAction::NotReachable;
  XPMouseState_t mouse{};
  mouse.x = widget->left + (widget->right - widget->left) / 2;
  mouse.y = widget->bottom + (widget->top - widget->bottom) / 2;
  Widget* taker = nullptr;
  sendUpChain(widget, xpMsg_MouseDown, reinterpret_cast<intptr_t>(&mouse), 0, &taker);
  if (taker != nullptr && taker->alive)
    dispatch(taker, xpMsg_MouseUp, reinterpret_cast<intptr_t>(&mouse), 0, false);
  return UserAction::Delivered;
}

UserAction Widgets::type(XPWidgetID id, std::string_view text) {
  Widget* widget = get(id);
  if (widget == nullptr) return UserAction::NoWidget;
  if (widget->widgetClass != xpWidgetClass_TextField) return UserAction::WrongKind;
  if (!reachable(widget)) return UserAction::NotReachable;
  std::string typed(text);
  const intptr_t limit = widget->property(xpProperty_MaxCharacters);
  if (limit > 0 && typed.size() > static_cast<size_t>(limit)) typed.resize(static_cast<size_t>(limit));
  setDescriptor(id, typed.c_str());
  if (Widget* still = get(id)) sendUpChain(still, xpMsg_TextFieldChanged, reinterpret_cast<intptr_t>(id), 0);
  return UserAction::Delivered;
}

UserAction Widgets::close(XPWidgetID window) {
  Widget* widget = get(window);
  if (widget == nullptr) return UserAction::NoWidget;
  if (widget->widgetClass != xpWidgetClass_MainWindow ||
      widget->property(xpProperty_MainWindowHasCloseBoxes) == 0) {
    return UserAction::WrongKind;
  }
  if (isVisible(window) == 0 || !host_.pluginEnabled(widget->owner)) return UserAction::NotReachable;
  dispatch(widget, xpMessage_CloseButtonPushed, reinterpret_cast<intptr_t>(window), 0, false);
  return UserAction::Delivered;
}

}  // namespace sim
