// Compile-time checks that sdk/ matches the public X-Plane API: constant values, function types and
// struct layouts. A mismatch here would compile plugins that misbehave or fail to load in X-Plane,
// so nearly everything is a static_assert; the TEST bodies exercise the callback typedefs at run time.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "XPLMDataAccess.h"
#include "XPLMDefs.h"
#include "XPLMDisplay.h"
#include "XPLMMenus.h"
#include "XPLMPlanes.h"
#include "XPLMPlugin.h"
#include "XPLMProcessing.h"
#include "XPLMUtilities.h"
#include "XPStandardWidgets.h"
#include "XPWidgetDefs.h"
#include "XPWidgets.h"

namespace {

// ---- Platform selection ----
static_assert(IBM + LIN + APL == 1);
#if defined(__linux__)
static_assert(LIN == 1);
#elif defined(_WIN32)
static_assert(IBM == 1);
#elif defined(__APPLE__)
static_assert(APL == 1);
#endif

// ---- Plugin IDs and key flags ----
static_assert(std::is_same_v<XPLMPluginID, int>);
static_assert(XPLM_NO_PLUGIN_ID == -1);
static_assert(XPLM_PLUGIN_XPLANE == 0);
static_assert(std::is_same_v<XPLMKeyFlags, int>);
static_assert(xplm_ShiftFlag == 1 && xplm_OptionAltFlag == 2 && xplm_ControlFlag == 4 && xplm_DownFlag == 8 &&
              xplm_UpFlag == 16);

// ---- Virtual keys (a sample from every range) ----
static_assert(XPLM_VK_BACK == 0x08 && XPLM_VK_TAB == 0x09 && XPLM_VK_CLEAR == 0x0C && XPLM_VK_RETURN == 0x0D);
static_assert(XPLM_VK_ESCAPE == 0x1B && XPLM_VK_SPACE == 0x20);
static_assert(XPLM_VK_PRIOR == 0x21 && XPLM_VK_HOME == 0x24 && XPLM_VK_LEFT == 0x25 && XPLM_VK_DOWN == 0x28);
static_assert(XPLM_VK_INSERT == 0x2D && XPLM_VK_DELETE == 0x2E && XPLM_VK_HELP == 0x2F);
static_assert(XPLM_VK_0 == 0x30 && XPLM_VK_9 == 0x39);
static_assert(XPLM_VK_A == 0x41 && XPLM_VK_M == 0x4D && XPLM_VK_Z == 0x5A);
static_assert(XPLM_VK_NUMPAD0 == 0x60 && XPLM_VK_NUMPAD9 == 0x69);
static_assert(XPLM_VK_MULTIPLY == 0x6A && XPLM_VK_ADD == 0x6B && XPLM_VK_DECIMAL == 0x6E &&
              XPLM_VK_DIVIDE == 0x6F);
static_assert(XPLM_VK_F1 == 0x70 && XPLM_VK_F12 == 0x7B && XPLM_VK_F24 == 0x87);
static_assert(XPLM_VK_EQUAL == 0xB0 && XPLM_VK_MINUS == 0xB1 && XPLM_VK_SEMICOLON == 0xB5 &&
              XPLM_VK_BACKQUOTE == 0xBA);
static_assert(XPLM_VK_ENTER == 0xBB && XPLM_VK_NUMPAD_ENT == 0xBC && XPLM_VK_NUMPAD_EQ == 0xBD);

// ---- Data access ----
static_assert(std::is_same_v<XPLMDataRef, void*>);
static_assert(std::is_same_v<XPLMDataTypeID, int>);
static_assert(xplmType_Unknown == 0 && xplmType_Int == 1 && xplmType_Float == 2 && xplmType_Double == 4 &&
              xplmType_FloatArray == 8 && xplmType_IntArray == 16 && xplmType_Data == 32);

static_assert(std::is_same_v<decltype(&XPLMFindDataRef), XPLMDataRef (*)(const char*)>);
static_assert(std::is_same_v<decltype(&XPLMGetDataRefTypes), XPLMDataTypeID (*)(XPLMDataRef)>);
static_assert(std::is_same_v<decltype(&XPLMGetDatad), double (*)(XPLMDataRef)>);
static_assert(std::is_same_v<decltype(&XPLMSetDataf), void (*)(XPLMDataRef, float)>);
static_assert(std::is_same_v<decltype(&XPLMGetDatavf), int (*)(XPLMDataRef, float*, int, int)>);
static_assert(std::is_same_v<decltype(&XPLMSetDatavf), void (*)(XPLMDataRef, float*, int, int)>);
static_assert(std::is_same_v<decltype(&XPLMGetDatavi), int (*)(XPLMDataRef, int*, int, int)>);
static_assert(std::is_same_v<decltype(&XPLMSetDatavi), void (*)(XPLMDataRef, int*, int, int)>);
static_assert(std::is_same_v<decltype(&XPLMGetDatab), int (*)(XPLMDataRef, void*, int, int)>);
static_assert(std::is_same_v<decltype(&XPLMSetDatab), void (*)(XPLMDataRef, void*, int, int)>);

static_assert(std::is_same_v<XPLMGetDatai_f, int (*)(void*)>);
static_assert(std::is_same_v<XPLMSetDatai_f, void (*)(void*, int)>);
static_assert(std::is_same_v<XPLMGetDataf_f, float (*)(void*)>);
static_assert(std::is_same_v<XPLMSetDataf_f, void (*)(void*, float)>);
static_assert(std::is_same_v<XPLMGetDatad_f, double (*)(void*)>);
static_assert(std::is_same_v<XPLMSetDatad_f, void (*)(void*, double)>);
static_assert(std::is_same_v<XPLMGetDatavi_f, int (*)(void*, int*, int, int)>);
static_assert(std::is_same_v<XPLMSetDatavi_f, void (*)(void*, int*, int, int)>);
static_assert(std::is_same_v<XPLMGetDatavf_f, int (*)(void*, float*, int, int)>);
static_assert(std::is_same_v<XPLMSetDatavf_f, void (*)(void*, float*, int, int)>);
static_assert(std::is_same_v<XPLMGetDatab_f, int (*)(void*, void*, int, int)>);
static_assert(std::is_same_v<XPLMSetDatab_f, void (*)(void*, void*, int, int)>);

static_assert(std::is_same_v<decltype(&XPLMRegisterDataAccessor),
                             XPLMDataRef (*)(const char*, XPLMDataTypeID, int, XPLMGetDatai_f, XPLMSetDatai_f,
                                             XPLMGetDataf_f, XPLMSetDataf_f, XPLMGetDatad_f, XPLMSetDatad_f,
                                             XPLMGetDatavi_f, XPLMSetDatavi_f, XPLMGetDatavf_f,
                                             XPLMSetDatavf_f, XPLMGetDatab_f, XPLMSetDatab_f, void*, void*)>);
static_assert(std::is_same_v<decltype(&XPLMUnregisterDataAccessor), void (*)(XPLMDataRef)>);

// ---- Processing ----
static_assert(std::is_same_v<XPLMFlightLoop_f, float (*)(float, float, int, void*)>);
static_assert(std::is_same_v<decltype(&XPLMGetElapsedTime), float (*)()>);
static_assert(
    std::is_same_v<decltype(&XPLMRegisterFlightLoopCallback), void (*)(XPLMFlightLoop_f, float, void*)>);
static_assert(std::is_same_v<decltype(&XPLMSetFlightLoopCallbackInterval),
                             void (*)(XPLMFlightLoop_f, float, int, void*)>);

// ---- Menus ----
static_assert(std::is_same_v<XPLMMenuID, void*>);
static_assert(std::is_same_v<XPLMMenuCheck, int>);
static_assert(xplm_Menu_NoCheck == 0 && xplm_Menu_Unchecked == 1 && xplm_Menu_Checked == 2);
static_assert(std::is_same_v<XPLMMenuHandler_f, void (*)(void*, void*)>);
static_assert(std::is_same_v<decltype(&XPLMCreateMenu),
                             XPLMMenuID (*)(const char*, XPLMMenuID, int, XPLMMenuHandler_f, void*)>);
static_assert(std::is_same_v<decltype(&XPLMAppendMenuItem), int (*)(XPLMMenuID, const char*, void*, int)>);
static_assert(std::is_same_v<decltype(&XPLMCheckMenuItemState), void (*)(XPLMMenuID, int, XPLMMenuCheck*)>);

// ---- Display (hot keys) ----
static_assert(std::is_same_v<XPLMWindowID, void*>);
static_assert(std::is_same_v<XPLMHotKeyID, void*>);
static_assert(std::is_same_v<XPLMHotKey_f, void (*)(void*)>);
static_assert(std::is_same_v<decltype(&XPLMRegisterHotKey),
                             XPLMHotKeyID (*)(char, XPLMKeyFlags, const char*, XPLMHotKey_f, void*)>);
static_assert(std::is_same_v<decltype(&XPLMGetHotKeyInfo),
                             void (*)(XPLMHotKeyID, char*, XPLMKeyFlags*, char*, XPLMPluginID*)>);
static_assert(
    std::is_same_v<decltype(&XPLMSetHotKeyCombination), void (*)(XPLMHotKeyID, char, XPLMKeyFlags)>);

// ---- Plugins ----
static_assert(XPLM_MSG_PLANE_CRASHED == 101 && XPLM_MSG_PLANE_LOADED == 102 &&
              XPLM_MSG_AIRPORT_LOADED == 103 && XPLM_MSG_SCENERY_LOADED == 104 &&
              XPLM_MSG_AIRPLANE_COUNT_CHANGED == 105 && XPLM_MSG_PLANE_UNLOADED == 106 &&
              XPLM_MSG_WILL_WRITE_PREFS == 107 && XPLM_MSG_LIVERY_LOADED == 108);
static_assert(
    std::is_same_v<decltype(&XPLMGetPluginInfo), void (*)(XPLMPluginID, char*, char*, char*, char*)>);
static_assert(std::is_same_v<decltype(&XPLMSendMessageToPlugin), void (*)(XPLMPluginID, int, void*)>);
static_assert(std::is_same_v<XPLMFeatureEnumerator_f, void (*)(const char*, void*)>);
static_assert(std::is_same_v<decltype(&XPLMEnableFeature), void (*)(const char*, int)>);

// ---- Utilities ----
static_assert(std::is_same_v<XPLMCommandRef, void*>);
static_assert(std::is_same_v<XPLMCommandPhase, int>);
static_assert(xplm_CommandBegin == 0 && xplm_CommandContinue == 1 && xplm_CommandEnd == 2);
static_assert(std::is_same_v<XPLMCommandCallback_f, int (*)(XPLMCommandRef, XPLMCommandPhase, void*)>);
static_assert(std::is_same_v<XPLMError_f, void (*)(const char*)>);
static_assert(std::is_same_v<decltype(&XPLMGetDirectorySeparator), const char* (*)()>);
static_assert(std::is_same_v<decltype(&XPLMExtractFileAndPath), char* (*)(char*)>);
static_assert(std::is_same_v<decltype(&XPLMFindSymbol), void* (*)(const char*)>);
static_assert(std::is_same_v<decltype(&XPLMRegisterCommandHandler),
                             void (*)(XPLMCommandRef, XPLMCommandCallback_f, int, void*)>);
static_assert(std::is_same_v<decltype(&XPLMUnregisterCommandHandler),
                             void (*)(XPLMCommandRef, XPLMCommandCallback_f, int, void*)>);

// ---- Planes ----
static_assert(std::is_same_v<decltype(&XPLMGetNthAircraftModel), void (*)(int, char*, char*)>);
static_assert(std::is_same_v<decltype(&XPLMCountAircraft), void (*)(int*, int*, XPLMPluginID*)>);

// ---- Widget definitions ----
static_assert(std::is_same_v<XPWidgetID, void*>);
static_assert(std::is_same_v<XPWidgetPropertyID, int>);
static_assert(std::is_same_v<XPWidgetMessage, int>);
static_assert(std::is_same_v<XPWidgetClass, int>);
static_assert(std::is_same_v<XPDispatchMode, int>);
static_assert(xpProperty_Refcon == 0 && xpProperty_Dragging == 1 && xpProperty_Hilited == 4 &&
              xpProperty_Enabled == 7 && xpProperty_UserStart == 10000);
static_assert(xpMode_Direct == 0 && xpMode_UpChain == 1 && xpMode_Recursive == 2 &&
              xpMode_DirectAllCallbacks == 3 && xpMode_Once == 4);
static_assert(xpWidgetClass_None == 0);
static_assert(xpMsg_None == 0 && xpMsg_Create == 1 && xpMsg_Destroy == 2 && xpMsg_Paint == 3 &&
              xpMsg_Draw == 4);
static_assert(xpMsg_KeyPress == 5 && xpMsg_KeyTakeFocus == 6 && xpMsg_KeyLoseFocus == 7);
static_assert(xpMsg_MouseDown == 8 && xpMsg_MouseDrag == 9 && xpMsg_MouseUp == 10 && xpMsg_Reshape == 11);
static_assert(xpMsg_ExposedChanged == 12 && xpMsg_AcceptChild == 13 && xpMsg_LoseChild == 14 &&
              xpMsg_AcceptParent == 15);
static_assert(xpMsg_Shown == 16 && xpMsg_Hidden == 17 && xpMsg_DescriptorChanged == 18 &&
              xpMsg_PropertyChanged == 19);
static_assert(xpMsg_MouseWheel == 20 && xpMsg_CursorAdjust == 21 && xpMsg_UserStart == 10000);
static_assert(std::is_same_v<XPWidgetFunc_t, int (*)(XPWidgetMessage, XPWidgetID, intptr_t, intptr_t)>);

// The library writes these structs through inParam pointers, so their layout is ABI.
static_assert(sizeof(XPMouseState_t) == 4 * sizeof(int));
static_assert(offsetof(XPMouseState_t, x) == 0 && offsetof(XPMouseState_t, y) == sizeof(int) &&
              offsetof(XPMouseState_t, button) == 2 * sizeof(int) &&
              offsetof(XPMouseState_t, delta) == 3 * sizeof(int));
static_assert(offsetof(XPKeyState_t, key) == 0 && offsetof(XPKeyState_t, flags) == alignof(int) &&
              offsetof(XPKeyState_t, vkey) == alignof(int) + sizeof(int));
static_assert(std::is_same_v<decltype(XPKeyState_t::key), char> &&
              std::is_same_v<decltype(XPKeyState_t::flags), XPLMKeyFlags> &&
              std::is_same_v<decltype(XPKeyState_t::vkey), char>);
static_assert(sizeof(XPWidgetGeometryChange_t) == 4 * sizeof(int));
static_assert(offsetof(XPWidgetGeometryChange_t, dwidth) == 2 * sizeof(int));

// ---- Widget functions ----
static_assert(std::is_same_v<decltype(&XPCreateWidget), XPWidgetID (*)(int, int, int, int, int, const char*,
                                                                       int, XPWidgetID, XPWidgetClass)>);
static_assert(
    std::is_same_v<decltype(&XPCreateCustomWidget),
                   XPWidgetID (*)(int, int, int, int, int, const char*, int, XPWidgetID, XPWidgetFunc_t)>);
static_assert(std::is_same_v<decltype(&XPSendMessageToWidget),
                             int (*)(XPWidgetID, XPWidgetMessage, XPDispatchMode, intptr_t, intptr_t)>);
static_assert(
    std::is_same_v<decltype(&XPGetWidgetForLocation), XPWidgetID (*)(XPWidgetID, int, int, int, int)>);
static_assert(std::is_same_v<decltype(&XPGetWidgetGeometry), void (*)(XPWidgetID, int*, int*, int*, int*)>);
static_assert(std::is_same_v<decltype(&XPGetWidgetDescriptor), int (*)(XPWidgetID, char*, int)>);
static_assert(std::is_same_v<decltype(&XPGetWidgetUnderlyingWindow), XPLMWindowID (*)(XPWidgetID)>);
static_assert(
    std::is_same_v<decltype(&XPSetWidgetProperty), void (*)(XPWidgetID, XPWidgetPropertyID, intptr_t)>);
static_assert(
    std::is_same_v<decltype(&XPGetWidgetProperty), intptr_t (*)(XPWidgetID, XPWidgetPropertyID, int*)>);
static_assert(std::is_same_v<decltype(&XPSetKeyboardFocus), XPWidgetID (*)(XPWidgetID)>);
static_assert(std::is_same_v<decltype(&XPAddWidgetCallback), void (*)(XPWidgetID, XPWidgetFunc_t)>);
static_assert(std::is_same_v<decltype(&XPGetWidgetClassFunc), XPWidgetFunc_t (*)(XPWidgetClass)>);

// ---- Standard widgets ----
static_assert(xpWidgetClass_MainWindow == 1 && xpWidgetClass_SubWindow == 2 && xpWidgetClass_Button == 3 &&
              xpWidgetClass_TextField == 4 && xpWidgetClass_ScrollBar == 5 && xpWidgetClass_Caption == 6 &&
              xpWidgetClass_GeneralGraphics == 7 && xpWidgetClass_Progress == 8);
static_assert(xpMainWindowStyle_MainWindow == 0 && xpMainWindowStyle_Translucent == 1);
static_assert(xpProperty_MainWindowType == 1100 && xpProperty_MainWindowHasCloseBoxes == 1200);
static_assert(xpMessage_CloseButtonPushed == 1200);
static_assert(xpSubWindowStyle_SubWindow == 0 && xpSubWindowStyle_Screen == 2 &&
              xpSubWindowStyle_ListView == 3);
static_assert(xpProperty_SubWindowType == 1200);
static_assert(xpPushButton == 0 && xpRadioButton == 1 && xpWindowCloseBox == 3 && xpLittleDownArrow == 5 &&
              xpLittleUpArrow == 6);
static_assert(xpButtonBehaviorPushButton == 0 && xpButtonBehaviorCheckBox == 1 &&
              xpButtonBehaviorRadioButton == 2);
static_assert(xpProperty_ButtonType == 1300 && xpProperty_ButtonBehavior == 1301 &&
              xpProperty_ButtonState == 1302);
static_assert(xpMsg_PushButtonPressed == 1300 && xpMsg_ButtonStateChanged == 1301);
static_assert(xpTextEntryField == 0 && xpTextTransparent == 3 && xpTextTranslucent == 4);
static_assert(xpProperty_EditFieldSelStart == 1400 && xpProperty_TextFieldType == 1403 &&
              xpProperty_MaxCharacters == 1405 && xpProperty_ActiveEditSide == 1408);
static_assert(xpMsg_TextFieldChanged == 1400);
static_assert(xpScrollBarTypeScrollBar == 0 && xpScrollBarTypeSlider == 1);
static_assert(xpProperty_ScrollBarSliderPosition == 1500 && xpProperty_ScrollBarMin == 1501 &&
              xpProperty_ScrollBarMax == 1502 && xpProperty_ScrollBarPageAmount == 1503 &&
              xpProperty_ScrollBarType == 1504 && xpProperty_ScrollBarSlop == 1505);
static_assert(xpMsg_ScrollBarSliderPositionChanged == 1500);
static_assert(xpProperty_CaptionLit == 1600);
static_assert(xpProperty_GeneralGraphicsType == 1700);
static_assert(xpShip == 4 && xp_Airport == 7 && xpVOR == 9 && xpMarkerRight == 13 &&
              xpVORWithCompassRose == 19 && xpOilPlatform == 21 && xpWayPoint == 23);
static_assert(xpProperty_ProgressPosition == 1800 && xpProperty_ProgressMin == 1801 &&
              xpProperty_ProgressMax == 1802);

// Callbacks written the way a plugin writes them must convert to the SDK's typedefs without casts.
int ReadInt(void* refcon) {
  return *static_cast<int*>(refcon);
}
int ReadFloats(void* refcon, float* out, int offset, int max) {
  const float* values = static_cast<const float*>(refcon);
  constexpr int kSize = 3;
  if (out == nullptr) return kSize;
  int n = 0;
  for (int i = offset; i < kSize && n < max; ++i) out[n++] = values[i];
  return n;
}
float FlightLoop(float, float, int counter, void*) {
  return counter > 0 ? -1.0f : 0.0f;
}
int Command(XPLMCommandRef, XPLMCommandPhase phase, void*) {
  return phase == xplm_CommandEnd ? 0 : 1;
}
int Widget(XPWidgetMessage message, XPWidgetID, intptr_t param1, intptr_t) {
  if (message != xpMsg_KeyPress) return 0;
  const auto* key = reinterpret_cast<const XPKeyState_t*>(param1);
  return (key->flags & xplm_DownFlag) != 0 && key->vkey == XPLM_VK_ESCAPE;
}

}  // namespace

// PLUGIN_API must work on a definition at namespace scope of a C++ file, as plugins use it.
PLUGIN_API int TalvenorSdkCompileTestEntry(void) {
  return 1;
}

TEST(Sdk, PluginApiDefinesAnExternCFunction) {
  EXPECT_EQ(TalvenorSdkCompileTestEntry(), 1);
}

TEST(Sdk, DataAccessorTypedefsAcceptPluginCallbacks) {
  XPLMGetDatai_f read_int = ReadInt;
  XPLMGetDatavf_f read_floats = ReadFloats;
  int value = 7;
  float floats[3] = {1.0f, 2.0f, 3.0f};
  float out[3] = {};
  EXPECT_EQ(read_int(&value), 7);
  EXPECT_EQ(read_floats(floats, nullptr, 0, 0), 3);
  EXPECT_EQ(read_floats(floats, out, 1, 3), 2);
  EXPECT_FLOAT_EQ(out[0], 2.0f);
  EXPECT_FLOAT_EQ(out[1], 3.0f);
}

TEST(Sdk, ProcessingAndCommandTypedefsAcceptPluginCallbacks) {
  XPLMFlightLoop_f loop = FlightLoop;
  XPLMCommandCallback_f command = Command;
  EXPECT_FLOAT_EQ(loop(0.1f, 0.1f, 1, nullptr), -1.0f);
  EXPECT_EQ(command(nullptr, xplm_CommandBegin, nullptr), 1);
  EXPECT_EQ(command(nullptr, xplm_CommandEnd, nullptr), 0);
}

TEST(Sdk, WidgetFunctionReadsKeyStateThroughParam1) {
  XPWidgetFunc_t func = Widget;
  XPKeyState_t key{};
  key.key = 27;
  key.flags = xplm_DownFlag | xplm_ShiftFlag;
  key.vkey = static_cast<char>(XPLM_VK_ESCAPE);
  EXPECT_EQ(func(xpMsg_KeyPress, nullptr, reinterpret_cast<intptr_t>(&key), 0), 1);
  key.flags = xplm_UpFlag;
  EXPECT_EQ(func(xpMsg_KeyPress, nullptr, reinterpret_cast<intptr_t>(&key), 0), 0);
  EXPECT_EQ(func(xpMsg_MouseDown, nullptr, 0, 0), 0);
}

TEST(Sdk, HighVirtualKeysFitInTheCharParameterOfHotKeys) {
  // XPLMRegisterHotKey takes a plain char, which is signed on x86; codes above 0x7F must survive the
  // round trip through it when compared after a cast back to unsigned char.
  const char vkey = static_cast<char>(XPLM_VK_NUMPAD_EQ);
  EXPECT_EQ(static_cast<unsigned char>(vkey), XPLM_VK_NUMPAD_EQ);
  const char f24 = static_cast<char>(XPLM_VK_F24);
  EXPECT_EQ(static_cast<unsigned char>(f24), XPLM_VK_F24);
}
