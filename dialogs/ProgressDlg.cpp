// The progress dialog's handlers and its run of the engine.
#include "dialogs/ProgressDlg.h"

#include "app/Texts.h"
#include "app/UninstallRecord.h"
#include "engine/PathVariables.h"
#include "engine/UninstallRun.h"
#include "resources/ResourceIds.h"

CProgressDlg::CProgressDlg(CWnd* pParent) : CDialog(IDD_PROGRESS, pParent) {}

CProgressDlg::~CProgressDlg() = default;

void CProgressDlg::DoDataExchange(CDataExchange* pDX) { CDialog::DoDataExchange(pDX); }

const CMessageMap* CProgressDlg::GetMessageMap() const {
  static const CMessageMap map(CDialog::GetMessageMap(), {MapPaint(&CProgressDlg::OnPaint)});
  return &map;
}

void CProgressDlg::OnPaint() { CDialog::OnPaint(); }

BOOL CProgressDlg::OnInitDialog() {
  const CUninstallRecord* record = UninstallRecordOf(this);
  SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  SendDlgItemMessage(IDC_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(m_nStartPos), 0);
  // Without the main dialog there is no language section to look in: the defaults stand.
  const char* language = record ? record->m_szLanguage.c_str() : "";
  const char* script = record ? record->m_szScriptPath.c_str() : "";
  SetWindowText(LoadText(language, script, texts::kTitle).c_str());
  SetDlgItemText(IDC_PROGRESS_TEXT, LoadText(language, script, texts::kProgress).c_str());
  SetDlgItemText(IDC_FILE_LABEL, "");
  return CDialog::OnInitDialog();
}

void CProgressDlg::OnCancel() { MessageBox("Cancel button", "Progress bar", MB_OK); }

int CProgressDlg::RunUninstall() {
  const CUninstallRecord* record = UninstallRecordOf(this);
  if (!record || !GetSafeHwnd()) return 1;
  PathDirectories dirs = FindPathDirectories(record->m_szLanguage);
  m_strWindowsDir = dirs.m_strWindowsDir;
  m_strSystemDir = dirs.m_strSystemDir;
  m_strPremiereDir = dirs.m_strPremiereDir;
  m_strMStudioDir = dirs.m_strMStudioDir;
  CUninstallRun(*this, *record, dirs).Run();
  return 1;
}
