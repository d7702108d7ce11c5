#ifndef XPWidgetDefs_h
#define XPWidgetDefs_h

// Types shared by the widgets library: widget IDs, properties, messages and the widget function.

#include <stdint.h>

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

// Some code written for the official SDK uses this spelling of the import decoration.
#ifndef WIDGET_API
#define WIDGET_API XPWIDGETS_API
#endif

// Opaque widget handle; 0 means "no widget".
typedef void* XPWidgetID;

// Properties are intptr_t values keyed by ID. The standard widget classes use IDs from 1000 up; a
// plugin's own properties start at xpProperty_UserStart.
enum {
  xpProperty_Refcon = 0,
  xpProperty_Dragging = 1,
  xpProperty_DragXOff = 2,
  xpProperty_DragYOff = 3,
  xpProperty_Hilited = 4,
  xpProperty_Object = 5,
  xpProperty_Clip = 6,
  xpProperty_Enabled = 7,
  xpProperty_UserStart = 10000,
};
typedef int XPWidgetPropertyID;

// Pointed to by inParam1 of the mouse messages.
typedef struct {
  int x;
  int y;
  int button;
  int delta;
} XPMouseState_t;

// Pointed to by inParam1 of xpMsg_KeyPress.
typedef struct {
  char key;
  XPLMKeyFlags flags;
  char vkey;
} XPKeyState_t;

// Pointed to by inParam2 of xpMsg_Reshape.
typedef struct {
  int dx;
  int dy;
  int dwidth;
  int dheight;
} XPWidgetGeometryChange_t;

// How XPSendMessageToWidget routes a message.
enum {
  // Only the target widget.
  xpMode_Direct = 0,
  // Target first, then each parent in turn until one handles it.
  xpMode_UpChain = 1,
  // Target and then all of its children, depth first.
  xpMode_Recursive = 2,
  // Only the target, but every one of its callbacks even after one handles it.
  xpMode_DirectAllCallbacks = 3,
  // Only the very first callback, handled or not.
  xpMode_Once = 4,
};
typedef int XPDispatchMode;

// Standard widget classes (XPStandardWidgets.h) are small integers; 0 is reserved for custom widgets.
typedef int XPWidgetClass;

#define xpWidgetClass_None 0

enum {
  xpMsg_None = 0,
  xpMsg_Create = 1,
  xpMsg_Destroy = 2,
  xpMsg_Paint = 3,
  xpMsg_Draw = 4,
  xpMsg_KeyPress = 5,
  xpMsg_KeyTakeFocus = 6,
  xpMsg_KeyLoseFocus = 7,
  xpMsg_MouseDown = 8,
  xpMsg_MouseDrag = 9,
  xpMsg_MouseUp = 10,
  xpMsg_Reshape = 11,
  xpMsg_ExposedChanged = 12,
  xpMsg_AcceptChild = 13,
  xpMsg_LoseChild = 14,
  xpMsg_AcceptParent = 15,
  xpMsg_Shown = 16,
  xpMsg_Hidden = 17,
  xpMsg_DescriptorChanged = 18,
  xpMsg_PropertyChanged = 19,
  xpMsg_MouseWheel = 20,
  xpMsg_CursorAdjust = 21,
  // Messages of the standard widget classes use 1000..9999; a plugin's own start here.
  xpMsg_UserStart = 10000,
};
typedef int XPWidgetMessage;

// Returns 1 if the message was handled (which stops further dispatch), 0 otherwise.
typedef int (*XPWidgetFunc_t)(XPWidgetMessage inMessage, XPWidgetID inWidget, intptr_t inParam1,
                              intptr_t inParam2);

#ifdef __cplusplus
}
#endif

#endif  // XPWidgetDefs_h
