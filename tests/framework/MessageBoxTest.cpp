// The terminal's message box: its buttons, default button and Escape, as Windows has them.
#include <gtest/gtest.h>

#include "platform/MessageBoxDlg.h"

namespace {

struct BoxCase {
  const char* name;
  UINT type;
  int focused;            // the button that starts with the focus
  INT_PTR afterEscape;    // 0: Escape does nothing
};

class MessageBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTest, ButtonsFocusAndEscapeFollowTheType) {
  CMessageBoxDlg box(nullptr, "Text", "Caption", GetParam().type, 80);
  ASSERT_TRUE(box.Create());
  ASSERT_NE(box.FocusedControl(), nullptr);
  EXPECT_EQ(box.FocusedControl()->GetDlgCtrlID(), GetParam().focused);
  box.HandleKey(DialogKey::Escape);
  if (GetParam().afterEscape == 0) {
    EXPECT_TRUE(box.IsWindowVisible()) << "Escape must not end this box";
    box.HandleKey(DialogKey::Enter);
    EXPECT_EQ(box.ModalResult(), GetParam().focused) << "Enter presses the focused button";
  } else {
    EXPECT_EQ(box.ModalResult(), GetParam().afterEscape);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Types, MessageBoxTest,
    ::testing::Values(BoxCase{"Ok", MB_OK, IDOK, IDOK}, BoxCase{"OkCancel", MB_OKCANCEL, IDOK, IDCANCEL},
                      BoxCase{"YesNo", MB_YESNO, IDYES, 0},
                      BoxCase{"YesNoSecondDefault", MB_YESNO | MB_DEFBUTTON2, IDNO, 0},
                      BoxCase{"YesNoCancel", MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL, IDCANCEL},
                      BoxCase{"AbortRetryIgnore", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY, 0}),
    [](const auto& info) { return info.param.name; });

TEST(MessageBoxLayoutTest, WrapsLongTextAndTagsTheIcon) {
  std::string text;
  for (int i = 0; i < 15; ++i) text += "ninechars ";  // 15 words: 5 to a line of 56
  DialogTemplate t = CMessageBoxDlg::MakeTemplate(text, "C", MB_YESNO | MB_ICONQUESTION, 200);
  ASSERT_GE(t.items.size(), 4u);
  EXPECT_EQ(t.items[0].text, "(?)");
  EXPECT_EQ(t.items[2].text, "&Yes");
  EXPECT_EQ(t.items[3].text, "&No");
  // At most 60 columns a line with the tag: the text's rectangle is 56 wide.
  EXPECT_LE(t.items[1].cx, 56 * 4);
  EXPECT_EQ(t.items[1].cy, 3 * 8) << "words wrap at the last blank that fits";
  DialogTemplate narrow = CMessageBoxDlg::MakeTemplate(text, "C", MB_OK, 40);
  EXPECT_LE(narrow.items[0].cx, 30 * 4) << "a 40-column terminal leaves 30 for the text";
}

}  // namespace
