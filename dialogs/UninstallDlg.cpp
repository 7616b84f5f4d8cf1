// The main dialog: the package list of the state file, the texts, the system menu and the
// minimised icon.
#include "dialogs/UninstallDlg.h"

#include "app/Packages.h"
#include "app/StateFile.h"
#include "app/Texts.h"
#include "dialogs/AboutDlg.h"
#include "platform/DC.h"
#include "platform/DataExchange.h"
#include "platform/Menu.h"
#include "platform/Profile.h"
#include "platform/WinApp.h"
#include "resources/ResourceIds.h"

namespace {
// The system-menu command of the About item; any id from 16 to 31 reaches it.
constexpr UINT kAboutCommand = 16;
}  // namespace

CUninstallDlg::CUninstallDlg() : CDialog(IDD_UNINST_DIALOG, nullptr) {
  m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDI_UNINST) : nullptr;
}

void CUninstallDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  for (int i = 0; i < kPackageSlots; ++i) DDX_Check(pDX, IDC_PACKAGE1 + i, m_bPackageChecked[i]);
}

const CMessageMap* CUninstallDlg::GetMessageMap() const {
  static const CMessageMap map(CDialog::GetMessageMap(), {
                                                             MapSysCommand(&CUninstallDlg::OnSysCommand),
                                                             MapPaint(&CUninstallDlg::OnPaint),
                                                             MapQueryDragIcon(&CUninstallDlg::OnQueryDragIcon),
                                                             MapCommand(IDC_CONFIRM, &CUninstallDlg::OnConfirm),
                                                         });
  return &map;
}

int CUninstallDlg::ReadPackages(int checked[kPackageSlots], bool* nothingInstalled) {
  char buffer[kPackagesBufferSize];
  DWORD count = GetPrivateProfileSectionA(state::kPackages, buffer, sizeof buffer, m_szStatePath);
  if (count < 2) {
    std::string text = LoadText(m_szLanguage, m_szScriptPath, texts::kAllDeleted);
    MessageBox(text.c_str(), m_szTitle, MB_OK);
    *nothingInstalled = true;
  }
  std::vector<PackageLine> packages = ParsePackages(buffer, sizeof buffer);
  for (size_t i = 0; i < packages.size(); ++i) {
    int slot = static_cast<int>(i);
    m_strPackage[i] = packages[i].name;
    TextKey label{packages[i].name.c_str(), packages[i].name.c_str()};
    SetDlgItemText(IDC_PACKAGE1 + slot, LoadText(m_szLanguage, m_szScriptPath, label).c_str());
    checked[i] = packages[i].checked ? 1 : 0;
  }
  return static_cast<int>(packages.size());
}

BOOL CUninstallDlg::OnInitDialog() {
  int checked[kPackageSlots] = {};
  bool nothingInstalled = false;
  m_szTitle = LoadText(m_szLanguage, m_szScriptPath, texts::kTitle, kTitleBufferSize);
  int count = ReadPackages(checked, &nothingInstalled);
  for (int i = 0; i < kPackageSlots; ++i) m_bPackageChecked[i] = checked[i];
  for (int i = count; i < kPackageSlots; ++i) GetDlgItem(IDC_PACKAGE1 + i)->ShowWindow(SW_HIDE);
  CDialog::OnInitDialog();
  SetWindowText(m_szTitle);
  SetDlgItemText(IDC_DESCRIPTION, LoadText(m_szLanguage, m_szScriptPath, texts::kDescription).c_str());
  SetDlgItemText(IDC_CONFIRM, LoadText(m_szLanguage, m_szScriptPath, texts::kOkButton).c_str());
  SetDlgItemText(IDCANCEL, LoadText(m_szLanguage, m_szScriptPath, texts::kCancelButton).c_str());
  SetUpSystemMenu();
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  if (nothingInstalled) EndDialog(-1);
  return TRUE;
}

void CUninstallDlg::SetUpSystemMenu() {
  CMenu* menu = GetSystemMenu(FALSE);
  if (!menu) return;
  std::string about = LoadText(m_szLanguage, m_szScriptPath, texts::kAbout);
  if (!about.empty()) {
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, kAboutCommand, about.c_str());
  }
  // Normally Maximize and Size: the dialog has a fixed size.
  for (int position : {4, 2}) menu->EnableMenuItem(menu->GetMenuItemID(position), MF_BYCOMMAND | MF_GRAYED);
}

void CUninstallDlg::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == kAboutCommand) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  CDialog::OnSysCommand(nID, lParam);
}

void CUninstallDlg::OnPaint() {
  if (!IsIconic()) {
    CDialog::OnPaint();
    return;
  }
  CPaintDC dc(this);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  int cxIcon = GetSystemMetrics(SM_CXICON);
  int cyIcon = GetSystemMetrics(SM_CYICON);
  RECT rect;
  GetClientRect(&rect);
  int x = (rect.right - rect.left - cxIcon + 1) / 2;
  int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CUninstallDlg::OnQueryDragIcon() { return m_hIcon; }

void CUninstallDlg::OnOK() {}

void CUninstallDlg::OnCancel() { CDialog::OnCancel(); }
