#include "plugin/plugin_menu.h"

#include <cstring>

#include "config/bounded_text.h"
#include "config/identity.h"
#include "plugin/actions.h"
#include "plugin/plugin.h"

namespace talvenor {
namespace {

// Each item carries its own text as item reference, so the handler can tell them apart by text. Items 0 to 4
// have fixed texts; the tracker items' texts are chosen by source mode and appended later.
struct MenuRow {
  MenuItem id;
  ActionId action;
  const char* text = nullptr;
  char (PluginMenu::*sourceText)[32] = nullptr;  // instead of TEXT
};

constexpr MenuRow kMenuItems[kMenuItemCount] = {
    {kItemEnable, kActViewControlOn, "Enable"},
    {kItemDisable, kActViewControlOff, "Disable"},
    {kItemControlPanel, kActOpenControlPanel, "Control Panel"},
    {kItemDataDisplay, kActOpenDataDisplay, "Data Display"},
    {kItemEffectsPanel, kActOpenEffectsPanel, "Forces Effect Panel"},
    {kItemTrackerEnable, kActTrackerOn, nullptr, &PluginMenu::trackerEnableItemText},
    {kItemTrackerDisable, kActTrackerOff, nullptr, &PluginMenu::trackerDisableItemText},
};
static_assert(kMenuItemCount == 7 && RowsInPlace(kMenuItems));
static_assert(EveryRow(kMenuItems, [](const MenuRow& row) {
  const bool fixed = row.id < kItemTrackerEnable;  // appended before the tracker items
  return fixed == Named(row.text) && fixed == (row.sourceText == nullptr) && row.action < kActionCount;
}));

constexpr int kForceEnglish = 1;

const char* ItemText(const MenuRow& row) {
  return row.text != nullptr ? row.text : Menu().*row.sourceText;
}

void AppendItem(const MenuRow& row) {
  const char* text = ItemText(row);
  XPLMAppendMenuItem(Menu().menu, text, const_cast<char*>(text), kForceEnglish);
}

// The menu texts are ours and terminated; the bound only guards against a reference the host mangled.
bool SameText(const char* picked, const char* itemText) {
  return std::strncmp(picked, itemText, sizeof(PluginMenu::statusText)) == 0;
}

}  // namespace

void BuildPluginMenu() {
  PluginMenu& menu = Menu();
  const XPLMMenuID plugins = XPLMFindPluginsMenu();
  menu.pluginsMenuItem = XPLMAppendMenuItem(plugins, kPluginName, nullptr, kForceEnglish);
  menu.menu = XPLMCreateMenu(kPluginName, plugins, menu.pluginsMenuItem, &PluginMenuHandler, nullptr);
  for (const MenuRow& row : kMenuItems) {
    if (row.id < kItemTrackerEnable) AppendItem(row);
  }
}

void ChooseSourceTexts() {
  PluginMenu& menu = Menu();
  const bool external = Settings().enableExternalData != 0;
  CopyBounded(menu.statusText, sizeof menu.statusText,
              external ? "External Data not found or disabled" : "TrackIR not found or it is disabled");
  CopyBounded(menu.trackerEnableItemText, sizeof menu.trackerEnableItemText,
              external ? "External Data Enable" : "TrackIR Enable");
  CopyBounded(menu.trackerDisableItemText, sizeof menu.trackerDisableItemText,
              external ? "External Data Disable" : "TrackIR Disable");
}

void AppendTrackerMenuItems() {
  for (const MenuRow& row : kMenuItems) {
    if (row.id >= kItemTrackerEnable) AppendItem(row);
  }
}

void EnableMenuItem(MenuItem item, bool enabled) {
  XPLMEnableMenuItem(Menu().menu, item, enabled ? 1 : 0);
}

void DestroyPluginMenu() {
  PluginMenu& menu = Menu();
  if (menu.menu != nullptr) XPLMDestroyMenu(menu.menu);
  menu.menu = nullptr;
}

void PluginMenuHandler(void* /*menuRef*/, void* itemRef) {
  if (itemRef == nullptr) return;
  const char* picked = static_cast<const char*>(itemRef);
  for (const MenuRow& row : kMenuItems) {
    if (SameText(picked, ItemText(row))) RunAction(row.action);
  }
}

}  // namespace talvenor
