// Menus of the simulated host.
//
// The host's Plugins menu (title "Plugins") starts empty; plugins append items to it and hang their own
// menus under those items. A pick on an item that is disabled, or that carries a submenu, calls no handler
// (a user cannot pick it). Destroying a menu removes it and its submenus; the parent item it hung under
// stays. Items appended to the Plugins menu belong to the plugin and vanish when it is unloaded; menus a
// plugin created and did not destroy are reported as left behind at its stop. A pick of a disabled plugin's
// item reaches no handler (host.h, "A disabled plugin").
//
// As in X-Plane, menus are kept apart between plugins: a plugin reaches only the Plugins menu and the menus
// it created, and item indices count only its own items of a menu (its first item in the Plugins menu is
// index 0 whatever other plugins appended). The driver API sees every item, as the user does.
//
// Where the SDK documentation is silent:
// - Calls with a menu id that is null, unknown, destroyed or another plugin's, or with an index that is out
//   of range, do nothing (XPLMAppendMenuItem gives -1, XPLMCreateMenu null, XPLMCheckMenuItemState
//   xplm_Menu_NoCheck). The Plugins menu itself cannot be destroyed.
// - XPLMCreateMenu needs a non-empty title, and a parent item that is not a separator; a submenu hung under
//   an item that carries one already takes its place (the older menu lives on unattached).
// - Removing an item (or clearing the menu) leaves a submenu hung under it alive but unattached; the plugin
//   still has to destroy it, and destroying the parent menu destroys it too.
// - A separator shows as a disabled item without text. Picking it, or an item of a menu without a handler
//   (such as the Plugins menu), calls nothing.
#pragma once

#include <cstdint>
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
  XPLMMenuID create(const char* name, XPLMMenuID parent, int parentItem, XPLMMenuHandler_f handler,
                    void* menuRef);
  void destroy(XPLMMenuID menu);
  void clearAll(XPLMMenuID menu);
  int appendItem(XPLMMenuID menu, const char* name, void* itemRef);
  void appendSeparator(XPLMMenuID menu);
  void setItemName(XPLMMenuID menu, int index, const char* name);
  void checkItem(XPLMMenuID menu, int index, XPLMMenuCheck check);
  XPLMMenuCheck itemCheck(XPLMMenuID menu, int index) const;  // xplm_Menu_NoCheck for an unknown item
  void enableItem(XPLMMenuID menu, int index, int enabled);
  void removeItem(XPLMMenuID menu, int index);

  // Driver API. A menu is named by its title (the first live menu with that title, "Plugins" the host's).
  bool exists(std::string_view title) const { return byTitle(title) != nullptr; }
  std::optional<std::vector<MenuItemInfo>> items(std::string_view title) const;
  std::optional<MenuItemInfo> item(std::string_view title, std::string_view item) const;  // ITEM as pick's
  // ITEM: an item's text, or "#INDEX". Returns false when the menu or item does not exist; *handled says
  // whether a handler was called (false for a disabled item or one with a submenu).
  bool pick(std::string_view title, std::string_view item, bool* handled = nullptr);
  std::vector<std::string> registrations(PluginId owner) const;  // "menu TITLE" per menu not destroyed
  void removePluginItems(PluginId owner);  // the plugin is unloaded: its items and its menus go
  // What a host checkpoint keeps of them, and putting it back (host.h, Host::Checkpoint).
  struct Saved;
  std::shared_ptr<const Saved> save() const;
  void restore(const Saved& saved);

 private:
  struct Item;
  struct Menu;
  Menu* fromId(XPLMMenuID id) const;
  Menu* byTitle(std::string_view title) const;
  Menu* reachable(XPLMMenuID id) const;  // a menu the calling plugin may touch
  // The calling plugin's INDEX-th item of MENU, or null.
  Item* ownItem(Menu& menu, int index) const;
  const Item* named(const Menu& menu, std::string_view item) const;  // ITEM as pick takes it
  void destroyTree(std::uintptr_t id);

  Host& host_;
  std::vector<std::unique_ptr<Menu>> menus_;  // creation order; the Plugins menu first
  std::uintptr_t nextId_ = 1;                 // menu ids are never reused, so stale ids stay harmless
};

}  // namespace sim
