// A test dialog from a template, driven through the script front end.
#include <gtest/gtest.h>

#include "platform/Exception.h"
#include "platform/WinApp.h"

#include "TestDialog.h"

namespace {

TEST_F(FrameworkTest, DataExchangeCopiesFieldsIntoControlsAndBackOnOK) {
  UseScript("uncheck 201\ncheck 202\nkey ENTER\n");
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  // The fields went into the boxes when the dialog opened...
  EXPECT_TRUE(HasLine(
      R"({"event":"control","dialog":500,"id":201,"kind":"checkbox","text":"&Alpha","visible":true,"enabled":true,"focused":true,"checked":1})"));
  EXPECT_NE(Transcript().find(R"("id":202,"kind":"checkbox","text":"&Beta","visible":true,"enabled":true,"focused":false,"checked":0})"),
            std::string::npos);
  // ...and the boxes came back into the fields with OK.
  EXPECT_EQ(dlg.m_bAlpha, 0);
  EXPECT_EQ(dlg.m_bBeta, 1);
}

TEST_F(FrameworkTest, CancelLeavesTheFieldsAlone) {
  UseScript("uncheck 201\nkey ESC\n");
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_bAlpha, 1);
}

struct KeyCase {
  const char* name;
  const char* script;
  INT_PTR result;
  int applied;
};

class EnterEscapeTest : public FrameworkTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(EnterEscapeTest, EndsTheDialogAsWindowsDoes) {
  UseScript(GetParam().script);
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), GetParam().result);
  EXPECT_EQ(dlg.m_nApplied, GetParam().applied);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EnterEscapeTest,
    ::testing::Values(
        // Focus on a check box: Enter presses the default button, OK.
        KeyCase{"EnterOnCheckBox", "key ENTER\n", IDOK, 0},
        KeyCase{"Escape", "key ESC\n", IDCANCEL, 0},
        // Tab to Beta, then to Apply (the hidden box is skipped): Enter presses the focused
        // push button instead of the default one.
        KeyCase{"EnterOnFocusedButton", "key TAB\nkey TAB\nkey ENTER\nkey ESC\n", IDCANCEL, 1},
        // Tab order wraps: from Cancel to Alpha, where Enter is OK again.
        KeyCase{"TabWraps", "key TAB\nkey TAB\nkey TAB\nkey TAB\nkey TAB\nkey TAB\nkey ENTER\n", IDOK, 0},
        KeyCase{"CloseCommandIsCancel", "syscommand 61536\n", IDCANCEL, 0}),
    [](const auto& info) { return info.param.name; });

TEST_F(FrameworkTest, CommandHandlerRunsAndItsTextChangeIsRecorded) {
  UseScript("click 300\nclick 300\nkey ESC\n");
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_nApplied, 2);
  EXPECT_EQ(Events("text").size(), 1u) << "the second identical text is no change";
  EXPECT_TRUE(HasLine(R"({"event":"text","dialog":500,"id":400,"text":"applied"})"));
}

struct ThrowCase {
  const char* name;
  std::function<void()> thrower;
  const char* shown;
};

class HandlerExceptionTest : public FrameworkTest, public ::testing::WithParamInterface<ThrowCase> {};

TEST_P(HandlerExceptionTest, EndsTheHandlerIsReportedAndTheDialogGoesOn) {
  UseScript("click 301\nanswer IDOK\nclick 300\nkey ESC\n");
  CTestDlg dlg;
  dlg.m_onFail = GetParam().thrower;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_nAfterFail, 0) << "the rest of the handler must not run";
  EXPECT_EQ(dlg.m_nApplied, 1) << "the dialog must go on taking commands";
  std::vector<std::string> boxes = Events("messagebox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], std::string(R"({"event":"messagebox","caption":")") + AfxGetAppName() + R"(","text":")" +
                          GetParam().shown + R"(","type":48,"answer":1,"owner":500})");
}

INSTANTIATE_TEST_SUITE_P(
    Exceptions, HandlerExceptionTest,
    ::testing::Values(ThrowCase{"ClassLibraryException", [] { throw CException("Access to C:\\x.dll was denied."); },
                                "Access to C:\\\\x.dll was denied."},
                      ThrowCase{"OtherException", [] { throw std::runtime_error("internal detail"); },
                                kUnexpectedErrorText}),
    [](const auto& info) { return info.param.name; });

TEST_F(FrameworkTest, SystemMenuHasTheStandardItemsAndRoutesCommands) {
  UseScript("syscommand 16\nsyscommand 31\nkey ESC\n");
  CTestDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_nAbout, 2);
  std::vector<std::string> menus = Events("menu");
  ASSERT_FALSE(menus.empty());
  EXPECT_EQ(menus[0],
            R"({"event":"menu","dialog":500,"items":[)"
            R"({"id":61728,"text":"&Restore","grayed":true},{"id":61456,"text":"&Move","grayed":false},)"
            R"({"id":61440,"text":"&Size","grayed":true},{"id":61472,"text":"Mi&nimize","grayed":false},)"
            R"({"id":61488,"text":"Ma&ximize","grayed":true},{"id":0,"text":"","grayed":false,"separator":true},)"
            R"({"id":61536,"text":"&Close\tAlt+F4","grayed":false},{"id":0,"text":"","grayed":false,"separator":true},)"
            R"({"id":16,"text":"&About 100%","grayed":false}]})");
}

TEST_F(FrameworkTest, MenuFunctionsFindAndGreyItemsByPositionAndCommand) {
  UseScript("key ESC\n");
  struct Probe : CTestDlg {
    using CTestDlg::CTestDlg;
    BOOL OnInitDialog() override {
      CTestDlg::OnInitDialog();
      HMENU menu = ::GetSystemMenu(this, FALSE);
      EXPECT_EQ(::GetMenuItemCount(menu), 9);
      EXPECT_EQ(::GetMenuItemID(menu, 4), SC_MAXIMIZE);
      EXPECT_EQ(::GetMenuItemID(menu, 5), 0u);
      EXPECT_EQ(::GetMenuItemID(menu, 9), 0xFFFFFFFFu);
      EXPECT_EQ(static_cast<UINT>(::EnableMenuItem(menu, ::GetMenuItemID(menu, 3), MF_GRAYED)), MF_ENABLED);
      EXPECT_EQ(static_cast<UINT>(::EnableMenuItem(menu, 2, MF_BYPOSITION | MF_ENABLED)), MF_GRAYED);
      EXPECT_EQ(static_cast<UINT>(::EnableMenuItem(menu, 0x1234, MF_GRAYED)), 0xFFFFFFFFu);
      return TRUE;
    }
  } probe;
  probe.DoModal();
  EXPECT_NE(Transcript().find(R"({"id":61440,"text":"&Size","grayed":false},{"id":61472,"text":"Mi&nimize","grayed":true})"),
            std::string::npos);
}

TEST_F(FrameworkTest, MinimisedDialogPaintsItsIconCentred) {
  UseScript("syscommand 61472\nsyscommand 61728\nkey ESC\n");
  CTestDlg dlg;
  dlg.DoModal();
  EXPECT_TRUE(HasLine(R"({"event":"window","dialog":500,"visible":true,"iconic":true})"));
  // A 36 by 36 client area and a 32 by 32 icon: (36 - 32 + 1) / 2 = 2.
  EXPECT_EQ(Events("drawicon"), std::vector<std::string>{R"({"event":"drawicon","dialog":500,"icon":900,"x":2,"y":2})"});
  EXPECT_TRUE(HasLine(R"({"event":"window","dialog":500,"visible":true,"iconic":false})"));
}

TEST_F(FrameworkTest, IconPositionTruncatesTowardZero) {
  struct Case {
    int client;
    int expected;
  };
  for (Case c : {Case{36, 2}, Case{35, 2}, Case{30, 0}}) {
    UseScript("key ESC\n");
    struct Painter : CTestDlg {
      int client = 0;
      BOOL OnInitDialog() override {
        CTestDlg::OnInitDialog();
        ShowWindow(SW_MINIMIZE);
        MoveWindow(0, 0, client, client);
        return TRUE;
      }
    } painter;
    painter.client = c.client;
    painter.DoModal();
    std::string expected = R"("x":)" + std::to_string(c.expected) + R"(,"y":)" + std::to_string(c.expected) + "}";
    ASSERT_FALSE(Events("drawicon").empty());
    EXPECT_NE(Events("drawicon").back().find(expected), std::string::npos) << "client " << c.client;
  }
}

TEST_F(FrameworkTest, ModelessDialogIsUpdatedWhileTheHandlerWorks) {
  UseScript("click 300\nkey ESC\n");
  CTestDlg dlg;
  dlg.m_onApply = [](CTestDlg&) {
    CDialog progress(kTestProgress);
    ASSERT_TRUE(progress.Create());
    EXPECT_TRUE(progress.IsWindowVisible());
    CWnd* bar = progress.GetDlgItem(602);
    bar->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    for (int pos = 0; pos <= 100; pos += 50) {
      progress.SetDlgItemText(601, ("C:\\file" + std::to_string(pos)).c_str());
      bar->SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos));
    }
    bar->SendMessage(PBM_SETPOS, 150);  // past the range: the bar stops at its end
    progress.DestroyWindow();
  };
  dlg.DoModal();
  std::vector<std::string> expected = {
      R"({"event":"dialog","id":501,"state":"open","caption":"Working","modal":false,"owner":null})",
      R"({"event":"control","dialog":501,"id":601,"kind":"static","text":"File","visible":true,"enabled":true,"focused":false})",
      R"({"event":"control","dialog":501,"id":602,"kind":"progress","text":"","visible":true,"enabled":true,"focused":false,"range":[0,100],"pos":0})",
      R"({"event":"progress","dialog":501,"id":602,"range":[0,100]})",
      R"({"event":"text","dialog":501,"id":601,"text":"C:\\file0"})",
      R"({"event":"progress","dialog":501,"id":602,"pos":0})",
      R"({"event":"text","dialog":501,"id":601,"text":"C:\\file50"})",
      R"({"event":"progress","dialog":501,"id":602,"pos":50})",
      R"({"event":"text","dialog":501,"id":601,"text":"C:\\file100"})",
      R"({"event":"progress","dialog":501,"id":602,"pos":100})",
      R"({"event":"progress","dialog":501,"id":602,"pos":100})",
      R"({"event":"dialog","id":501,"state":"end"})",
  };
  std::vector<std::string> lines = Events();
  auto first = std::find(lines.begin(), lines.end(), expected[0]);
  ASSERT_NE(first, lines.end());
  EXPECT_EQ(std::vector<std::string>(first, first + static_cast<long>(expected.size())), expected);
}

// The application whose main window owns the dialogs made without a parent.
class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("framework test") {}
};

TEST_F(FrameworkTest, DialogWithoutParentIsOwnedByTheMainWindow) {
  UseScript("click 300\nkey ESC\nkey ESC\n");
  CTestApp app;
  CTestDlg main;
  main.m_bBeta = 1;
  app.m_pMainWnd = &main;
  int seenBeta = -1;
  bool ownerEnabledMeanwhile = true;
  main.m_onApply = [&](CTestDlg&) {
    struct COwned : CDialog {
      COwned() : CDialog(kTestDialog) {}
      std::function<void(COwned&)> onInit;
      BOOL OnInitDialog() override {
        onInit(*this);
        return CDialog::OnInitDialog();
      }
    } owned;
    owned.onInit = [&](COwned& self) {
      // Later dialogs reach the main dialog's fields through their owner window.
      auto* owner = dynamic_cast<CTestDlg*>(self.GetWindow(GW_OWNER));
      ASSERT_NE(owner, nullptr);
      seenBeta = owner->m_bBeta;
      ownerEnabledMeanwhile = owner->IsWindowEnabled();
    };
    EXPECT_EQ(owned.DoModal(), IDCANCEL);
  };
  EXPECT_EQ(main.DoModal(), IDCANCEL);
  EXPECT_EQ(seenBeta, 1);
  EXPECT_FALSE(ownerEnabledMeanwhile) << "a modal dialog disables its owner";
  EXPECT_NE(Transcript().find(R"("id":500,"state":"open","caption":"Test","modal":true,"owner":500})"), std::string::npos);
  EXPECT_NE(Transcript().find(R"("id":500,"state":"open","caption":"Test","modal":true,"owner":null})"), std::string::npos)
      << "the main window itself has no owner: it was not created yet when it started";
}

TEST_F(FrameworkTest, EndDialogDuringInitialisationReturnsWithoutWaiting) {
  UseScript("answer IDOK\n");
  struct CEnded : CTestDlg {
    BOOL OnInitDialog() override {
      CTestDlg::OnInitDialog();
      MessageBox("All deleted", "Title", MB_OK);
      EndDialog(-1);
      return TRUE;
    }
  } dlg;
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_TRUE(Events("control").empty()) << "a dialog that ended at once never waited";
  EXPECT_EQ(Events("messagebox").size(), 1u);
  EXPECT_TRUE(HasLine(R"({"event":"dialog","id":500,"state":"end","result":-1})"));
}

TEST_F(FrameworkTest, MissingTemplateFailsWithMinusOne) {
  UseScript("");
  CDialog dlg(4242);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_FALSE(dlg.Create());
  EXPECT_TRUE(Events().empty());
}

}  // namespace
