// Skeleton: replaced by the full implementation.
#include "plugin/plugin_menu.h"

namespace talvenor {

void BuildPluginMenu() {}
void ChooseSourceTexts() {}
void AppendTrackerMenuItems() {}
void EnableMenuItem(MenuItem, bool) {}
void DestroyPluginMenu() {}
void PluginMenuHandler(void*, void*) {}

}  // namespace talvenor
