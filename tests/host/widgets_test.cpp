// The simulated XPWidgets library, driven through its C API as a plugin drives it and through the user
// actions of the driver API.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "XPLMProcessing.h"
#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "datarefs.h"
#include "flight_loops.h"
#include "host.h"
#include "widgets.h"

namespace {

constexpr XPWidgetMessage kPing = xpMsg_UserStart + 1;

struct Event {
  char who;
  XPWidgetMessage message;
  XPWidgetID widget;
  intptr_t param1;
  intptr_t param2;
  intptr_t stateSeen;  // the sender's xpProperty_ButtonState when the message arrived
  sim::PluginId caller;
};
std::vector<Event> g_events;

// A callback named WHO; it handles (returns RESULT for) the messages of the standard classes and the user's,
// never the widget library's own bookkeeping messages.
template <char Who, int Result>
int Recorder(XPWidgetMessage message, XPWidgetID widget, intptr_t param1, intptr_t param2) {
  intptr_t state = 0;
  if (message == xpMsg_ButtonStateChanged) {
    state = XPGetWidgetProperty(reinterpret_cast<XPWidgetID>(param1), xpProperty_ButtonState, nullptr);
  }
  g_events.push_back({Who, message, widget, param1, param2, state, sim::Host::current()->caller()});
  return message >= 1000 ? Result : 0;
}

// Swallows every press of the mouse.
int EatMouse(XPWidgetMessage message, XPWidgetID, intptr_t, intptr_t) {
  return message == xpMsg_MouseDown;
}

std::vector<Event> Received(XPWidgetMessage message) {
  std::vector<Event> result;
  for (const Event& e : g_events) {
    if (e.message == message) result.push_back(e);
  }
  return result;
}

std::string Whom(XPWidgetMessage message) {
  std::string who;
  for (const Event& e : Received(message)) who += e.who;
  return who;
}

class WidgetsTest : public ::testing::Test {
 protected:
  void SetUp() override { g_events.clear(); }

  XPWidgetID Window(const char* caption = "Talvenor", int visible = 1) {
    return XPCreateWidget(10, 550, 440, 230, visible, caption, 1, nullptr, xpWidgetClass_MainWindow);
  }
  XPWidgetID Child(XPWidgetID parent, const char* caption, XPWidgetClass widgetClass, int dl = 20,
                   int dt = 40) {
    return XPCreateWidget(10 + dl, 550 - dt, 10 + dl + 60, 550 - dt - 20, 1, caption, 0, parent, widgetClass);
  }
  XPWidgetID CheckBox(XPWidgetID parent, const char* caption) {
    XPWidgetID box = Child(parent, caption, xpWidgetClass_Button);
    XPSetWidgetProperty(box, xpProperty_ButtonType, xpRadioButton);
    XPSetWidgetProperty(box, xpProperty_ButtonBehavior, xpButtonBehaviorCheckBox);
    return box;
  }

  sim::Host host_;
  sim::Widgets& widgets_ = host_.widgets();
};

TEST_F(WidgetsTest, DescriptorCopiesWithStrncpySemantics) {
  XPWidgetID window = Window("Talvenor");
  std::array<char, 16> buffer;

  buffer.fill('x');
  EXPECT_EQ(XPGetWidgetDescriptor(window, buffer.data(), 8), 8);
  EXPECT_EQ(std::string(buffer.data(), 8), "Talvenor");
  EXPECT_EQ(buffer[8], 'x') << "an exact fit is not terminated";

  buffer.fill('x');
  EXPECT_EQ(XPGetWidgetDescriptor(window, buffer.data(), 3), 8) << "the whole length, not the copied one";
  EXPECT_EQ(std::string(buffer.data(), 4), "Talx");

  buffer.fill('x');
  EXPECT_EQ(XPGetWidgetDescriptor(window, buffer.data(), 12), 8);
  EXPECT_EQ(std::string(buffer.data(), 13), std::string("Talvenor\0\0\0\0x", 13)) << "padded with zeros";

  EXPECT_EQ(XPGetWidgetDescriptor(window, nullptr, 0), 8);

  std::string text = "Talvenor Data";
  XPSetWidgetDescriptor(window, text.c_str());
  text[0] = '#';
  buffer.fill('x');
  XPGetWidgetDescriptor(window, buffer.data(), static_cast<int>(buffer.size()));
  EXPECT_STREQ(buffer.data(), "Talvenor Data") << "the host keeps its own copy";
}

TEST_F(WidgetsTest, PropertyReportsWhetherItWasEverSet) {
  XPWidgetID button = Child(Window(), "Go", xpWidgetClass_Button);
  int exists = -1;
  EXPECT_EQ(XPGetWidgetProperty(button, xpProperty_ButtonState, &exists), 0);
  EXPECT_EQ(exists, 0);

  XPSetWidgetProperty(button, xpProperty_ButtonState, 0);
  exists = -1;
  EXPECT_EQ(XPGetWidgetProperty(button, xpProperty_ButtonState, &exists), 0);
  EXPECT_EQ(exists, 1) << "set to 0 is still set";

  const intptr_t big = static_cast<intptr_t>(0x7fffffff) * 4;
  XPSetWidgetProperty(button, xpProperty_UserStart, big);
  EXPECT_EQ(XPGetWidgetProperty(button, xpProperty_UserStart, nullptr), big);
}

TEST_F(WidgetsTest, VisibilityTakesParentsIntoAccount) {
  XPWidgetID window = Window();
  XPWidgetID button = Child(window, "Go", xpWidgetClass_Button);
  EXPECT_EQ(XPIsWidgetVisible(button), 1);

  XPHideWidget(window);
  EXPECT_EQ(XPIsWidgetVisible(window), 0);
  EXPECT_EQ(XPIsWidgetVisible(button), 0);
  EXPECT_TRUE(widgets_.info(button)->ownVisible) << "hiding the window leaves the child's own flag";

  XPShowWidget(window);
  XPHideWidget(button);
  EXPECT_EQ(XPIsWidgetVisible(window), 1);
  EXPECT_EQ(XPIsWidgetVisible(button), 0);

  XPWidgetID loose = XPCreateWidget(0, 10, 10, 0, 1, "loose", 0, nullptr, xpWidgetClass_Caption);
  EXPECT_EQ(XPIsWidgetVisible(loose), 0) << "outside a rooted hierarchy nothing is seen";
}

TEST_F(WidgetsTest, UpChainStopsAtTheFirstHandler) {
  XPWidgetID window = Window();
  XPWidgetID panel = Child(window, "", xpWidgetClass_SubWindow);
  XPWidgetID button = Child(panel, "Go", xpWidgetClass_Button);
  XPAddWidgetCallback(window, Recorder<'W', 0>);
  XPAddWidgetCallback(panel, Recorder<'P', 1>);
  XPAddWidgetCallback(button, Recorder<'B', 0>);

  EXPECT_EQ(XPSendMessageToWidget(button, kPing, xpMode_UpChain, 7, 0), 1);
  EXPECT_EQ(Whom(kPing), "BP");

  g_events.clear();
  XPWidgetID other = Child(window, "Other", xpWidgetClass_Button);
  XPAddWidgetCallback(other, Recorder<'O', 0>);
  EXPECT_EQ(XPSendMessageToWidget(other, kPing, xpMode_UpChain, 7, 0), 0) << "nobody handled it";
  EXPECT_EQ(Whom(kPing), "OW") << "the parent hears what the child leaves";

  g_events.clear();
  EXPECT_EQ(XPSendMessageToWidget(button, kPing, xpMode_Direct, 7, 0), 0);
  EXPECT_EQ(Whom(kPing), "B");
}

TEST_F(WidgetsTest, CallbacksRunNewestFirstInEveryDispatchMode) {
  XPWidgetID window = Window();
  XPAddWidgetCallback(window, Recorder<'A', 1>);
  XPAddWidgetCallback(window, Recorder<'B', 0>);
  EXPECT_EQ(Whom(xpMsg_Create), "AB");
  EXPECT_EQ(Received(xpMsg_Create)[0].param1, 1) << "added as a subclass";

  g_events.clear();
  EXPECT_EQ(XPSendMessageToWidget(window, kPing, xpMode_Direct, 0, 0), 1);
  EXPECT_EQ(Whom(kPing), "BA");

  XPAddWidgetCallback(window, Recorder<'C', 1>);
  g_events.clear();
  XPSendMessageToWidget(window, kPing, xpMode_Direct, 0, 0);
  EXPECT_EQ(Whom(kPing), "C");
  g_events.clear();
  XPSendMessageToWidget(window, kPing, xpMode_DirectAllCallbacks, 0, 0);
  EXPECT_EQ(Whom(kPing), "CBA");
  g_events.clear();
  XPAddWidgetCallback(window, Recorder<'D', 0>);
  EXPECT_EQ(XPSendMessageToWidget(window, kPing, xpMode_Once, 0, 0), 0);
  EXPECT_EQ(Whom(kPing), "D");
}

TEST_F(WidgetsTest, RecursiveDispatchReachesEveryDescendant) {
  XPWidgetID window = Window();
  XPWidgetID panel = Child(window, "", xpWidgetClass_SubWindow);
  XPWidgetID inner = Child(panel, "in", xpWidgetClass_Caption);
  XPWidgetID last = Child(window, "last", xpWidgetClass_Caption);
  XPAddWidgetCallback(window, Recorder<'W', 1>);
  XPAddWidgetCallback(panel, Recorder<'P', 0>);
  XPAddWidgetCallback(inner, Recorder<'I', 0>);
  XPAddWidgetCallback(last, Recorder<'L', 0>);
  EXPECT_EQ(XPSendMessageToWidget(window, kPing, xpMode_Recursive, 0, 0), 1);
  EXPECT_EQ(Whom(kPing), "WPIL");
}

TEST_F(WidgetsTest, CallbacksRunAsThePluginThatAddedThem) {
  XPWidgetID window = nullptr;
  {
    sim::Host::PluginCall call(host_, 2);
    window = Window("Stub");
    XPAddWidgetCallback(window, Recorder<'S', 0>);
  }
  XPAddWidgetCallback(window, Recorder<'T', 0>);
  XPSendMessageToWidget(window, kPing, xpMode_DirectAllCallbacks, 0, 0);
  ASSERT_EQ(Whom(kPing), "TS");
  EXPECT_EQ(Received(kPing)[0].caller, sim::kPluginUnderTest);
  EXPECT_EQ(Received(kPing)[1].caller, 2);
  EXPECT_EQ(widgets_.info(window)->owner, 2);
}

TEST_F(WidgetsTest, CheckBoxFlipsItsStateBeforeTellingRadioButtonIsSet) {
  XPWidgetID window = Window();
  XPWidgetID box = CheckBox(window, "X");
  XPAddWidgetCallback(window, Recorder<'W', 1>);

  ASSERT_EQ(widgets_.click(box), sim::UserAction::Delivered);
  ASSERT_EQ(Received(xpMsg_ButtonStateChanged).size(), 1u);
  Event first = Received(xpMsg_ButtonStateChanged)[0];
  EXPECT_EQ(first.param1, reinterpret_cast<intptr_t>(box));
  EXPECT_EQ(first.param2, 1);
  EXPECT_EQ(first.stateSeen, 1) << "the callback reads the new state";

  g_events.clear();
  widgets_.click(box);
  ASSERT_EQ(Received(xpMsg_ButtonStateChanged).size(), 1u);
  EXPECT_EQ(Received(xpMsg_ButtonStateChanged)[0].param2, 0);
  EXPECT_EQ(Received(xpMsg_ButtonStateChanged)[0].stateSeen, 0);
  EXPECT_TRUE(Received(xpMsg_PushButtonPressed).empty());

  XPWidgetID radio = Child(window, "1", xpWidgetClass_Button);
  XPSetWidgetProperty(radio, xpProperty_ButtonBehavior, xpButtonBehaviorRadioButton);
  widgets_.click(radio);
  widgets_.click(radio);
  ASSERT_EQ(Received(xpMsg_ButtonStateChanged).size(), 3u);
  EXPECT_EQ(Received(xpMsg_ButtonStateChanged)[2].param2, 1) << "a radio button is set, never cleared";
}

TEST_F(WidgetsTest, StateSetFromCodeSendsNoButtonMessage) {
  XPWidgetID window = Window();
  XPWidgetID box = CheckBox(window, "X");
  XPAddWidgetCallback(window, Recorder<'W', 1>);
  XPAddWidgetCallback(box, Recorder<'B', 0>);
  XPSetWidgetProperty(box, xpProperty_ButtonState, 1);
  EXPECT_TRUE(Received(xpMsg_ButtonStateChanged).empty());
  EXPECT_EQ(Whom(xpMsg_PropertyChanged), "B") << "only the widget itself hears of a property";
  EXPECT_EQ(Received(xpMsg_PropertyChanged)[0].param1, xpProperty_ButtonState);
}

TEST_F(WidgetsTest, PushButtonTellsItsWindow) {
  XPWidgetID window = Window();
  XPWidgetID go = Child(window, "Go", xpWidgetClass_Button);
  XPAddWidgetCallback(window, Recorder<'W', 1>);
  XPAddWidgetCallback(go, Recorder<'B', 0>);
  EXPECT_EQ(widgets_.click(go), sim::UserAction::Delivered);
  EXPECT_EQ(Whom(xpMsg_PushButtonPressed), "BW");
  EXPECT_EQ(Received(xpMsg_PushButtonPressed)[1].param1, reinterpret_cast<intptr_t>(go));
  EXPECT_EQ(XPGetWidgetProperty(go, xpProperty_ButtonState, nullptr), 0);
}

TEST_F(WidgetsTest, UnreachableButtonsGetNoClick) {
  XPWidgetID window = Window();
  XPWidgetID hidden = CheckBox(window, "hidden");
  XPWidgetID disabled = CheckBox(window, "disabled");
  XPWidgetID caption = Child(window, "label", xpWidgetClass_Caption);
  XPAddWidgetCallback(window, Recorder<'W', 1>);
  XPHideWidget(hidden);
  XPSetWidgetProperty(disabled, xpProperty_Enabled, 0);

  EXPECT_EQ(widgets_.click(hidden), sim::UserAction::NotReachable);
  EXPECT_EQ(widgets_.click(disabled), sim::UserAction::NotReachable);
  EXPECT_EQ(widgets_.click(caption), sim::UserAction::WrongKind);
  EXPECT_EQ(widgets_.click(nullptr), sim::UserAction::NoWidget);
  XPShowWidget(hidden);
  XPHideWidget(window);
  EXPECT_EQ(widgets_.click(hidden), sim::UserAction::NotReachable) << "inside a hidden window";
  EXPECT_TRUE(Received(xpMsg_ButtonStateChanged).empty());
  EXPECT_EQ(XPGetWidgetProperty(hidden, xpProperty_ButtonState, nullptr), 0);
  EXPECT_EQ(XPGetWidgetProperty(disabled, xpProperty_ButtonState, nullptr), 0);

  XPShowWidget(window);
  XPSetWidgetProperty(disabled, xpProperty_Enabled, 1);
  EXPECT_EQ(widgets_.click(disabled), sim::UserAction::Delivered);
  EXPECT_EQ(Received(xpMsg_ButtonStateChanged).size(), 1u);
}

TEST_F(WidgetsTest, ACallbackThatTakesThePressKeepsTheButtonStill) {
  XPWidgetID window = Window();
  XPWidgetID box = CheckBox(window, "X");
  XPAddWidgetCallback(window, Recorder<'W', 1>);
  XPAddWidgetCallback(box, EatMouse);
  EXPECT_EQ(widgets_.click(box), sim::UserAction::Delivered);
  EXPECT_TRUE(Received(xpMsg_ButtonStateChanged).empty());
  EXPECT_EQ(XPGetWidgetProperty(box, xpProperty_ButtonState, nullptr), 0);
}

TEST_F(WidgetsTest, CloseBoxTellsOnlyItsWindow) {
  XPWidgetID window = Window();
  XPWidgetID button = Child(window, "Go", xpWidgetClass_Button);
  XPAddWidgetCallback(window, Recorder<'W', 0>);
  XPAddWidgetCallback(button, Recorder<'B', 0>);
  EXPECT_EQ(widgets_.close(window), sim::UserAction::WrongKind) << "no close box yet";

  XPSetWidgetProperty(window, xpProperty_MainWindowHasCloseBoxes, 1);
  EXPECT_EQ(widgets_.close(window), sim::UserAction::Delivered);
  EXPECT_EQ(Whom(xpMessage_CloseButtonPushed), "W");
  EXPECT_EQ(Received(xpMessage_CloseButtonPushed)[0].param1, reinterpret_cast<intptr_t>(window));

  XPHideWidget(window);
  EXPECT_EQ(widgets_.close(window), sim::UserAction::NotReachable);
  EXPECT_EQ(widgets_.close(button), sim::UserAction::WrongKind);
  EXPECT_EQ(Received(xpMessage_CloseButtonPushed).size(), 1u);
}

// Closes the window it sits on, as a panel's close handler does.
int DestroyOnClose(XPWidgetMessage message, XPWidgetID widget, intptr_t, intptr_t) {
  if (message != xpMessage_CloseButtonPushed) return 0;
  XPDestroyWidget(widget, 1);
  return 0;
}

TEST_F(WidgetsTest, AWindowDestroyedByItsHandlerHearsNothingMore) {
  XPWidgetID window = Window();
  XPWidgetID button = Child(window, "Go", xpWidgetClass_Button);
  XPSetWidgetProperty(window, xpProperty_MainWindowHasCloseBoxes, 1);
  XPAddWidgetCallback(window, Recorder<'W', 0>);
  XPAddWidgetCallback(window, DestroyOnClose);
  EXPECT_EQ(widgets_.close(window), sim::UserAction::Delivered);
  EXPECT_EQ(Whom(xpMessage_CloseButtonPushed), "") << "the older callback went with the window";
  EXPECT_EQ(Whom(xpMsg_Destroy), "W");
  EXPECT_FALSE(widgets_.info(button).has_value());
  EXPECT_EQ(widgets_.close(window), sim::UserAction::NoWidget);
}

TEST_F(WidgetsTest, TypingReplacesAFieldsText) {
  XPWidgetID window = Window();
  XPWidgetID field = Child(window, "1.000000", xpWidgetClass_TextField);
  XPAddWidgetCallback(window, Recorder<'W', 1>);
  EXPECT_EQ(widgets_.type(field, "2.5"), sim::UserAction::Delivered);
  EXPECT_EQ(widgets_.info(field)->descriptor, "2.5");
  EXPECT_EQ(Whom(xpMsg_TextFieldChanged), "W");
  EXPECT_EQ(Received(xpMsg_TextFieldChanged)[0].param1, reinterpret_cast<intptr_t>(field));

  XPSetWidgetProperty(field, xpProperty_MaxCharacters, 4);
  widgets_.type(field, "123456");
  EXPECT_EQ(widgets_.info(field)->descriptor, "1234");
  EXPECT_EQ(widgets_.type(window, "x"), sim::UserAction::WrongKind);
}

TEST_F(WidgetsTest, DestroyWithChildrenTakesTheWholeTree) {
  XPWidgetID window = Window();
  XPWidgetID panel = Child(window, "", xpWidgetClass_SubWindow);
  XPWidgetID button = Child(panel, "Go", xpWidgetClass_Button);
  XPAddWidgetCallback(window, Recorder<'W', 0>);
  XPAddWidgetCallback(button, Recorder<'B', 0>);
  XPDestroyWidget(window, 1);

  EXPECT_EQ(Whom(xpMsg_Destroy), "BW") << "children go first";
  EXPECT_EQ(Received(xpMsg_Destroy)[0].param1, 1);
  EXPECT_EQ(Received(xpMsg_Destroy)[1].param1, 0);
  for (XPWidgetID id : {window, panel, button}) EXPECT_FALSE(widgets_.info(id).has_value());
  EXPECT_TRUE(widgets_.windows().empty());
  EXPECT_TRUE(widgets_.registrations(sim::kPluginUnderTest).empty());
}

TEST_F(WidgetsTest, DestroyWithoutChildrenOrphansThem) {
  XPWidgetID window = Window("Talvenor Data");
  XPWidgetID panel = Child(window, "", xpWidgetClass_SubWindow);
  XPWidgetID label = Child(panel, "label", xpWidgetClass_Caption);
  EXPECT_EQ(widgets_.registrations(sim::kPluginUnderTest),
            std::vector<std::string>{"widget window \"Talvenor Data\" (3 widgets)"});

  XPDestroyWidget(window, 0);
  EXPECT_FALSE(widgets_.info(window).has_value());
  EXPECT_EQ(XPGetParentWidget(panel), nullptr);
  EXPECT_EQ(XPGetParentWidget(label), panel);
  EXPECT_EQ(XPIsWidgetVisible(label), 0);
  ASSERT_EQ(widgets_.registrations(sim::kPluginUnderTest).size(), 1u) << "the orphan is left behind";
  EXPECT_NE(widgets_.registrations(sim::kPluginUnderTest)[0].find("(2 widgets)"), std::string::npos);
}

TEST_F(WidgetsTest, CallsOnDestroyedWidgetsAreIgnored) {
  XPWidgetID window = Window();
  XPWidgetID box = CheckBox(window, "X");
  XPAddWidgetCallback(box, Recorder<'B', 1>);
  XPDestroyWidget(box, 1);
  g_events.clear();

  XPSetWidgetDescriptor(box, "again");
  XPSetWidgetProperty(box, xpProperty_ButtonState, 1);
  XPShowWidget(box);
  XPAddWidgetCallback(box, Recorder<'C', 1>);
  XPDestroyWidget(box, 1);
  EXPECT_EQ(XPSendMessageToWidget(box, kPing, xpMode_Direct, 0, 0), 0);
  EXPECT_TRUE(g_events.empty());
  std::array<char, 8> buffer{'k', 'e', 'e', 'p', '\0'};
  EXPECT_EQ(XPGetWidgetDescriptor(box, buffer.data(), 8), 0);
  EXPECT_STREQ(buffer.data(), "keep");
  int exists = -1;
  EXPECT_EQ(XPGetWidgetProperty(box, xpProperty_ButtonState, &exists), 0);
  EXPECT_EQ(exists, 0);
  EXPECT_EQ(XPIsWidgetVisible(box), 0);
  EXPECT_EQ(widgets_.click(box), sim::UserAction::NoWidget);
  EXPECT_EQ(XPCountChildWidgets(window), 0);

  XPWidgetID next = CheckBox(window, "Y");
  EXPECT_NE(next, box) << "ids are never reused";
  EXPECT_FALSE(widgets_.info(box).has_value());
}

TEST_F(WidgetsTest, DriverFindsWidgetsByCaptionAndPlace) {
  Window("Talvenor");  // destroyed at once: it no longer counts
  XPDestroyWidget(widgets_.findWindow("Talvenor"), 1);
  XPWidgetID window = Window("Talvenor");
  XPWidgetID first = Child(window, "Store", xpWidgetClass_Button, 20, 40);
  XPWidgetID second = Child(window, "Store", xpWidgetClass_Button, 20, 70);
  Window("Talvenor");
  Child(Window("Other"), "Store", xpWidgetClass_Button, 20, 100);

  EXPECT_EQ(widgets_.findWindow("Talvenor"), window) << "the first live window";
  EXPECT_EQ(widgets_.findWindow("Store"), nullptr) << "only root widgets are windows";
  EXPECT_EQ(widgets_.findByCaption(window, "Store"), first);
  EXPECT_EQ(widgets_.findByCaption(window, "Store", 2), second);
  EXPECT_EQ(widgets_.findByCaption(window, "Store", 3), nullptr);
  EXPECT_EQ(widgets_.findAt(window, 20, 70), second);
  EXPECT_EQ(widgets_.findAt(window, 20, 100), nullptr) << "another window's widget";

  const std::vector<sim::WidgetInfo> tree = widgets_.tree(window);
  ASSERT_EQ(tree.size(), 3u);
  EXPECT_EQ(tree[0].depth, 0);
  EXPECT_EQ(tree[2].id, second);
  EXPECT_EQ(tree[2].depth, 1);
  EXPECT_EQ(tree[2].parent, window);
}

TEST_F(WidgetsTest, HierarchyGeometryAndFocus) {
  XPWidgetID back = Window("Back");
  XPWidgetID window = Window();
  XPWidgetID panel = XPCreateWidget(20, 500, 200, 300, 1, "", 0, window, xpWidgetClass_SubWindow);
  XPWidgetID field = XPCreateWidget(30, 480, 400, 460, 1, "0", 0, panel, xpWidgetClass_TextField);

  EXPECT_EQ(XPCountChildWidgets(window), 1);
  EXPECT_EQ(XPGetNthChildWidget(panel, 0), field);
  EXPECT_EQ(XPGetNthChildWidget(panel, 1), nullptr);
  EXPECT_EQ(XPFindRootWidget(field), window);
  EXPECT_EQ(XPGetWidgetForLocation(window, 40, 470, 1, 1), field);
  EXPECT_EQ(XPGetWidgetForLocation(window, 40, 470, 0, 1), panel);
  EXPECT_EQ(XPGetWidgetForLocation(window, 300, 470, 1, 1), window) << "the panel limits its child";
  EXPECT_EQ(XPGetWidgetForLocation(window, 0, 0, 1, 1), nullptr);

  int l = 0, t = 0, r = 0, b = 0;
  XPGetWidgetExposedGeometry(field, &l, &t, &r, &b);
  EXPECT_EQ(std::vector<int>({l, t, r, b}), std::vector<int>({30, 480, 200, 460}));

  EXPECT_EQ(XPIsWidgetInFront(field), 1);
  XPBringRootWidgetToFront(back);
  EXPECT_EQ(XPIsWidgetInFront(field), 0);
  EXPECT_EQ(XPIsWidgetInFront(back), 1);

  EXPECT_EQ(XPSetKeyboardFocus(panel), nullptr) << "a sub window refuses focus";
  EXPECT_EQ(XPSetKeyboardFocus(field), field);
  EXPECT_EQ(XPGetWidgetWithFocus(), field);
  XPLoseKeyboardFocus(field);
  EXPECT_EQ(XPGetWidgetWithFocus(), nullptr);

  XPPlaceWidgetWithin(field, window);
  EXPECT_EQ(XPGetParentWidget(field), window);
  EXPECT_EQ(XPCountChildWidgets(panel), 0);
  XPPlaceWidgetWithin(window, field);
  EXPECT_EQ(XPGetParentWidget(window), nullptr) << "a root stays a root";
}

float NextCycle(float, float, int, void*) {
  return -1;
}

// What changed since a checkpoint goes back with it, widgets made since included, and nothing else moves.
TEST_F(WidgetsTest, ACheckpointPutBackUndoesTheSessionSinceIt) {
  XPWidgetID window = Window();
  XPWidgetID field = Child(window, "1.5", xpWidgetClass_TextField);
  XPWidgetID box = CheckBox(window, "on");
  host_.datarefs().write("sim/flightmodel/position/groundspeed", 20.0);
  const auto checkpoint = host_.checkpoint();

  ASSERT_EQ(widgets_.type(field, "abc"), sim::UserAction::Delivered);
  ASSERT_EQ(widgets_.click(box), sim::UserAction::Delivered);
  XPWidgetID made = Child(window, "new", xpWidgetClass_Caption);
  XPHideWidget(window);
  host_.datarefs().write("sim/flightmodel/position/groundspeed", 3.0);
  XPLMRegisterFlightLoopCallback(NextCycle, -1, nullptr);
  host_.runCycles(7);
  EXPECT_FALSE(host_.matches(*checkpoint));

  host_.restore(*checkpoint);
  EXPECT_TRUE(host_.matches(*checkpoint));
  EXPECT_EQ(widgets_.info(field)->descriptor, "1.5");
  EXPECT_EQ(XPGetWidgetProperty(box, xpProperty_ButtonState, nullptr), 0);
  EXPECT_EQ(XPIsWidgetVisible(window), 1);
  EXPECT_FALSE(widgets_.info(made).has_value());
  EXPECT_EQ(XPCountChildWidgets(window), 2);
  EXPECT_EQ(host_.datarefs().read("sim/flightmodel/position/groundspeed")->value, 20.0);
  EXPECT_EQ(host_.flightLoops().count(sim::kPluginUnderTest), 0);
  EXPECT_EQ(host_.cycle(), 0);
}

}  // namespace
