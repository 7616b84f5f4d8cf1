// The progress dialog: what it shows when it opens, its answer to Cancel, and its frame.
#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/ProgressDlg.h"
#include "tests/engine/EngineFixture.h"

namespace {

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class ProgressDlgTest : public EngineTest {};

TEST_F(ProgressDlgTest, OpensWithTheDefaultTextsAnEmptyLabelAndTheBarAtZero) {
  WriteScript("[English]\r\nOK=OK\r\n");
  CProgressDlg dialog;
  ASSERT_TRUE(dialog.Create());
  std::vector<std::string> lines = Events();
  EXPECT_TRUE(HasLine(lines, R"({"event":"progress","dialog":134,"id":1013,"range":[0,100]})"));
  EXPECT_TRUE(HasLine(lines, R"({"event":"progress","dialog":134,"id":1013,"pos":0})"));
  EXPECT_TRUE(HasLine(lines, R"({"event":"dialog","id":134,"state":"open","caption":"Kalvora TK7/TK5 uninstallation","modal":false,"owner":102})"))
      << "owned by the main dialog";
  EXPECT_EQ(dialog.GetDlgItem(1015)->Text(), "Please wait the uninstallation is in progress ...");
  EXPECT_EQ(dialog.GetDlgItem(1014)->Text(), "") << "the template's \"File\" never shows";
  EXPECT_TRUE(dialog.IsWindowVisible());
  EXPECT_EQ(dialog.GetStyle() & WS_SYSMENU, 0u) << "no system menu, so no close box";
  EXPECT_EQ(dialog.GetSystemMenu(FALSE), nullptr);
  EXPECT_TRUE(dialog.m_strWindowsDir.IsEmpty()) << "the directories wait for a run";
  dialog.DestroyWindow();
}

TEST_F(ProgressDlgTest, TakesItsTextsFromTheLanguageSectionWithTheWholeTitle) {
  const std::string title(100, 'T');
  WriteScript("[German]\r\nUninstallation title=" + title + "\r\nProgress text=Bitte warten\r\n");
  m_main.m_szLanguage = "German";
  CProgressDlg dialog;
  ASSERT_TRUE(dialog.Create());
  EXPECT_EQ(dialog.Text(), title) << "the progress dialog looks the title up with its full 255 characters";
  EXPECT_EQ(dialog.GetDlgItem(1015)->Text(), "Bitte warten");
  dialog.DestroyWindow();
}

TEST_F(ProgressDlgTest, CancelGetsTheFixedAnswerAndTheDialogStaysOpen) {
  UseScript("answer IDOK\n");
  CProgressDlg dialog;
  ASSERT_TRUE(dialog.Create());
  EXPECT_TRUE(dialog.HandleKey(DialogKey::Escape));
  EXPECT_TRUE(HasLine(Events("messagebox"),
                      R"({"event":"messagebox","caption":"Progress bar","text":"Cancel button","type":0,"answer":1,"owner":134})"));
  EXPECT_NE(dialog.GetSafeHwnd(), nullptr) << "the run cannot be stopped";
  EXPECT_TRUE(dialog.IsWindowVisible());
  dialog.DestroyWindow();
}

}  // namespace
