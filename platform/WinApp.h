// CWinApp: the application object, its start-up and main window, as the class library runs
// them.
#pragma once

#include <string>

#include "platform/WinUser.h"

class CWnd;

class CWinApp {
 public:
  // There is one application object; it registers itself for AfxGetApp. A NULL name makes the
  // program's own file name the application's name.
  explicit CWinApp(LPCSTR appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // The start-up operation, called once by AfxWinMain. FALSE ends the program there.
  virtual BOOL InitInstance() { return FALSE; }
  // The message loop after a successful start-up: it runs for as long as the main window is a
  // modeless dialog that exists. Returns the exit code.
  virtual int Run();
  virtual int ExitInstance() { return 0; }

  // Gives the program's dialogs the three-dimensional look of Windows 95 controls (drawn with
  // shadows where the terminal has colours). Returns TRUE.
  BOOL Enable3dControls();
  bool Uses3dControls() const { return m_b3dControls; }

  // The icon resource nID of the program's resources; NULL when there is none.
  HICON LoadIcon(UINT nID) const;

  // The main window: dialogs made without a parent are owned by it.
  CWnd* m_pMainWnd = nullptr;
  const char* m_pszAppName;

 private:
  std::string m_appName;
  bool m_b3dControls = false;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The application's name; the program's file name while there is no application object.
LPCSTR AfxGetAppName();

// The framework's entry: runs the application object's start-up once; when it returns FALSE
// the program ends with ExitInstance's code, without a message loop; else the
// application's Run gives the exit code.
// Returns 1 when there is no application object.
int AfxWinMain();
