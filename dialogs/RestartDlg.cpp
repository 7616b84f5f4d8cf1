// The restart dialog: three exclusive choices, carried out on OK.
#include "dialogs/RestartDlg.h"

#include "app/Texts.h"
#include "app/UninstallRecord.h"
#include "platform/DataExchange.h"
#include "platform/ExitWindows.h"
#include "resources/ResourceIds.h"

CRestartDlg::CRestartDlg(CWnd* pParent) : CDialog(IDD_RESTART, pParent) {}

void CRestartDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_SHUTDOWN, m_bShutdown);
  DDX_Check(pDX, IDC_RESTART, m_bRestart);
  DDX_Check(pDX, IDC_RESTART_LATER, m_bRestartLater);
}

const CMessageMap* CRestartDlg::GetMessageMap() const {
  static const CMessageMap map(CDialog::GetMessageMap(), {
                                                             MapBnClicked(IDC_SHUTDOWN, &CRestartDlg::OnShutdown),
                                                             MapBnClicked(IDC_RESTART, &CRestartDlg::OnRestart),
                                                             MapBnClicked(IDC_RESTART_LATER, &CRestartDlg::OnRestartLater),
                                                         });
  return &map;
}

BOOL CRestartDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  CUninstallRecord* record = UninstallRecordOf(this);
  if (!record) return TRUE;
  struct Placed {
    int id;
    const TextKey& key;
  };
  const Placed texts[] = {
      {IDC_SHUTDOWN, texts::kShutdown},          {IDC_SHUTDOWN_TEXT, texts::kShutdownLong},
      {IDC_RESTART, texts::kRestart},            {IDC_RESTART_TEXT, texts::kRestartLong},
      {IDC_RESTART_LATER, texts::kRestartLater}, {IDC_RESTART_LATER_TEXT, texts::kRestartLaterLong},
  };
  for (const Placed& placed : texts)
    SetDlgItemText(placed.id, LoadText(record->m_szLanguage, record->m_szScriptPath, placed.key).c_str());
  SetWindowText(LoadText(record->m_szLanguage, record->m_szScriptPath, texts::kTitle).c_str());
  SetDlgItemText(IDOK, LoadText(record->m_szLanguage, record->m_szScriptPath, texts::kOk).c_str());
  return TRUE;
}

void CRestartDlg::Choose(int& chosen) {
  m_bShutdown = m_bRestart = m_bRestartLater = 0;
  chosen = 1;
  UpdateData(FALSE);
}

void CRestartDlg::OnShutdown() { Choose(m_bShutdown); }
void CRestartDlg::OnRestart() { Choose(m_bRestart); }
void CRestartDlg::OnRestartLater() { Choose(m_bRestartLater); }

void CRestartDlg::OnOK() {
  if (CWnd* owner = GetWindow(GW_OWNER)) owner->ShowWindow(SW_HIDE);
  CDialog::OnOK();
  if (m_bShutdown)
    ExitWindowsEx(EWX_SHUTDOWN, 0);
  else if (m_bRestart)
    ExitWindowsEx(EWX_REBOOT, 0);
}
