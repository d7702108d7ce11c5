// Menus as a plugin builds them and a user picks from them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XPLMMenus.h"
#include "host.h"
#include "menus.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Pick {
  void* menuRef;
  void* itemRef;
  sim::PluginId caller;
};

std::vector<Pick>* g_picks = nullptr;

void RecordPick(void* menuRef, void* itemRef) {
  g_picks->push_back({menuRef, itemRef, sim::Host::current()->caller()});
}

std::vector<std::string> Texts(const std::vector<sim::MenuItemInfo>& items) {
  std::vector<std::string> texts;
  for (const auto& item : items) texts.push_back(item.separator ? "---" : item.text);
  return texts;
}

class MenusTest : public ::testing::Test {
 protected:
  MenusTest() { g_picks = &picks_; }
  ~MenusTest() override { g_picks = nullptr; }

  std::vector<sim::MenuItemInfo> Items(const char* title) {
    return menus_.items(title).value_or(std::vector<sim::MenuItemInfo>{});
  }

  // The plugin's usual layout: an item in the Plugins menu with the plugin's menu hung under it.
  XPLMMenuID BuildTalvenorMenu() {
    const int hook = XPLMAppendMenuItem(XPLMFindPluginsMenu(), "Talvenor", nullptr, 1);
    XPLMMenuID menu = XPLMCreateMenu("Talvenor", XPLMFindPluginsMenu(), hook, RecordPick, &menuRef_);
    for (int i = 0; i < 3; ++i) XPLMAppendMenuItem(menu, names_[i], &itemRefs_[i], 1);
    return menu;
  }

  sim::Host host_;
  sim::Menus& menus_ = host_.menus();
  std::vector<Pick> picks_;
  int menuRef_ = 0;
  int itemRefs_[3] = {};
  const char* names_[3] = {"Enable", "Disable", "Control Panel"};
};

TEST_F(MenusTest, ItemsGetIndicesFromZeroAndSubmenusHangUnderThem) {
  XPLMMenuID plugins = XPLMFindPluginsMenu();
  ASSERT_NE(plugins, nullptr);
  EXPECT_EQ(XPLMFindPluginsMenu(), plugins);
  EXPECT_THAT(Items("Plugins"), IsEmpty());

  EXPECT_EQ(XPLMAppendMenuItem(plugins, "Talvenor", nullptr, 1), 0);
  XPLMMenuID menu = XPLMCreateMenu("Talvenor", plugins, 0, RecordPick, nullptr);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(XPLMAppendMenuItem(menu, "Enable", nullptr, 1), 0);
  EXPECT_EQ(XPLMAppendMenuItem(menu, "Disable", nullptr, 0), 1);
  XPLMAppendMenuSeparator(menu);
  EXPECT_EQ(XPLMAppendMenuItem(menu, "Quit", nullptr, 1), 3);  // the separator takes an index

  const auto pluginsItems = Items("Plugins");
  ASSERT_EQ(pluginsItems.size(), 1u);
  EXPECT_TRUE(pluginsItems[0].hasSubmenu);
  const auto items = Items("Talvenor");
  EXPECT_THAT(Texts(items), ElementsAre("Enable", "Disable", "---", "Quit"));
  EXPECT_TRUE(items[0].enabled);
  EXPECT_FALSE(items[0].hasSubmenu);
  EXPECT_TRUE(menus_.exists("Talvenor"));
  EXPECT_FALSE(menus_.exists("Talvenor Extra"));

  // What cannot be created: no title, a parent item that does not exist, a separator as parent.
  EXPECT_EQ(XPLMCreateMenu("", plugins, 0, RecordPick, nullptr), nullptr);
  EXPECT_EQ(XPLMCreateMenu(nullptr, plugins, 0, RecordPick, nullptr), nullptr);
  EXPECT_EQ(XPLMCreateMenu("Sub", menu, 4, RecordPick, nullptr), nullptr);
  EXPECT_EQ(XPLMCreateMenu("Sub", menu, 2, RecordPick, nullptr), nullptr);
  EXPECT_EQ(XPLMAppendMenuItem(nullptr, "Lost", nullptr, 1), -1);
  // A menu without parent stands in the menu bar.
  EXPECT_NE(XPLMCreateMenu("Top", nullptr, 0, nullptr, nullptr), nullptr);
  EXPECT_TRUE(menus_.exists("Top"));
}

TEST_F(MenusTest, ItemStatesFollowThePluginsCalls) {
  XPLMMenuID menu = BuildTalvenorMenu();
  XPLMEnableMenuItem(menu, 1, 0);
  XPLMCheckMenuItem(menu, 2, xplm_Menu_Checked);
  XPLMSetMenuItemName(menu, 0, "Disable View Control", 1);
  // Out of range and unknown menus are ignored.
  XPLMEnableMenuItem(menu, 3, 0);
  XPLMEnableMenuItem(menu, -1, 0);
  XPLMCheckMenuItem(nullptr, 0, xplm_Menu_Checked);
  XPLMSetMenuItemName(menu, 7, "Ghost", 1);

  auto items = Items("Talvenor");
  EXPECT_THAT(Texts(items), ElementsAre("Disable View Control", "Disable", "Control Panel"));
  EXPECT_TRUE(items[0].enabled);
  EXPECT_FALSE(items[1].enabled);
  EXPECT_TRUE(items[2].enabled);
  EXPECT_EQ(items[0].check, xplm_Menu_NoCheck);
  EXPECT_EQ(items[2].check, xplm_Menu_Checked);

  XPLMMenuCheck check = xplm_Menu_Unchecked;
  XPLMCheckMenuItemState(menu, 2, &check);
  EXPECT_EQ(check, xplm_Menu_Checked);
  XPLMCheckMenuItemState(menu, 9, &check);
  EXPECT_EQ(check, xplm_Menu_NoCheck);
  XPLMCheckMenuItemState(menu, 2, nullptr);

  XPLMEnableMenuItem(menu, 1, 1);
  EXPECT_TRUE(Items("Talvenor")[1].enabled);
}

TEST_F(MenusTest, RemovingAnItemMovesTheLaterOnesUp) {
  XPLMMenuID menu = BuildTalvenorMenu();
  XPLMEnableMenuItem(menu, 2, 0);
  XPLMRemoveMenuItem(menu, 0);
  XPLMRemoveMenuItem(menu, 5);
  auto items = Items("Talvenor");
  EXPECT_THAT(Texts(items), ElementsAre("Disable", "Control Panel"));
  EXPECT_FALSE(items[1].enabled);
  XPLMEnableMenuItem(menu, 1, 1);  // the new index of "Control Panel"
  EXPECT_TRUE(Items("Talvenor")[1].enabled);
  EXPECT_EQ(XPLMAppendMenuItem(menu, "Again", nullptr, 1), 2);

  XPLMClearAllMenuItems(menu);
  EXPECT_THAT(Items("Talvenor"), IsEmpty());
  EXPECT_EQ(XPLMAppendMenuItem(menu, "First", nullptr, 1), 0);
}

TEST_F(MenusTest, APickCallsTheMenusHandlerWithBothRefs) {
  BuildTalvenorMenu();
  bool handled = false;
  EXPECT_TRUE(menus_.pick("Talvenor", "Disable", &handled));
  EXPECT_TRUE(handled);
  EXPECT_TRUE(menus_.pick("Talvenor", "#2", &handled));
  EXPECT_TRUE(handled);
  ASSERT_EQ(picks_.size(), 2u);
  EXPECT_EQ(picks_[0].menuRef, &menuRef_);
  EXPECT_EQ(picks_[0].itemRef, &itemRefs_[1]);
  EXPECT_EQ(picks_[0].caller, sim::kPluginUnderTest);
  EXPECT_EQ(picks_[1].itemRef, &itemRefs_[2]);

  EXPECT_FALSE(menus_.pick("Talvenor", "Nothing", &handled));
  EXPECT_FALSE(menus_.pick("Talvenor", "#3", &handled));
  EXPECT_FALSE(menus_.pick("Nowhere", "Enable", &handled));
  EXPECT_FALSE(handled);
  EXPECT_EQ(picks_.size(), 2u);
}

TEST_F(MenusTest, ItemsAUserCannotPickCallNothing) {
  XPLMMenuID menu = BuildTalvenorMenu();
  XPLMEnableMenuItem(menu, 0, 0);
  XPLMAppendMenuSeparator(menu);
  XPLMMenuID sub = XPLMCreateMenu("Presets", menu, 2, RecordPick, nullptr);
  ASSERT_NE(sub, nullptr);
  bool handled = true;
  EXPECT_TRUE(menus_.pick("Talvenor", "Enable", &handled));
  EXPECT_FALSE(handled);
  handled = true;
  EXPECT_TRUE(menus_.pick("Talvenor", "Control Panel", &handled));  // carries a submenu
  EXPECT_FALSE(handled);
  handled = true;
  EXPECT_TRUE(menus_.pick("Talvenor", "#3", &handled));  // the separator
  EXPECT_FALSE(handled);
  handled = true;
  EXPECT_TRUE(menus_.pick("Plugins", "Talvenor", &handled));
  EXPECT_FALSE(handled);
  EXPECT_THAT(picks_, IsEmpty());

  // Enabled again, the item reaches the handler.
  XPLMEnableMenuItem(menu, 0, 1);
  EXPECT_TRUE(menus_.pick("Talvenor", "Enable", &handled));
  EXPECT_TRUE(handled);
  EXPECT_EQ(picks_.size(), 1u);
}

TEST_F(MenusTest, DestroyingAMenuTakesItsSubmenusAlong) {
  XPLMMenuID menu = BuildTalvenorMenu();
  XPLMMenuID sub = XPLMCreateMenu("Presets", menu, 2, RecordPick, nullptr);
  XPLMAppendMenuItem(sub, "Preset 1", nullptr, 1);
  XPLMMenuID subsub = XPLMCreateMenu("Deeper", sub, 0, RecordPick, nullptr);
  ASSERT_NE(subsub, nullptr);
  EXPECT_THAT(menus_.registrations(sim::kPluginUnderTest),
              ElementsAre("menu Talvenor", "menu Presets", "menu Deeper"));

  XPLMDestroyMenu(sub);
  EXPECT_FALSE(menus_.exists("Presets"));
  EXPECT_FALSE(menus_.exists("Deeper"));
  EXPECT_FALSE(Items("Talvenor")[2].hasSubmenu);  // the parent item stays, now pickable
  bool handled = false;
  EXPECT_TRUE(menus_.pick("Talvenor", "Control Panel", &handled));
  EXPECT_TRUE(handled);
  EXPECT_EQ(XPLMAppendMenuItem(sub, "Stale", nullptr, 1), -1);
  XPLMDestroyMenu(sub);  // a second time: ignored

  XPLMDestroyMenu(menu);
  EXPECT_THAT(menus_.registrations(sim::kPluginUnderTest), IsEmpty());
  XPLMDestroyMenu(XPLMFindPluginsMenu());  // not the plugin's to destroy
  EXPECT_TRUE(menus_.exists("Plugins"));
  EXPECT_EQ(Items("Plugins").size(), 1u);
  EXPECT_FALSE(Items("Plugins")[0].hasSubmenu);
}

TEST_F(MenusTest, UnloadingRemovesThePluginsItemsAndMenusOnly) {
  {
    sim::Host::PluginCall call(host_, 2);
    EXPECT_EQ(XPLMAppendMenuItem(XPLMFindPluginsMenu(), "Other Plugin", nullptr, 1), 0);
  }
  XPLMMenuID menu = BuildTalvenorMenu();
  // Each plugin counts only its own items of the Plugins menu.
  EXPECT_EQ(XPLMAppendMenuItem(XPLMFindPluginsMenu(), "About Talvenor", nullptr, 1), 1);
  XPLMEnableMenuItem(XPLMFindPluginsMenu(), 0, 0);
  auto plugins = Items("Plugins");
  EXPECT_THAT(Texts(plugins), ElementsAre("Other Plugin", "Talvenor", "About Talvenor"));
  EXPECT_TRUE(plugins[0].enabled);
  EXPECT_FALSE(plugins[1].enabled);
  {
    sim::Host::PluginCall call(host_, 2);
    XPLMAppendMenuItem(menu, "Intruder", nullptr, 1);  // another plugin's menu is out of reach
    XPLMDestroyMenu(menu);
  }
  EXPECT_THAT(Texts(Items("Talvenor")), ElementsAre("Enable", "Disable", "Control Panel"));

  menus_.removePluginItems(sim::kPluginUnderTest);
  EXPECT_THAT(Texts(Items("Plugins")), ElementsAre("Other Plugin"));
  EXPECT_FALSE(menus_.exists("Talvenor"));
  EXPECT_THAT(menus_.registrations(sim::kPluginUnderTest), IsEmpty());
}

TEST(MenusWithoutHost, CallsDoNothing) {
  ASSERT_EQ(sim::Host::current(), nullptr);
  EXPECT_EQ(XPLMFindPluginsMenu(), nullptr);
  EXPECT_EQ(XPLMCreateMenu("Talvenor", nullptr, 0, nullptr, nullptr), nullptr);
  EXPECT_EQ(XPLMAppendMenuItem(nullptr, "x", nullptr, 1), -1);
  XPLMMenuCheck check = xplm_Menu_Checked;
  XPLMCheckMenuItemState(nullptr, 0, &check);
  EXPECT_EQ(check, xplm_Menu_NoCheck);
  XPLMDestroyMenu(nullptr);
}

}  // namespace
