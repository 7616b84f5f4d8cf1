// Start-up: the paths from the command line, CD mode, the language, the main dialog.
#include "app/UninstallApp.h"

#include "app/CommandLine.h"
#include "app/Language.h"
#include "app/StateFile.h"
#include "dialogs/UninstallDlg.h"
#include "platform/Process.h"
#include "platform/Profile.h"
#include "platform/Status.h"

CUninstallApp::CUninstallApp() : CWinApp("uninst") {}

bool CUninstallApp::FillPaths(CUninstallRecord& record) {
  ExeLocation location = ParseCommandLine(GetCommandLineA());
  if (location.exeDir.empty() && location.exePath.find('\\') == std::string::npos) {
    // Started by its bare name: the directory it was started in is its own.
    char current[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof current, current);
    if (length == 0 || length >= sizeof current) {
      m_startupError = "the command line names no directory and the current directory is unknown";
      return false;
    }
    location.exeDir.assign(current, length);
    if (location.exeDir.ends_with('\\')) location.exeDir.pop_back();
    location.exePath = location.exeDir + "\\" + location.exePath;
  }
  std::string script = location.exeDir + "\\" + kScriptFileName;
  std::string state = location.exeDir + "\\" + kStateFileName;
  for (const std::string* path : {&location.exePath, &script, &state}) {
    if (path->size() >= CTextBuffer<256>::Capacity()) {
      m_startupError = "path of 256 characters or more: " + *path;
      return false;
    }
  }
  record.m_szExePath = location.exePath;
  record.m_szExeDir = location.exeDir;
  record.m_szScriptPath = script;
  record.m_szStatePath = state;
  // Relative paths of the scripts resolve against the program's own directory.
  SetCurrentDirectoryA(location.exeDir.empty() ? "\\" : location.exeDir.c_str());
  return true;
}

bool CUninstallApp::FilesReadable(const CUninstallRecord& record) {
  for (const char* path : {record.m_szScriptPath.c_str(), record.m_szStatePath.c_str()}) {
    if (ProfileFileReadable(path)) continue;
    m_startupError = std::string("cannot read ") + path + ": " + ErrorCodeName(GetLastError());
    return false;
  }
  return true;
}

BOOL CUninstallApp::InitInstance() {
  Enable3dControls();
  CUninstallDlg dlg;
  m_pMainWnd = &dlg;
  if (FillPaths(dlg) && FilesReadable(dlg)) {
    dlg.m_bCDVersion = GetPrivateProfileIntA(state::kSettings, state::kCdVersion, 0, dlg.m_szStatePath) == 1 ? 1 : 0;
    dlg.m_szLanguage = ChooseLanguage(dlg.m_bCDVersion == 1, dlg.m_szStatePath);
    m_dialogResult = dlg.DoModal();
  }
  m_pMainWnd = nullptr;
  return FALSE;
}
