// XPWidgets.h on the current host, behind the guard that keeps host exceptions out of the plugin's C code.
#include "widgets.h"

#include "c_guard.h"

using sim::WithHost;

extern "C" {

XPWIDGETS_API XPWidgetID XPCreateWidget(int inLeft, int inTop, int inRight, int inBottom, int inVisible,
                                        const char* inDescriptor, int inIsRoot, XPWidgetID inContainer,
                                        XPWidgetClass inClass) {
  return WithHost<XPWidgetID>(nullptr, [&](sim::Host& host) {
    return host.widgets().create(inLeft, inTop, inRight, inBottom, inVisible, inDescriptor, inIsRoot,
                                 inContainer, inClass, nullptr);
  });
}

XPWIDGETS_API XPWidgetID XPCreateCustomWidget(int inLeft, int inTop, int inRight, int inBottom, int inVisible,
                                              const char* inDescriptor, int inIsRoot, XPWidgetID inContainer,
                                              XPWidgetFunc_t inCallback) {
  return WithHost<XPWidgetID>(nullptr, [&](sim::Host& host) -> XPWidgetID {
    if (inCallback == nullptr) return nullptr;
    return host.widgets().create(inLeft, inTop, inRight, inBottom, inVisible, inDescriptor, inIsRoot,
                                 inContainer, xpWidgetClass_None, inCallback);
  });
}

XPWIDGETS_API void XPDestroyWidget(XPWidgetID inWidget, int inDestroyChildren) {
  WithHost([&](sim::Host& host) { host.widgets().destroy(inWidget, inDestroyChildren); });
}

XPWIDGETS_API int XPSendMessageToWidget(XPWidgetID inWidget, XPWidgetMessage inMessage, XPDispatchMode inMode,
                                        intptr_t inParam1, intptr_t inParam2) {
  return WithHost(0, [&](sim::Host& host) {
    return host.widgets().send(inWidget, inMessage, inMode, inParam1, inParam2);
  });
}

XPWIDGETS_API void XPPlaceWidgetWithin(XPWidgetID inSubWidget, XPWidgetID inContainer) {
  WithHost([&](sim::Host& host) { host.widgets().placeWithin(inSubWidget, inContainer); });
}

XPWIDGETS_API int XPCountChildWidgets(XPWidgetID inWidget) {
  return WithHost(0, [&](sim::Host& host) { return host.widgets().countChildren(inWidget); });
}

XPWIDGETS_API XPWidgetID XPGetNthChildWidget(XPWidgetID inWidget, int inIndex) {
  return WithHost<XPWidgetID>(nullptr,
                              [&](sim::Host& host) { return host.widgets().nthChild(inWidget, inIndex); });
}

XPWIDGETS_API XPWidgetID XPGetParentWidget(XPWidgetID inWidget) {
  return WithHost<XPWidgetID>(nullptr, [&](sim::Host& host) { return host.widgets().parent(inWidget); });
}

XPWIDGETS_API void XPShowWidget(XPWidgetID inWidget) {
  WithHost([&](sim::Host& host) { host.widgets().show(inWidget); });
}

XPWIDGETS_API void XPHideWidget(XPWidgetID inWidget) {
  WithHost([&](sim::Host& host) { host.widgets().hide(inWidget); });
}

XPWIDGETS_API int XPIsWidgetVisible(XPWidgetID inWidget) {
  return WithHost(0, [&](sim::Host& host) { return host.widgets().isVisible(inWidget); });
}

XPWIDGETS_API XPWidgetID XPFindRootWidget(XPWidgetID inWidget) {
  return WithHost<XPWidgetID>(nullptr, [&](sim::Host& host) { return host.widgets().findRoot(inWidget); });
}

XPWIDGETS_API void XPBringRootWidgetToFront(XPWidgetID inWidget) {
  WithHost([&](sim::Host& host) { host.widgets().bringRootToFront(inWidget); });
}

XPWIDGETS_API int XPIsWidgetInFront(XPWidgetID inWidget) {
  return WithHost(0, [&](sim::Host& host) { return host.widgets().isInFront(inWidget); });
}

XPWIDGETS_API void XPGetWidgetGeometry(XPWidgetID inWidget, int* outLeft, int* outTop, int* outRight,
                                       int* outBottom) {
  WithHost(
      [&](sim::Host& host) { host.widgets().getGeometry(inWidget, outLeft, outTop, outRight, outBottom); });
}

XPWIDGETS_API void XPSetWidgetGeometry(XPWidgetID inWidget, int inLeft, int inTop, int inRight,
                                       int inBottom) {
  WithHost([&](sim::Host& host) { host.widgets().setGeometry(inWidget, inLeft, inTop, inRight, inBottom); });
}

XPWIDGETS_API XPWidgetID XPGetWidgetForLocation(XPWidgetID inContainer, int inXOffset, int inYOffset,
                                                int inRecursive, int inVisibleOnly) {
  return WithHost<XPWidgetID>(nullptr, [&](sim::Host& host) {
    return host.widgets().widgetForLocation(inContainer, inXOffset, inYOffset, inRecursive, inVisibleOnly);
  });
}

XPWIDGETS_API void XPGetWidgetExposedGeometry(XPWidgetID inWidgetID, int* outLeft, int* outTop, int* outRight,
                                              int* outBottom) {
  WithHost([&](sim::Host& host) {
    host.widgets().exposedGeometry(inWidgetID, outLeft, outTop, outRight, outBottom);
  });
}

XPWIDGETS_API void XPSetWidgetDescriptor(XPWidgetID inWidget, const char* inDescriptor) {
  WithHost([&](sim::Host& host) { host.widgets().setDescriptor(inWidget, inDescriptor); });
}

XPWIDGETS_API int XPGetWidgetDescriptor(XPWidgetID inWidget, char* outDescriptor, int inMaxDescLength) {
  return WithHost(0, [&](sim::Host& host) {
    return host.widgets().getDescriptor(inWidget, outDescriptor, inMaxDescLength);
  });
}

XPWIDGETS_API XPLMWindowID XPGetWidgetUnderlyingWindow(XPWidgetID) {
  return nullptr;
}

XPWIDGETS_API void XPSetWidgetProperty(XPWidgetID inWidget, XPWidgetPropertyID inProperty, intptr_t inValue) {
  WithHost([&](sim::Host& host) { host.widgets().setProperty(inWidget, inProperty, inValue); });
}

XPWIDGETS_API intptr_t XPGetWidgetProperty(XPWidgetID inWidget, XPWidgetPropertyID inProperty,
                                           int* inExists) {
  if (inExists != nullptr) *inExists = 0;
  return WithHost<intptr_t>(
      0, [&](sim::Host& host) { return host.widgets().getProperty(inWidget, inProperty, inExists); });
}

XPWIDGETS_API XPWidgetID XPSetKeyboardFocus(XPWidgetID inWidget) {
  return WithHost<XPWidgetID>(nullptr,
                              [&](sim::Host& host) { return host.widgets().setKeyboardFocus(inWidget); });
}

XPWIDGETS_API void XPLoseKeyboardFocus(XPWidgetID inWidget) {
  WithHost([&](sim::Host& host) { host.widgets().loseKeyboardFocus(inWidget); });
}

XPWIDGETS_API XPWidgetID XPGetWidgetWithFocus(void) {
  return WithHost<XPWidgetID>(nullptr, [](sim::Host& host) { return host.widgets().keyboardFocus(); });
}

XPWIDGETS_API void XPAddWidgetCallback(XPWidgetID inWidget, XPWidgetFunc_t inNewCallback) {
  WithHost([&](sim::Host& host) { host.widgets().addCallback(inWidget, inNewCallback); });
}

XPWIDGETS_API XPWidgetFunc_t XPGetWidgetClassFunc(XPWidgetClass inWidgetClass) {
  return sim::Widgets::classFunction(inWidgetClass);
}

}  // extern "C"
