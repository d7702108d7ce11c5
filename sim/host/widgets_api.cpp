// XPWidgets.h on the current host, behind the guard that keeps host exceptions out of the plugin's C code.
#include "widgets.h"

#include "c_guard.h"

using sim::Forward;
using sim::Host;
using sim::Widgets;

extern "C" {

XPWIDGETS_API XPWidgetID XPCreateWidget(int inLeft, int inTop, int inRight, int inBottom, int inVisible,
                                        const char* inDescriptor, int inIsRoot, XPWidgetID inContainer,
                                        XPWidgetClass inClass) {
  return Forward<&Host::widgets, &Widgets::create>(inLeft, inTop, inRight, inBottom, inVisible, inDescriptor,
                                                   inIsRoot, inContainer, inClass, nullptr);
}

XPWIDGETS_API XPWidgetID XPCreateCustomWidget(int inLeft, int inTop, int inRight, int inBottom, int inVisible,
                                              const char* inDescriptor, int inIsRoot, XPWidgetID inContainer,
                                              XPWidgetFunc_t inCallback) {
  if (inCallback == nullptr) return nullptr;
  return Forward<&Host::widgets, &Widgets::create>(inLeft, inTop, inRight, inBottom, inVisible, inDescriptor,
                                                   inIsRoot, inContainer, xpWidgetClass_None, inCallback);
}

XPWIDGETS_API void XPDestroyWidget(XPWidgetID inWidget, int inDestroyChildren) {
  Forward<&Host::widgets, &Widgets::destroy>(inWidget, inDestroyChildren);
}

XPWIDGETS_API int XPSendMessageToWidget(XPWidgetID inWidget, XPWidgetMessage inMessage, XPDispatchMode inMode,
                                        intptr_t inParam1, intptr_t inParam2) {
  return Forward<&Host::widgets, &Widgets::send>(inWidget, inMessage, inMode, inParam1, inParam2);
}

XPWIDGETS_API void XPPlaceWidgetWithin(XPWidgetID inSubWidget, XPWidgetID inContainer) {
  Forward<&Host::widgets, &Widgets::placeWithin>(inSubWidget, inContainer);
}

XPWIDGETS_API int XPCountChildWidgets(XPWidgetID inWidget) {
  return Forward<&Host::widgets, &Widgets::countChildren>(inWidget);
}

XPWIDGETS_API XPWidgetID XPGetNthChildWidget(XPWidgetID inWidget, int inIndex) {
  return Forward<&Host::widgets, &Widgets::nthChild>(inWidget, inIndex);
}

XPWIDGETS_API XPWidgetID XPGetParentWidget(XPWidgetID inWidget) {
  return Forward<&Host::widgets, &Widgets::parent>(inWidget);
}

XPWIDGETS_API void XPShowWidget(XPWidgetID inWidget) {
  Forward<&Host::widgets, &Widgets::show>(inWidget);
}

XPWIDGETS_API void XPHideWidget(XPWidgetID inWidget) {
  Forward<&Host::widgets, &Widgets::hide>(inWidget);
}

XPWIDGETS_API int XPIsWidgetVisible(XPWidgetID inWidget) {
  return Forward<&Host::widgets, &Widgets::isVisible>(inWidget);
}

XPWIDGETS_API XPWidgetID XPFindRootWidget(XPWidgetID inWidget) {
  return Forward<&Host::widgets, &Widgets::findRoot>(inWidget);
}

XPWIDGETS_API void XPBringRootWidgetToFront(XPWidgetID inWidget) {
  Forward<&Host::widgets, &Widgets::bringRootToFront>(inWidget);
}

XPWIDGETS_API int XPIsWidgetInFront(XPWidgetID inWidget) {
  return Forward<&Host::widgets, &Widgets::isInFront>(inWidget);
}

XPWIDGETS_API void XPGetWidgetGeometry(XPWidgetID inWidget, int* outLeft, int* outTop, int* outRight,
                                       int* outBottom) {
  Forward<&Host::widgets, &Widgets::getGeometry>(inWidget, outLeft, outTop, outRight, outBottom);
}

XPWIDGETS_API void XPSetWidgetGeometry(XPWidgetID inWidget, int inLeft, int inTop, int inRight,
                                       int inBottom) {
  Forward<&Host::widgets, &Widgets::setGeometry>(inWidget, inLeft, inTop, inRight, inBottom);
}

XPWIDGETS_API XPWidgetID XPGetWidgetForLocation(XPWidgetID inContainer, int inXOffset, int inYOffset,
                                                int inRecursive, int inVisibleOnly) {
  return Forward<&Host::widgets, &Widgets::widgetForLocation>(inContainer, inXOffset, inYOffset, inRecursive,
                                                              inVisibleOnly);
}

XPWIDGETS_API void XPGetWidgetExposedGeometry(XPWidgetID inWidgetID, int* outLeft, int* outTop, int* outRight,
                                              int* outBottom) {
  Forward<&Host::widgets, &Widgets::exposedGeometry>(inWidgetID, outLeft, outTop, outRight, outBottom);
}

XPWIDGETS_API void XPSetWidgetDescriptor(XPWidgetID inWidget, const char* inDescriptor) {
  Forward<&Host::widgets, &Widgets::setDescriptor>(inWidget, inDescriptor);
}

XPWIDGETS_API int XPGetWidgetDescriptor(XPWidgetID inWidget, char* outDescriptor, int inMaxDescLength) {
  return Forward<&Host::widgets, &Widgets::getDescriptor>(inWidget, outDescriptor, inMaxDescLength);
}

XPWIDGETS_API XPLMWindowID XPGetWidgetUnderlyingWindow(XPWidgetID) {
  return nullptr;
}

XPWIDGETS_API void XPSetWidgetProperty(XPWidgetID inWidget, XPWidgetPropertyID inProperty, intptr_t inValue) {
  Forward<&Host::widgets, &Widgets::setProperty>(inWidget, inProperty, inValue);
}

XPWIDGETS_API intptr_t XPGetWidgetProperty(XPWidgetID inWidget, XPWidgetPropertyID inProperty,
                                           int* inExists) {
  if (inExists != nullptr) *inExists = 0;
  return Forward<&Host::widgets, &Widgets::getProperty>(inWidget, inProperty, inExists);
}

XPWIDGETS_API XPWidgetID XPSetKeyboardFocus(XPWidgetID inWidget) {
  return Forward<&Host::widgets, &Widgets::setKeyboardFocus>(inWidget);
}

XPWIDGETS_API void XPLoseKeyboardFocus(XPWidgetID inWidget) {
  Forward<&Host::widgets, &Widgets::loseKeyboardFocus>(inWidget);
}

XPWIDGETS_API XPWidgetID XPGetWidgetWithFocus(void) {
  return Forward<&Host::widgets, &Widgets::keyboardFocus>();
}

XPWIDGETS_API void XPAddWidgetCallback(XPWidgetID inWidget, XPWidgetFunc_t inNewCallback) {
  Forward<&Host::widgets, &Widgets::addCallback>(inWidget, inNewCallback);
}

XPWIDGETS_API XPWidgetFunc_t XPGetWidgetClassFunc(XPWidgetClass inWidgetClass) {
  return sim::Widgets::classFunction(inWidgetClass);
}

}  // extern "C"
