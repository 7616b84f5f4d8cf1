// The About dialog: caption and button from the language section, its body fixed.
#include "dialogs/AboutDlg.h"

#include "app/Texts.h"
#include "app/UninstallRecord.h"
#include "resources/ResourceIds.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

BOOL CAboutDlg::OnInitDialog() {
  CUninstallRecord* record = UninstallRecordOf(this);
  CDialog::OnInitDialog();
  if (record) {
    SetWindowText(LoadText(record->m_szLanguage, record->m_szScriptPath, texts::kAbout).c_str());
    SetDlgItemText(IDOK, LoadText(record->m_szLanguage, record->m_szScriptPath, texts::kOk).c_str());
  }
  return TRUE;
}
