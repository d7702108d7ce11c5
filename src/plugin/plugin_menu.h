// The plugin's own menu under the host's Plugins menu, with its seven items.
#pragma once

#include "XPLMMenus.h"
#include "plugin/state.h"

namespace talvenor {

enum MenuItem {
  kItemEnable = 0,
  kItemDisable,
  kItemControlPanel,
  kItemDataDisplay,
  kItemEffectsPanel,
  kItemTrackerEnable,
  kItemTrackerDisable,
  kMenuItemCount
};

struct PluginMenu {
  XPLMMenuID menu = nullptr;             // the submenu; null once destroyed
  int pluginsMenuItem = -1;              // "Talvenor" in the host's Plugins menu
  char statusText[256] = {};             // the panel's status text for a source not found
  char trackerEnableItemText[32] = {};   // item 5's text, "TrackIR Enable" or "External Data Enable"
  char trackerDisableItemText[32] = {};  // item 6's text
};

void BuildPluginMenu();         // the Plugins-menu item, the submenu and items 0 to 4
void ChooseSourceTexts();       // status and tracker item texts by source mode
void AppendTrackerMenuItems();  // items 5 and 6
void EnableMenuItem(MenuItem item, bool enabled);
void DestroyPluginMenu();
extern "C" void PluginMenuHandler(void* menuRef, void* itemRef);

}  // namespace talvenor
