// The data display's layout: 21 rows of a caption and an entry field, 20 pixels apart, in the pilots' order.
#include <vector>

#include "ui/control_panel_fixture.h"

namespace talvenor::testing {
namespace {

TEST_F(ControlPanelTest, DataDisplayLayoutFromTheMenu) {
  const char* rows[21] = {"X",
                          "Y",
                          "Z",
                          "Pitch",
                          "Roll",
                          "Heading",
                          "TIR X",
                          "TIR Y",
                          "TIR Z",
                          "TIR Pitch",
                          "TIR Roll",
                          "TIR Heading",
                          "Effect X",
                          "Effect Y",
                          "Effect Z",
                          "X Increment",
                          "Y Increment",
                          "Z Increment",
                          "Heading Increment",
                          "Pitch Increment",
                          "Roll Increment"};
  Start();
  ASSERT_TRUE(Pick("Data Display"));
  const auto tree = host().widgets().tree(host().widgets().findWindow("Talvenor Data"));
  ASSERT_EQ(tree.size(), 44u);
  const sim::WidgetInfo& window = tree[0];
  EXPECT_TRUE(window.isRoot && window.visible);
  EXPECT_EQ(XPGetWidgetProperty(window.id, xpProperty_MainWindowHasCloseBoxes, nullptr), 1);
  EXPECT_EQ((std::vector<int>{window.left, window.top, window.right, window.bottom}),
            (std::vector<int>{120, 540, 390, 60}));
  EXPECT_EQ(tree[1].widgetClass, xpWidgetClass_SubWindow);
  EXPECT_EQ((std::vector<int>{tree[1].left, tree[1].top, tree[1].right, tree[1].bottom}),
            (std::vector<int>{130, 510, 380, 70}));
  for (int r = 0; r < 21; ++r) {
    const sim::WidgetInfo& caption = tree[static_cast<std::size_t>(2 + 2 * r)];
    const sim::WidgetInfo& field = tree[static_cast<std::size_t>(3 + 2 * r)];
    SCOPED_TRACE(rows[r]);
    const int top = 540 - 40 - 20 * r;
    EXPECT_EQ(caption.widgetClass, xpWidgetClass_Caption);
    EXPECT_EQ(caption.descriptor, rows[r]);
    EXPECT_EQ((std::vector<int>{caption.left, caption.top, caption.right, caption.bottom}),
              (std::vector<int>{140, top, 260, top - 22}));
    EXPECT_EQ(field.widgetClass, xpWidgetClass_TextField);
    EXPECT_EQ(field.descriptor, "");
    EXPECT_EQ(XPGetWidgetProperty(field.id, xpProperty_TextFieldType, nullptr), xpTextEntryField);
    EXPECT_EQ((std::vector<int>{field.left, field.top, field.right, field.bottom}),
              (std::vector<int>{270, top, 370, top - 22}));
    EXPECT_TRUE(caption.ownVisible && field.ownVisible);
    EXPECT_EQ(field.parent, window.id);
  }
}

}  // namespace
}  // namespace talvenor::testing
