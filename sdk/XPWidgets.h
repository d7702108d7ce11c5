#ifndef XPWidgets_h
#define XPWidgets_h

// The widgets library: a retained hierarchy of rectangles in global screen coordinates, each driven
// by a chain of widget functions. These functions live in XPWidgets_64.dll on Windows.

#include "XPLMDisplay.h"
#include "XPWidgetDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

// Returns 0 on failure. A root widget must pass 0 as inContainer.
XPWIDGETS_API XPWidgetID XPCreateWidget(int inLeft, int inTop, int inRight, int inBottom, int inVisible,
                                        const char* inDescriptor, int inIsRoot, XPWidgetID inContainer,
                                        XPWidgetClass inClass);
XPWIDGETS_API XPWidgetID XPCreateCustomWidget(int inLeft, int inTop, int inRight, int inBottom, int inVisible,
                                              const char* inDescriptor, int inIsRoot, XPWidgetID inContainer,
                                              XPWidgetFunc_t inCallback);
XPWIDGETS_API void XPDestroyWidget(XPWidgetID inWidget, int inDestroyChildren);
// Returns 1 if some callback handled the message.
XPWIDGETS_API int XPSendMessageToWidget(XPWidgetID inWidget, XPWidgetMessage inMessage, XPDispatchMode inMode,
                                        intptr_t inParam1, intptr_t inParam2);

XPWIDGETS_API void XPPlaceWidgetWithin(XPWidgetID inSubWidget, XPWidgetID inContainer);
XPWIDGETS_API int XPCountChildWidgets(XPWidgetID inWidget);
XPWIDGETS_API XPWidgetID XPGetNthChildWidget(XPWidgetID inWidget, int inIndex);
XPWIDGETS_API XPWidgetID XPGetParentWidget(XPWidgetID inWidget);
XPWIDGETS_API void XPShowWidget(XPWidgetID inWidget);
XPWIDGETS_API void XPHideWidget(XPWidgetID inWidget);
// Takes hidden parents into account.
XPWIDGETS_API int XPIsWidgetVisible(XPWidgetID inWidget);
XPWIDGETS_API XPWidgetID XPFindRootWidget(XPWidgetID inWidget);
XPWIDGETS_API void XPBringRootWidgetToFront(XPWidgetID inWidget);
XPWIDGETS_API int XPIsWidgetInFront(XPWidgetID inWidget);
// Any output may be NULL.
XPWIDGETS_API void XPGetWidgetGeometry(XPWidgetID inWidget, int* outLeft, int* outTop, int* outRight,
                                       int* outBottom);
XPWIDGETS_API void XPSetWidgetGeometry(XPWidgetID inWidget, int inLeft, int inTop, int inRight, int inBottom);
XPWIDGETS_API XPWidgetID XPGetWidgetForLocation(XPWidgetID inContainer, int inXOffset, int inYOffset,
                                                int inRecursive, int inVisibleOnly);
// The part of the widget not clipped by its parents.
XPWIDGETS_API void XPGetWidgetExposedGeometry(XPWidgetID inWidgetID, int* outLeft, int* outTop, int* outRight,
                                              int* outBottom);

XPWIDGETS_API void XPSetWidgetDescriptor(XPWidgetID inWidget, const char* inDescriptor);
// Returns the descriptor's full length; pass NULL to ask only for that.
XPWIDGETS_API int XPGetWidgetDescriptor(XPWidgetID inWidget, char* outDescriptor, int inMaxDescLength);
XPWIDGETS_API XPLMWindowID XPGetWidgetUnderlyingWindow(XPWidgetID inWidget);
XPWIDGETS_API void XPSetWidgetProperty(XPWidgetID inWidget, XPWidgetPropertyID inProperty, intptr_t inValue);
// inExists may be NULL; a missing property reads as 0.
XPWIDGETS_API intptr_t XPGetWidgetProperty(XPWidgetID inWidget, XPWidgetPropertyID inProperty, int* inExists);

// Returns the widget that actually got focus (0 if none did).
XPWIDGETS_API XPWidgetID XPSetKeyboardFocus(XPWidgetID inWidget);
XPWIDGETS_API void XPLoseKeyboardFocus(XPWidgetID inWidget);
XPWIDGETS_API XPWidgetID XPGetWidgetWithFocus(void);

// The added callback runs before the ones already attached, so it can subclass a widget.
XPWIDGETS_API void XPAddWidgetCallback(XPWidgetID inWidget, XPWidgetFunc_t inNewCallback);
XPWIDGETS_API XPWidgetFunc_t XPGetWidgetClassFunc(XPWidgetClass inWidgetClass);

#ifdef __cplusplus
}
#endif

#endif  // XPWidgets_h
