// tui_demo: shows one of the program's templates in the terminal for the terminal tests and
// for screenshots. Its dialogs fill in texts as the real ones do, and nothing more.
//
//   tui_demo 102|100|135 [--mono]           a modal dialog; the exit code is DoModal's result
//   tui_demo 134 [--hold-at P --hold-ms MS] the modeless progress dialog running to 100 %
//                                           without reading keys, then a message box
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/DC.h"
#include "platform/Dialog.h"
#include "platform/FrontEndChoice.h"
#include "platform/Menu.h"
#include "platform/WinApp.h"
#include "resources/ProgramResources.h"

namespace {

struct Options {
  UINT templateId = 0;
  bool mono = false;
  int holdAt = -1;
  int holdMs = 0;
};

class CDemoAboutDlg : public CDialog {
 public:
  CDemoAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};

class CDemoMainDlg : public CDialog {
 public:
  CDemoMainDlg() : CDialog(IDD_UNINST_DIALOG), m_hIcon(AfxGetApp()->LoadIcon(IDI_UNINST)) {}

 protected:
  BOOL OnInitDialog() override {
    const char* packages[] = {"Capture board driver", "Video capture application", "Video editing tools"};
    for (int i = 0; i < 3; ++i) SetDlgItemText(IDC_PACKAGE1 + i, packages[i]);
    for (int i = 3; i < 7; ++i) GetDlgItem(IDC_PACKAGE1 + i)->ShowWindow(SW_HIDE);
    CDialog::OnInitDialog();
    SetWindowText("Kalvora TK7/TK5 uninstallation");
    SetDlgItemText(IDC_DESCRIPTION, "Select the components you want to remove from your computer, then press OK.");
    CMenu* menu = GetSystemMenu(FALSE);
    menu->AppendMenu(MF_SEPARATOR);
    menu->AppendMenu(MF_STRING, 16, "About uninstall");
    menu->EnableMenuItem(menu->GetMenuItemID(4), MF_GRAYED);
    menu->EnableMenuItem(menu->GetMenuItemID(2), MF_GRAYED);
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    return TRUE;
  }
  void OnOK() override {}
  const CMessageMap* GetMessageMap() const override {
    static const CMessageMap map(CDialog::GetMessageMap(), {
                                                               MapCommand(IDC_CONFIRM, &CDemoMainDlg::OnConfirm),
                                                               MapSysCommand(&CDemoMainDlg::OnSysCommand),
                                                               MapPaint(&CDemoMainDlg::OnPaint),
                                                           });
    return &map;
  }
  void OnConfirm() {
    UpdateData(TRUE);
    int count = 0;
    for (int i = 0; i < 7; ++i) count += IsDlgButtonChecked(IDC_PACKAGE1 + i) ? 1 : 0;
    std::string text = std::to_string(count) + " component(s) selected. Remove them?";
    if (MessageBox(text.c_str(), "Kalvora TK7/TK5 uninstallation", MB_YESNO | MB_ICONQUESTION) == IDYES)
      CDialog::OnOK();
  }
  void OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == 16) {
      CDemoAboutDlg about;
      about.DoModal();
    } else {
      CDialog::OnSysCommand(nID, lParam);
    }
  }
  void OnPaint() {
    if (!IsIconic()) {
      CDialog::OnPaint();
      return;
    }
    CPaintDC dc(this);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rect.bottom - rect.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
  }

 private:
  HICON m_hIcon;
};

class CDemoRestartDlg : public CDialog {
 public:
  CDemoRestartDlg() : CDialog(IDD_RESTART) {}

 protected:
  BOOL OnInitDialog() override {
    CheckDlgButton(IDC_RESTART, BST_CHECKED);
    SetDlgItemText(IDC_SHUTDOWN, "&Shut down Windows now");
    SetDlgItemText(IDC_SHUTDOWN_TEXT, "Choose this to turn off your computer and remove the capture board.");
    SetDlgItemText(IDC_RESTART, "&Restart Windows now");
    SetDlgItemText(IDC_RESTART_TEXT, "Choose this to finish removing the files that were in use.");
    SetDlgItemText(IDC_RESTART_LATER, "Restart &later");
    SetDlgItemText(IDC_RESTART_LATER_TEXT, "Choose this to restart Windows yourself later.");
    SetWindowText("Kalvora TK7/TK5 uninstallation");
    return TRUE;
  }
};

// The engine's way: no input is read while it works, the bar and the label are sent messages.
int RunProgress(const Options& options) {
  CDialog progress(IDD_PROGRESS);
  if (!progress.Create()) return 100;
  progress.SetWindowText("Kalvora TK7/TK5 uninstallation");
  progress.SetDlgItemText(IDC_PROGRESS_TEXT, "Please wait the uninstallation is in progress ...");
  progress.SetDlgItemText(IDC_FILE_LABEL, "");
  CWnd* bar = progress.GetDlgItem(IDC_PROGRESS_BAR);
  bar->SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  for (int pos = 0; pos <= 100; pos += 2) {
    // Longer than the label: the file name at its end must stay in sight.
    std::string file = "C:\\Program Files\\Kalvora\\Capture\\Sample Clips\\Winter Holiday 1998\\file" +
                       std::to_string(pos) + ".dll";
    progress.SetDlgItemText(IDC_FILE_LABEL, file.c_str());
    bar->SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos));
    std::this_thread::sleep_for(std::chrono::milliseconds(pos == options.holdAt ? options.holdMs : 20));
  }
  progress.DestroyWindow();
  MessageBoxA(nullptr, "Uninstallation completed", "Kalvora TK7/TK5 uninstallation", MB_OK | MB_ICONINFORMATION);
  return 0;
}

class CDemoApp : public CWinApp {
 public:
  explicit CDemoApp(const Options& options) : CWinApp("tui_demo"), m_options(options) {}
  BOOL InitInstance() override {
    Enable3dControls();
    if (m_options.templateId == IDD_PROGRESS) {
      m_result = RunProgress(m_options);
      return FALSE;
    }
    std::unique_ptr<CDialog> dialog;
    if (m_options.templateId == IDD_UNINST_DIALOG) dialog = std::make_unique<CDemoMainDlg>();
    else if (m_options.templateId == IDD_ABOUTBOX) dialog = std::make_unique<CDemoAboutDlg>();
    else dialog = std::make_unique<CDemoRestartDlg>();
    m_pMainWnd = dialog.get();
    m_result = static_cast<int>(dialog->DoModal());
    m_pMainWnd = nullptr;
    return FALSE;
  }
  int ExitInstance() override { return m_result & 0xFF; }

 private:
  Options m_options;
  int m_result = 0;
};

bool ParseOptions(int argc, char** argv, Options* options) {
  if (argc < 2) return false;
  options->templateId = static_cast<UINT>(std::atoi(argv[1]));
  for (int i = 2; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--mono")) options->mono = true;
    else if (!std::strcmp(argv[i], "--hold-at") && i + 1 < argc) options->holdAt = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--hold-ms") && i + 1 < argc) options->holdMs = std::atoi(argv[++i]);
    else return false;
  }
  UINT id = options->templateId;
  return id == IDD_ABOUTBOX || id == IDD_UNINST_DIALOG || id == IDD_PROGRESS || id == IDD_RESTART;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    std::fprintf(stderr, "usage: tui_demo 100|102|134|135 [--mono] [--hold-at P --hold-ms MS]\n");
    return 64;
  }
  AfxSetResourceHandle(ProgramResources());
  FrontEndOptions frontEndOptions;
  frontEndOptions.mono = options.mono;
  std::string error;
  std::unique_ptr<IFrontEnd> frontEnd = MakeFrontEnd(frontEndOptions, &error);
  if (!frontEnd) {
    std::fprintf(stderr, "tui_demo: %s\n", error.c_str());
    return 65;
  }
  CFrontEndScope scope(*frontEnd);
  CDemoApp app(options);
  return AfxWinMain();
}
