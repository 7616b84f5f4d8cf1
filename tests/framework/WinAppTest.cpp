// The application object: start-up once, FALSE ends the program, the 3-D look.
#include <gtest/gtest.h>

#include "platform/WinApp.h"

#include "TestDialog.h"

namespace {

class CCountingApp : public CWinApp {
 public:
  CCountingApp() : CWinApp("counting") {}
  BOOL InitInstance() override {
    ++m_nStarts;
    Enable3dControls();
    CTestDlg dlg;
    m_pMainWnd = &dlg;
    m_nResult = dlg.DoModal();
    m_b3d = dlg.Is3dLook();
    m_pMainWnd = nullptr;
    return FALSE;
  }
  int ExitInstance() override { return 7; }
  int m_nStarts = 0;
  INT_PTR m_nResult = 0;
  bool m_b3d = false;
};

TEST_F(FrameworkTest, StartUpRunsOnceAndFalseEndsTheProgramWithoutALoop) {
  UseScript("key ESC\n");
  CCountingApp app;
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_STREQ(AfxGetAppName(), "counting");
  EXPECT_EQ(AfxWinMain(), 7) << "the exit code is ExitInstance's";
  EXPECT_EQ(app.m_nStarts, 1);
  EXPECT_EQ(app.m_nResult, IDCANCEL);
  EXPECT_TRUE(app.m_b3d) << "Enable3dControls gives every dialog the 3-D look";
}

TEST_F(FrameworkTest, WithoutApplicationTheTemplateDecidesThe3dLook) {
  UseScript("");
  CTestDlg dlg;
  ASSERT_TRUE(dlg.Create());
  EXPECT_FALSE(dlg.Is3dLook());
  EXPECT_EQ(AfxWinMain(), 1) << "no application object";
}

}  // namespace
