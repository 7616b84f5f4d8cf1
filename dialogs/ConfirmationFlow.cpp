// Button 1010 of the main dialog: the whole uninstall, from the selection to the end screen.
#include "app/Texts.h"
#include "dialogs/ProgressDlg.h"
#include "dialogs/RestartDlg.h"
#include "dialogs/UninstallDlg.h"

void CUninstallDlg::OnConfirm() {
  // Both objects live for the whole flow and go in reverse order on every way out of it.
  CProgressDlg progress;
  CRestartDlg restart;
  UpdateData(TRUE);
  m_bPackageSelected = m_bPackageChecked;
  bool anySelected = false;
  for (int checked : m_bPackageChecked) anySelected = anySelected || checked != 0;
  if (!anySelected) {
    std::string question = LoadText(m_szLanguage, m_szScriptPath, texts::kNoSelection);
    if (MessageBox(question.c_str(), m_szTitle, MB_YESNO) == IDYES) CDialog::OnOK();
    return;
  }
  m_bHardwareConfirmed = 0;
  HardwareCheck check = CheckHardware();
  if (!check.goOn) {
    CDialog::OnOK();
    return;
  }
  if (m_bHardwareConfirmed == 1) RemoveDeviceEntries(check.driver);
  progress.Create();
  progress.RunUninstall();
  progress.DestroyWindow();
  if (check.hardwarePackage) {
    if (m_bHardwareConfirmed == 1)
      restart.m_bShutdown = 1;
    else
      restart.m_bRestart = 1;
    restart.DoModal();
  } else {
    std::string done = LoadText(m_szLanguage, m_szScriptPath, texts::kCompleted);
    MessageBox(done.c_str(), m_szTitle, MB_OK);
  }
  CDialog::OnOK();
}
