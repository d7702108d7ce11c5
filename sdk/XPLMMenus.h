#ifndef XPLMMenus_h
#define XPLMMenus_h

// Menus in X-Plane's menu bar, normally hung under the Plugins menu.

#include "XPLMDefs.h"

#ifdef __cplusplus
extern "C" {
#endif

// Opaque menu handle.
typedef void* XPLMMenuID;

enum {
  // The item cannot show a check mark.
  xplm_Menu_NoCheck = 0,
  xplm_Menu_Unchecked = 1,
  xplm_Menu_Checked = 2,
};
typedef int XPLMMenuCheck;

// Called with the menu refcon given to XPLMCreateMenu and the item refcon of the chosen item.
typedef void (*XPLMMenuHandler_f)(void* inMenuRef, void* inItemRef);

XPLM_API XPLMMenuID XPLMFindPluginsMenu(void);
XPLM_API XPLMMenuID XPLMCreateMenu(const char* inName, XPLMMenuID inParentMenu, int inParentItem,
                                   XPLMMenuHandler_f inHandler, void* inMenuRef);
XPLM_API void XPLMDestroyMenu(XPLMMenuID inMenuID);
XPLM_API void XPLMClearAllMenuItems(XPLMMenuID inMenuID);
// Returns the new item's index, or a negative number on failure.
XPLM_API int XPLMAppendMenuItem(XPLMMenuID inMenu, const char* inItemName, void* inItemRef,
                                int inDeprecatedAndIgnored);
XPLM_API void XPLMAppendMenuSeparator(XPLMMenuID inMenu);
XPLM_API void XPLMSetMenuItemName(XPLMMenuID inMenu, int inIndex, const char* inItemName,
                                  int inDeprecatedAndIgnored);
XPLM_API void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck);
XPLM_API void XPLMCheckMenuItemState(XPLMMenuID inMenu, int index, XPLMMenuCheck* outCheck);
XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled);
#if defined(XPLM210)
XPLM_API void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex);
#endif

#ifdef __cplusplus
}
#endif

#endif  // XPLMMenus_h
