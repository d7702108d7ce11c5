#include "plugin/hotkeys.h"

#include <charconv>
#include <cstring>

#include "plugin/actions.h"
#include "plugin/plugin.h"

namespace talvenor {
namespace {

struct HotkeySlotRow {
  HotkeySlot id;
  ActionId action = kActionCount;  // kActionCount: left out
};

constexpr HotkeySlotRow kHotkeyActions[kHotkeySlots] = {
    {kSlotPreset1, kActRecallPreset1},
    {HotkeySlot(kSlotPreset1 + 1), kActRecallPreset1 + 1},
    {HotkeySlot(kSlotPreset1 + 2), kActRecallPreset1 + 2},
    {HotkeySlot(kSlotPreset1 + 3), kActRecallPreset1 + 3},
    {HotkeySlot(kSlotPreset1 + 4), kActRecallPreset1 + 4},
    {HotkeySlot(kSlotPreset1 + 5), kActRecallPreset1 + 5},
    {HotkeySlot(kSlotPreset1 + 6), kActRecallPreset1 + 6},
    {HotkeySlot(kSlotPreset1 + 7), kActRecallPreset1 + 7},
    {kSlotViewControlToggle, kActViewControlToggle},
    {kSlotTrackerToggle, kActTrackerToggle},
    {kSlotEffectsToggle, kActEffectsToggle},
    {kSlotControlPanelToggle, kActControlPanelToggle},
    {kSlotDataPanelToggle, kActDataDisplayToggle},
    {kSlotEffectsPanelToggle, kActEffectsPanelToggle},
    {kSlotLimitsToggle, kActLimitsToggle},
    {kSlotVibrationToggle, kActVibrationToggle},
};
static_assert(kHotkeySlots == 16 && RowsInPlace(kHotkeyActions));
static_assert(EveryRow(kHotkeyActions, [](const HotkeySlotRow& row) { return row.action < kActionCount; }));

constexpr std::size_t kSlotTextSize = sizeof(HotkeyRegistrations::slotTexts[0]);

void WriteSlotText(char (&text)[kSlotTextSize], int slot) {
  text[0] = static_cast<char>('0' + slot / 10);
  text[1] = static_cast<char>('0' + slot % 10);
  text[2] = '\0';
}

}  // namespace

void RegisterHotkeys() {
  HotkeyRegistrations& hotkeys = State().hotkeys;
  for (int slot = 0; slot < kHotkeySlots; ++slot) {
    const HotkeyBinding& binding = Settings().hotkeys[slot];
    if (binding.enabled == 0) continue;
    WriteSlotText(hotkeys.slotTexts[slot], slot);
    // The host's key argument is a character: only the code's low 8 bits reach it.
    const char key = static_cast<char>(static_cast<unsigned char>(binding.virtualKey & 0xFF));
    // X-Plane sends a press as down, repeats and up, and a hotkey matches exact flags: without DOWN or UP
    // the binding would run only while its key repeats, never for a tap.
    int flags = binding.modifiers;
    if ((flags & (xplm_DownFlag | xplm_UpFlag)) == 0) flags |= xplm_DownFlag;
    hotkeys.ids[slot] = XPLMRegisterHotKey(key, static_cast<XPLMKeyFlags>(flags), hotkeys.slotTexts[slot],
                                           &HotkeyHandler, hotkeys.slotTexts[slot]);
  }
}

void UnregisterHotkeys() {
  HotkeyRegistrations& hotkeys = State().hotkeys;
  for (int slot = 0; slot < kHotkeySlots; ++slot) {
    if (Settings().hotkeys[slot].enabled == 0) continue;
    XPLMUnregisterHotKey(hotkeys.ids[slot]);
    hotkeys.ids[slot] = nullptr;
    ClearHotkeyBinding(slot);
  }
}

void HotkeyHandler(void* refcon) {
  if (refcon == nullptr) return;
  const char* text = static_cast<const char*>(refcon);
  const void* end = std::memchr(text, '\0', kSlotTextSize);
  const std::size_t length =
      end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : 0;
  int slot = -1;
  std::from_chars(text, text + length, slot);
  for (const HotkeySlotRow& row : kHotkeyActions) {
    if (row.id == slot) RunAction(row.action);
  }
}

}  // namespace talvenor
