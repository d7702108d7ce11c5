#include "menus.h"

#include <algorithm>
#include <charconv>

#include "c_guard.h"

namespace sim {

struct Menus::Item {
  std::string text;
  void* ref = nullptr;
  PluginId owner = kPluginUnderTest;
  bool enabled = true;
  bool separator = false;
  XPLMMenuCheck check = xplm_Menu_NoCheck;
  std::uintptr_t submenu = 0;  // the menu hung under this item; 0: none
  bool operator==(const Item&) const = default;
};

struct Menus::Menu {
  std::uintptr_t id = 0;
  std::string title;
  PluginId owner = kSimulatorId;
  XPLMMenuHandler_f handler = nullptr;
  void* menuRef = nullptr;
  std::uintptr_t parent = 0;  // 0: in the menu bar
  std::vector<Item> items;
  bool operator==(const Menu&) const = default;
};

struct Menus::Saved {
  std::vector<Menu> menus;
  std::uintptr_t nextId = 0;
};

std::shared_ptr<const Menus::Saved> Menus::save() const {
  auto saved = std::make_shared<Saved>();
  for (const auto& menu : menus_) saved->menus.push_back(*menu);
  saved->nextId = nextId_;
  return saved;
}

void Menus::restore(const Saved& saved) {
  menus_.resize(saved.menus.size());
  for (std::size_t i = 0; i < menus_.size(); ++i) {
    if (menus_[i] == nullptr) {
      menus_[i] = std::make_unique<Menu>(saved.menus[i]);
    } else if (!(*menus_[i] == saved.menus[i])) {
      *menus_[i] = saved.menus[i];
    }
  }
  nextId_ = saved.nextId;
}

namespace {

XPLMMenuID ToHandle(std::uintptr_t id) {
  return reinterpret_cast<XPLMMenuID>(id);
}

// "#INDEX" names an item by its position.
std::optional<size_t> ParseIndex(std::string_view item) {
  if (item.size() < 2 || item.front() != '#') return std::nullopt;
  size_t index = 0;
  const char* first = item.data() + 1;
  const char* last = item.data() + item.size();
  const auto [end, error] = std::from_chars(first, last, index);
  if (error != std::errc() || end != last) return std::nullopt;
  return index;
}

}  // namespace

Menus::Menus(Host& host) : host_(host) {
  auto plugins = std::make_unique<Menu>();
  plugins->id = nextId_++;
  plugins->title = "Plugins";
  menus_.push_back(std::move(plugins));
}

Menus::~Menus() = default;

Menus::Menu* Menus::fromId(XPLMMenuID id) const {
  const auto wanted = reinterpret_cast<std::uintptr_t>(id);
  if (wanted == 0) return nullptr;
  for (const auto& menu : menus_) {
    if (menu->id == wanted) return menu.get();
  }
  return nullptr;
}

Menus::Menu* Menus::byTitle(std::string_view title) const {
  for (const auto& menu : menus_) {
    if (menu->title == title) return menu.get();
  }
  return nullptr;
}

Menus::Menu* Menus::reachable(XPLMMenuID id) const {
  Menu* menu = fromId(id);
  if (menu == nullptr) return nullptr;
  return menu->owner == host_.caller() || menu->owner == kSimulatorId ? menu : nullptr;
}

Menus::Item* Menus::ownItem(Menu& menu, int index) const {
  if (index < 0) return nullptr;
  const PluginId caller = host_.caller();
  for (Item& item : menu.items) {
    if (item.owner != caller) continue;
    if (index-- == 0) return &item;
  }
  return nullptr;
}

void Menus::destroyTree(std::uintptr_t id) {
  // The menu and everything created under it, however deep.
  std::vector<std::uintptr_t> doomed{id};
  for (size_t i = 0; i < doomed.size(); ++i) {
    for (const auto& menu : menus_) {
      if (menu->parent == doomed[i]) doomed.push_back(menu->id);
    }
  }
  auto isDoomed = [&](std::uintptr_t candidate) {
    return std::find(doomed.begin(), doomed.end(), candidate) != doomed.end();
  };
  std::erase_if(menus_, [&](const auto& menu) { return isDoomed(menu->id); });
  for (const auto& menu : menus_) {
    for (Item& item : menu->items) {
      if (item.submenu != 0 && isDoomed(item.submenu)) item.submenu = 0;
    }
  }
}

XPLMMenuID Menus::pluginsMenu() {
  return ToHandle(menus_.front()->id);
}

XPLMMenuID Menus::create(const char* name, XPLMMenuID parent, int parentItem, XPLMMenuHandler_f handler,
                         void* menuRef) {
  if (name == nullptr || *name == '\0') return nullptr;
  Item* hook = nullptr;
  std::uintptr_t parentId = 0;
  if (parent != nullptr) {
    Menu* parentMenu = reachable(parent);
    if (parentMenu == nullptr) return nullptr;
    hook = ownItem(*parentMenu, parentItem);
    if (hook == nullptr || hook->separator) return nullptr;
    parentId = parentMenu->id;
  }
  auto menu = std::make_unique<Menu>();
  menu->id = nextId_++;
  menu->title = name;
  menu->owner = host_.caller();
  menu->handler = handler;
  menu->menuRef = menuRef;
  menu->parent = parentId;
  if (hook != nullptr) hook->submenu = menu->id;
  menus_.push_back(std::move(menu));
  return ToHandle(menus_.back()->id);
}

void Menus::destroy(XPLMMenuID id) {
  const Menu* menu = reachable(id);
  if (menu == nullptr || menu->owner == kSimulatorId) return;
  destroyTree(menu->id);
}

void Menus::clearAll(XPLMMenuID id) {
  Menu* menu = reachable(id);
  if (menu == nullptr) return;
  const PluginId caller = host_.caller();
  std::erase_if(menu->items, [caller](const Item& item) { return item.owner == caller; });
}

int Menus::appendItem(XPLMMenuID id, const char* name, void* itemRef) {
  Menu* menu = reachable(id);
  if (menu == nullptr) return -1;
  const PluginId caller = host_.caller();
  const auto index = std::count_if(menu->items.begin(), menu->items.end(),
                                   [caller](const Item& item) { return item.owner == caller; });
  Item item;
  item.text = name != nullptr ? name : "";
  item.ref = itemRef;
  item.owner = caller;
  menu->items.push_back(std::move(item));
  return static_cast<int>(index);
}

void Menus::appendSeparator(XPLMMenuID id) {
  Menu* menu = reachable(id);
  if (menu == nullptr) return;
  Item item;
  item.owner = host_.caller();
  item.separator = true;
  item.enabled = false;
  menu->items.push_back(std::move(item));
}

void Menus::setItemName(XPLMMenuID id, int index, const char* name) {
  Menu* menu = reachable(id);
  Item* item = menu != nullptr ? ownItem(*menu, index) : nullptr;
  if (item != nullptr && !item->separator) item->text = name != nullptr ? name : "";
}

void Menus::checkItem(XPLMMenuID id, int index, XPLMMenuCheck check) {
  Menu* menu = reachable(id);
  Item* item = menu != nullptr ? ownItem(*menu, index) : nullptr;
  if (item != nullptr && !item->separator) item->check = check;
}

XPLMMenuCheck Menus::itemCheck(XPLMMenuID id, int index) const {
  Menu* menu = reachable(id);
  const Item* item = menu != nullptr ? ownItem(*menu, index) : nullptr;
  return item != nullptr ? item->check : xplm_Menu_NoCheck;
}

void Menus::enableItem(XPLMMenuID id, int index, int enabled) {
  Menu* menu = reachable(id);
  Item* item = menu != nullptr ? ownItem(*menu, index) : nullptr;
  if (item != nullptr && !item->separator) item->enabled = enabled != 0;
}

void Menus::removeItem(XPLMMenuID id, int index) {
  Menu* menu = reachable(id);
  const Item* item = menu != nullptr ? ownItem(*menu, index) : nullptr;
  if (item == nullptr) return;
  menu->items.erase(menu->items.begin() + (item - menu->items.data()));
}

std::optional<std::vector<MenuItemInfo>> Menus::items(std::string_view title) const {
  const Menu* menu = byTitle(title);
  if (menu == nullptr) return std::nullopt;
  std::vector<MenuItemInfo> result;
  result.reserve(menu->items.size());
  for (const Item& item : menu->items) {
    result.push_back({item.text, item.enabled, item.separator, item.check, item.submenu != 0});
  }
  return result;
}

const Menus::Item* Menus::named(const Menu& menu, std::string_view itemName) const {
  if (const auto index = ParseIndex(itemName))
    return *index < menu.items.size() ? &menu.items[*index] : nullptr;
  for (const Item& candidate : menu.items) {
    if (!candidate.separator && candidate.text == itemName) return &candidate;
  }
  return nullptr;
}

std::optional<MenuItemInfo> Menus::item(std::string_view title, std::string_view itemName) const {
  const Menu* menu = byTitle(title);
  const Item* item = menu != nullptr ? named(*menu, itemName) : nullptr;
  if (item == nullptr) return std::nullopt;
  return MenuItemInfo{item->text, item->enabled, item->separator, item->check, item->submenu != 0};
}

bool Menus::pick(std::string_view title, std::string_view itemName, bool* handled) {
  if (handled != nullptr) *handled = false;
  const Menu* menu = byTitle(title);
  const Item* item = menu != nullptr ? named(*menu, itemName) : nullptr;
  if (item == nullptr) return false;
  if (menu->handler == nullptr || item->separator || !item->enabled || item->submenu != 0 ||
      !host_.delivers(menu->owner))
    return true;
  // Copied first: the handler may destroy its own menu.
  const XPLMMenuHandler_f handler = menu->handler;
  void* const menuRef = menu->menuRef;
  void* const itemRef = item->ref;
  host_.runAs(menu->owner, [&] { handler(menuRef, itemRef); });
  if (handled != nullptr) *handled = true;
  return true;
}

std::vector<std::string> Menus::registrations(PluginId owner) const {
  std::vector<std::string> texts;
  for (const auto& menu : menus_) {
    if (menu->owner == owner) texts.push_back("menu " + menu->title);
  }
  return texts;
}

void Menus::removePluginItems(PluginId owner) {
  if (owner == kSimulatorId) return;
  std::vector<std::uintptr_t> own;
  for (const auto& menu : menus_) {
    if (menu->owner == owner) own.push_back(menu->id);
  }
  for (const std::uintptr_t id : own) {
    if (fromId(ToHandle(id)) != nullptr) destroyTree(id);
  }
  for (const auto& menu : menus_) {
    std::erase_if(menu->items, [owner](const Item& item) { return item.owner == owner; });
  }
}

}  // namespace sim

// The SDK's C functions (XPLMMenus.h).

using sim::Forward;
using sim::Host;
using sim::Menus;
using sim::WithHost;

XPLMMenuID XPLMFindPluginsMenu(void) {
  return Forward<&Host::menus, &Menus::pluginsMenu>();
}

XPLMMenuID XPLMCreateMenu(const char* inName, XPLMMenuID inParentMenu, int inParentItem,
                          XPLMMenuHandler_f inHandler, void* inMenuRef) {
  return Forward<&Host::menus, &Menus::create>(inName, inParentMenu, inParentItem, inHandler, inMenuRef);
}

void XPLMDestroyMenu(XPLMMenuID inMenuID) {
  Forward<&Host::menus, &Menus::destroy>(inMenuID);
}

void XPLMClearAllMenuItems(XPLMMenuID inMenuID) {
  Forward<&Host::menus, &Menus::clearAll>(inMenuID);
}

int XPLMAppendMenuItem(XPLMMenuID inMenu, const char* inItemName, void* inItemRef,
                       int /*inDeprecatedAndIgnored*/) {
  return WithHost(-1, [&](Host& host) { return host.menus().appendItem(inMenu, inItemName, inItemRef); });
}

void XPLMAppendMenuSeparator(XPLMMenuID inMenu) {
  Forward<&Host::menus, &Menus::appendSeparator>(inMenu);
}

void XPLMSetMenuItemName(XPLMMenuID inMenu, int inIndex, const char* inItemName,
                         int /*inDeprecatedAndIgnored*/) {
  Forward<&Host::menus, &Menus::setItemName>(inMenu, inIndex, inItemName);
}

void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck) {
  Forward<&Host::menus, &Menus::checkItem>(inMenu, index, inCheck);
}

void XPLMCheckMenuItemState(XPLMMenuID inMenu, int index, XPLMMenuCheck* outCheck) {
  if (outCheck == nullptr) return;
  *outCheck = WithHost<XPLMMenuCheck>(xplm_Menu_NoCheck,
                                      [&](Host& host) { return host.menus().itemCheck(inMenu, index); });
}

void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled) {
  Forward<&Host::menus, &Menus::enableItem>(inMenu, index, enabled);
}

void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex) {
  Forward<&Host::menus, &Menus::removeItem>(inMenu, inIndex);
}
