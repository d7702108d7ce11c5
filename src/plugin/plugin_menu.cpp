#include "plugin/plugin_menu.h"

#include <cstring>

#include "config/bounded_text.h"
#include "config/identity.h"
#include "plugin/actions.h"
#include "plugin/plugin.h"

namespace talvenor {
namespace {

// Items 0 to 4 carry their own text as item reference, so the handler can tell them apart by text.
constexpr const char* kFixedItemTexts[] = {"Enable", "Disable", "Control Panel", "Data Display",
                                           "Forces Effect Panel"};
constexpr int kForceEnglish = 1;
static_assert(kItemTrackerDisable + 1 == kMenuItemCount);

void AppendItem(const char* text, const char* reference) {
  XPLMAppendMenuItem(Menu().menu, text, const_cast<char*>(reference), kForceEnglish);
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
  for (const char* text : kFixedItemTexts) AppendItem(text, text);
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
  PluginMenu& menu = Menu();
  AppendItem(menu.trackerEnableItemText, menu.trackerEnableItemText);
  AppendItem(menu.trackerDisableItemText, menu.trackerDisableItemText);
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
  const PluginMenu& menu = Menu();
  const char* const itemTexts[kMenuItemCount] = {
      kFixedItemTexts[0], kFixedItemTexts[1],         kFixedItemTexts[2],         kFixedItemTexts[3],
      kFixedItemTexts[4], menu.trackerEnableItemText, menu.trackerDisableItemText};
  for (int item = 0; item < kMenuItemCount; ++item) {
    if (SameText(picked, itemTexts[item])) RunAction(kMenuActions[item]);
  }
}

}  // namespace talvenor
