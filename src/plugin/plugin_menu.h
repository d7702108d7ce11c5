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
};

struct PluginMenu {
  XPLMMenuID menu = nullptr;
  int pluginsMenuItem = -1;
  char statusText[256] = {};
  char trackerEnableItemText[32] = {};
  char trackerDisableItemText[32] = {};
};

void BuildPluginMenu();         // the Plugins-menu item, the submenu and items 0 to 4
void ChooseSourceTexts();       // status and tracker item texts by source mode
void AppendTrackerMenuItems();  // items 5 and 6
void EnableMenuItem(MenuItem item, bool enabled);
void DestroyPluginMenu();
extern "C" void PluginMenuHandler(void* menuRef, void* itemRef);

}  // namespace talvenor
