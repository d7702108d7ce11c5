// The probe menu under the Plugins menu, and four hotkeys.
#include <cstdint>

#include "probe.h"

namespace probe {
namespace {

enum Item : int { kCount, kToggleWindow, kDisableCount, kRenameMe, kSeparator, kLeftOnce, kCheckMe, kItems };

int menuRefcon = 0;  // its address is the menu's refcon, which the handler must get back
int hotkeyRefcons[4] = {0, 1, 2, 3};

void* ItemRef(int item) {
  return reinterpret_cast<void*>(static_cast<std::intptr_t>(item));
}

int& Index(int item) {
  return State().menuIndex[static_cast<std::size_t>(item)];
}

void MenuHandler(void* menuRef, void* itemRef) {
  Probe& p = State();
  ++p.menuPicks;
  p.menuRefOk = menuRef == &menuRefcon ? 1 : 0;
  p.lastMenuItem = static_cast<int>(reinterpret_cast<std::intptr_t>(itemRef));
  switch (p.lastMenuItem) {
    case kToggleWindow:
      ToggleWindow();
      break;
    case kDisableCount:
      p.countDisabled = !p.countDisabled;
      XPLMEnableMenuItem(p.menu, Index(kCount), p.countDisabled ? 0 : 1);
      XPLMSetMenuItemName(p.menu, Index(kDisableCount), p.countDisabled ? "Enable Count" : "Disable Count",
                          0);
      break;
    case kRenameMe:
      XPLMSetMenuItemName(p.menu, Index(kRenameMe), "Renamed", 0);
      break;
    case kLeftOnce:
      XPLMCommandOnce(p.left);
      break;
    case kCheckMe: {
      XPLMMenuCheck check = xplm_Menu_NoCheck;
      XPLMCheckMenuItemState(p.menu, Index(kCheckMe), &check);
      XPLMCheckMenuItem(p.menu, Index(kCheckMe),
                        check == xplm_Menu_Checked ? xplm_Menu_Unchecked : xplm_Menu_Checked);
      XPLMCheckMenuItemState(p.menu, Index(kCheckMe), &check);
      p.menuChecked = check;
      break;
    }
    default:
      break;
  }
}

void HotkeyHandler(void* refcon) {
  Probe& p = State();
  const int which = *static_cast<int*>(refcon);
  p.hotkeyRefconOk = (which >= 0 && which < 4 && refcon == &hotkeyRefcons[which]) ? 1 : 0;
  ++p.hotkeyCalls[static_cast<std::size_t>(which)];
  if (which == 1) ToggleWindow();
}

}  // namespace

void StartMenus() {
  Probe& p = State();
  XPLMMenuID plugins = XPLMFindPluginsMenu();
  p.pluginsItem = XPLMAppendMenuItem(plugins, kName, nullptr, 1);
  p.menu = XPLMCreateMenu(kName, plugins, p.pluginsItem, MenuHandler, &menuRefcon);
  constexpr const char* kTexts[kItems] = {"Count", "Toggle Window", "Disable Count", "Rename Me",
                                          nullptr, "Left Once",     "Check Me"};
  for (int item = 0; item < kItems; ++item) {
    if (item == kSeparator) {
      XPLMAppendMenuSeparator(p.menu);
      Index(item) = -1;
    } else {
      Index(item) = XPLMAppendMenuItem(p.menu, kTexts[item], ItemRef(item), 0);
    }
  }
  XPLMCheckMenuItem(p.menu, Index(kCheckMe), xplm_Menu_Unchecked);
  p.menuItems = kItems;
}

void StopMenus() {
  Probe& p = State();
  // The item under the Plugins menu goes with the plugin; the menu we made is ours to destroy.
  if (p.menu != nullptr) XPLMDestroyMenu(p.menu);
  p.menu = nullptr;
}

void RemoveLastMenuItem() {
  Probe& p = State();
  if (p.menu == nullptr || p.menuItems == 0) return;
  XPLMRemoveMenuItem(p.menu, --p.menuItems);
}

void StartHotkeys() {
  Probe& p = State();
  // F8 once for each of the three kinds of message a key press is made of.
  p.hotkeys[0] = XPLMRegisterHotKey(static_cast<char>(XPLM_VK_F8), xplm_DownFlag, "SDK Probe: count",
                                    HotkeyHandler, &hotkeyRefcons[0]);
  p.hotkeys[1] =
      XPLMRegisterHotKey(static_cast<char>(XPLM_VK_P), xplm_ShiftFlag | xplm_ControlFlag | xplm_DownFlag,
                         "SDK Probe: window", HotkeyHandler, &hotkeyRefcons[1]);
  p.hotkeys[2] = XPLMRegisterHotKey(static_cast<char>(XPLM_VK_F8), xplm_UpFlag, "SDK Probe: release",
                                    HotkeyHandler, &hotkeyRefcons[2]);
  p.hotkeys[3] = XPLMRegisterHotKey(static_cast<char>(XPLM_VK_F8), 0, "SDK Probe: repeat", HotkeyHandler,
                                    &hotkeyRefcons[3]);
}

void StopHotkeys() {
  Probe& p = State();
  for (std::size_t i = 0; i < p.hotkeys.size(); ++i) {
    if (p.leak && i == 0) continue;  // a deliberate leak keeps the count hotkey
    if (p.hotkeys[i] != nullptr) XPLMUnregisterHotKey(p.hotkeys[i]);
    p.hotkeys[i] = nullptr;
  }
}

void RemapHotkey() {
  XPLMSetHotKeyCombination(State().hotkeys[0], static_cast<char>(XPLM_VK_F9), xplm_DownFlag);
}

}  // namespace probe
