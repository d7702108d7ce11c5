// Menus of the simulated host.
//
// The host's Plugins menu (title "Plugins") starts empty; plugins append items to it and hang their own
// menus under those items. A pick on an item that is disabled, or that carries a submenu, calls no handler
// (a user cannot pick it). Destroying a menu removes it and its submenus; the parent item it hung under stays.
// Items appended to the Plugins menu belong to the plugin and vanish when it is unloaded; menus a plugin
// created and did not destroy are reported as left behind at its stop.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "XPLMMenus.h"
#include "host.h"

namespace sim {

struct MenuItemInfo {
  std::string text;
  bool enabled = true;
  bool separator = false;
  XPLMMenuCheck check = xplm_Menu_NoCheck;
  bool hasSubmenu = false;
};

class Menus {
 public:
  explicit Menus(Host& host);
  ~Menus();

  // C API.
  XPLMMenuID pluginsMenu();
  XPLMMenuID create(const char* name, XPLMMenuID parent, int parentItem, XPLMMenuHandler_f handler, void* menuRef);
  void destroy(XPLMMenuID menu);
  void clearAll(XPLMMenuID menu);
  int appendItem(XPLMMenuID menu, const char* name, void* itemRef);
  void appendSeparator(XPLMMenuID menu);
  void setItemName(XPLMMenuID menu, int index, const char* name);
  void checkItem(XPLMMenuID menu, int index, XPLMMenuCheck check);
  XPLMMenuCheck itemCheck(XPLMMenuID menu, int index) const;
  void enableItem(XPLMMenuID menu, int index, int enabled);
  void removeItem(XPLMMenuID menu, int index);

  // Driver API. A menu is named by its title (the first live menu with that title, "Plugins" the host's).
  bool exists(std::string_view title) const;
  std::optional<std::vector<MenuItemInfo>> items(std::string_view title) const;
  // ITEM: an item's text, or "#INDEX". Returns false when the menu or item does not exist; *handled says
  // whether a handler was called (false for a disabled item or one with a submenu).
  bool pick(std::string_view title, std::string_view item, bool* handled = nullptr);
  std::vector<std::string> registrations(PluginId owner) const;
  void removePluginItems(PluginId owner);  // the plugin is unloaded

 private:
  struct Menu;
  Menu* fromId(XPLMMenuID id) const;
  Host& host_;
  std::vector<std::unique_ptr<Menu>> menus_;
};

}  // namespace sim
