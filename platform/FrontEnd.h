// IFrontEnd: what shows the dialogs to the user and takes the user's actions. The framework
// tells it about every window that opens, changes and closes, and hands it the modal loops and
// message boxes. Two implementations: the terminal UI and the script front end.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/WinUser.h"

class CDialog;

// What changed in a window, so a front end can redraw it or write it down.
enum class WindowChange { Text, Check, Visible, Enabled, Focus, Progress, ProgressRange, Iconic, Menu, Icon };

// A failure of the front end itself (a script that ran out or does not fit, a terminal that
// went away): it ends the program. Handlers never see it as their own exception.
class CFrontEndError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IFrontEnd {
 public:
  virtual ~IFrontEnd() = default;

  // The dialog's window exists and its OnInitDialog has run (it may already have ended).
  virtual void DialogOpened(CDialog& dialog) = 0;
  // The dialog's window is about to be destroyed; a modal dialog's result is its ModalResult.
  virtual void DialogClosed(CDialog& dialog) = 0;
  // Takes the user's actions for the modal dialog until dialog.ContinueModal() is false.
  // Throws CFrontEndError when no further action can come.
  virtual void RunModalLoop(CDialog& dialog) = 0;
  // A visible property of a window (a dialog or one of its controls) changed.
  virtual void WindowChanged(CWnd& wnd, WindowChange change) = 0;
  // Shows a message box owned by `owner` (may be null) and returns the button the user chose
  // (IDOK, IDCANCEL, IDYES, IDNO...).
  virtual int MessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type) = 0;
  // A paint of `wnd` drew `icon` with its top left corner at x, y (pixels of the client area).
  virtual void IconDrawn(CWnd& wnd, HICON icon, int x, int y) = 0;
  // The program asked Windows to shut down or restart (ExitWindowsEx flags).
  virtual void ExitWindowsRequested(UINT flags) = 0;
};

// The front end the framework uses. With none installed, windows still work but a modal loop
// or a message box fails with CFrontEndError, as nobody could answer it.
void InstallFrontEnd(IFrontEnd* frontEnd);
IFrontEnd& TheFrontEnd();

// Installs a front end for the lifetime of the scope and puts the previous one back after.
class CFrontEndScope {
 public:
  explicit CFrontEndScope(IFrontEnd& frontEnd);
  ~CFrontEndScope();
  CFrontEndScope(const CFrontEndScope&) = delete;
  CFrontEndScope& operator=(const CFrontEndScope&) = delete;

 private:
  IFrontEnd* m_previous;
};
