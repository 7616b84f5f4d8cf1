// The application object, its registration and the framework's entry.
#include "platform/WinApp.h"

#include <cerrno>

#include "platform/Dialog.h"
#include "platform/Resource.h"

namespace {

CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_appName(appName ? appName : program_invocation_short_name) {
  m_pszAppName = m_appName.c_str();
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

int CWinApp::Run() {
  if (auto* dialog = dynamic_cast<CDialog*>(m_pMainWnd); dialog && dialog->GetSafeHwnd())
    TheFrontEnd().RunModalLoop(*dialog);
  return ExitInstance();
}

BOOL CWinApp::Enable3dControls() {
  m_b3dControls = true;
  return TRUE;
}

HICON CWinApp::LoadIcon(UINT nID) const {
  return LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(static_cast<WORD>(nID)));
}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

LPCSTR AfxGetAppName() { return g_app ? g_app->m_pszAppName : program_invocation_short_name; }

int AfxWinMain() {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
