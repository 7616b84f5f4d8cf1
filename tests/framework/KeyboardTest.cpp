// The dialog keyboard interface, on a modeless test dialog without any front end.
#include <gtest/gtest.h>

#include "TestDialog.h"

namespace {

class KeyboardTest : public FrameworkTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dlg.Create());
    m_dlg.ShowWindow(SW_SHOW);
  }
  int Focus() const { return m_dlg.FocusedControl() ? m_dlg.FocusedControl()->GetDlgCtrlID() : 0; }
  std::vector<int> Walk(DialogKey key, int steps) {
    std::vector<int> seen;
    for (int i = 0; i < steps; ++i) {
      m_dlg.HandleKey(key);
      seen.push_back(Focus());
    }
    return seen;
  }
  CTestDlg m_dlg;
};

TEST_F(KeyboardTest, TabWalksTheVisibleEnabledTabStopsInTemplateOrder) {
  EXPECT_EQ(Focus(), 201) << "OnInitDialog returned TRUE: the first tab stop has the focus";
  m_dlg.GetDlgItem(301)->EnableWindow(FALSE);
  EXPECT_EQ(Walk(DialogKey::Tab, 5), (std::vector<int>{202, 300, IDOK, IDCANCEL, 201}));
  EXPECT_EQ(Walk(DialogKey::BackTab, 2), (std::vector<int>{IDCANCEL, IDOK}));
}

TEST_F(KeyboardTest, ArrowsStayInTheirGroup) {
  // No WS_GROUP in the template: the check boxes form one group, the push buttons another.
  EXPECT_EQ(Walk(DialogKey::Down, 2), (std::vector<int>{202, 201})) << "the hidden box is skipped";
  EXPECT_EQ(m_dlg.IsDlgButtonChecked(201), 1u) << "arrows move the focus without toggling";
  m_dlg.GotoDlgCtrl(m_dlg.GetDlgItem(IDCANCEL));
  EXPECT_EQ(Walk(DialogKey::Right, 1), (std::vector<int>{300}));
  EXPECT_EQ(Walk(DialogKey::Left, 2), (std::vector<int>{IDCANCEL, IDOK}));
}

TEST_F(KeyboardTest, SpaceTogglesTheFocusedCheckBox) {
  m_dlg.HandleKey(DialogKey::Space);
  EXPECT_EQ(m_dlg.IsDlgButtonChecked(201), 0u);
  m_dlg.HandleKey(DialogKey::Space);
  EXPECT_EQ(m_dlg.IsDlgButtonChecked(201), 1u);
}

TEST_F(KeyboardTest, DefaultButtonFollowsTheFocusedPushButton) {
  EXPECT_EQ(m_dlg.DefaultButton()->GetDlgCtrlID(), IDOK);
  m_dlg.GotoDlgCtrl(m_dlg.GetDlgItem(300));
  EXPECT_EQ(m_dlg.DefaultButton()->GetDlgCtrlID(), 300);
  m_dlg.GotoDlgCtrl(m_dlg.GetDlgItem(202));
  EXPECT_EQ(m_dlg.DefaultButton()->GetDlgCtrlID(), IDOK);
}

TEST_F(KeyboardTest, EnterDoesNothingWhenTheDefaultButtonIsDisabled) {
  m_dlg.GetDlgItem(IDOK)->EnableWindow(FALSE);
  m_dlg.HandleKey(DialogKey::Enter);
  EXPECT_TRUE(m_dlg.IsWindowVisible()) << "a modeless dialog that ended would be hidden";
  m_dlg.GetDlgItem(IDOK)->EnableWindow(TRUE);
  m_dlg.HandleKey(DialogKey::Enter);
  EXPECT_FALSE(m_dlg.IsWindowVisible());
  EXPECT_EQ(m_dlg.ModalResult(), IDOK);
}

TEST_F(KeyboardTest, MnemonicsClickButtonsAndLabelsFocusTheNextTabStop) {
  EXPECT_TRUE(m_dlg.HandleMnemonic('B'));
  EXPECT_EQ(Focus(), 202);
  EXPECT_EQ(m_dlg.IsDlgButtonChecked(202), 1u);
  EXPECT_TRUE(m_dlg.HandleMnemonic('s'));
  EXPECT_EQ(Focus(), 300) << "the label's mnemonic goes to the tab stop after it";
  EXPECT_EQ(m_dlg.m_nApplied, 0) << "and does not press it";
  EXPECT_TRUE(m_dlg.HandleMnemonic('p'));
  EXPECT_EQ(m_dlg.m_nApplied, 1);
  EXPECT_FALSE(m_dlg.HandleMnemonic('h')) << "hidden controls never match";
  m_dlg.GetDlgItem(301)->EnableWindow(FALSE);
  EXPECT_FALSE(m_dlg.HandleMnemonic('f')) << "disabled controls never match";
  EXPECT_FALSE(m_dlg.HandleMnemonic('z'));
}

TEST_F(KeyboardTest, ProgressBarKeepsItsPositionInsideTheRange) {
  CDialog progress(kTestProgress);
  ASSERT_TRUE(progress.Create());
  CWnd* bar = progress.GetDlgItem(602);
  EXPECT_EQ(bar->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(10, 20)), static_cast<LRESULT>(MAKELONG(0, 100)));
  EXPECT_EQ(bar->SendMessage(PBM_GETPOS), 10) << "0 is below the new range";
  bar->SendMessage(PBM_SETPOS, 25);
  EXPECT_EQ(bar->SendMessage(PBM_GETPOS), 20);
  EXPECT_EQ(bar->SendMessage(PBM_SETPOS, 15), 20) << "PBM_SETPOS returns the previous position";
  bar->SendMessage(PBM_SETSTEP, 4);
  bar->SendMessage(PBM_STEPIT);
  bar->SendMessage(PBM_STEPIT);
  EXPECT_EQ(bar->SendMessage(PBM_GETPOS), 13) << "stepping past the end starts over";
}

}  // namespace
