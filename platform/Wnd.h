// CWnd: a window of the framework (a dialog or one of its controls): its text, style, state,
// relations and message handling, as the class library's CWnd gives them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/FrontEnd.h"
#include "platform/MessageMap.h"
#include "platform/String.h"
#include "platform/WinUser.h"

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // This window while it exists, NULL before it is created and after it is destroyed.
  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  static CWnd* FromHandle(HWND hWnd) { return hWnd; }

  // ---- Text (a dialog's caption or a control's text)
  void SetWindowText(LPCSTR text);
  void GetWindowText(CString& text) const;
  // Copies at most maxCount - 1 characters and a NUL; returns the number copied.
  int GetWindowText(LPSTR buffer, int maxCount) const;
  int GetWindowTextLength() const;
  const std::string& Text() const { return m_text; }

  // ---- Identity and state
  int GetDlgCtrlID() const { return m_id; }
  DWORD GetStyle() const { return m_style; }
  DWORD GetExStyle() const { return m_exStyle; }
  // SW_HIDE, SW_SHOW, SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMINIMIZED, SW_RESTORE; returns whether
  // the window was visible before.
  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const { return (m_style & WS_VISIBLE) != 0; }
  // Returns whether the window was disabled before.
  BOOL EnableWindow(BOOL bEnable);
  BOOL IsWindowEnabled() const { return (m_style & WS_DISABLED) == 0; }
  BOOL IsIconic() const { return (m_style & WS_MINIMIZE) != 0; }
  // A control takes its dialog's focus; returns the control that had it.
  CWnd* SetFocus();

  // ---- Relations
  // A control's dialog; NULL for a dialog.
  CWnd* GetParent() const { return m_pParent; }
  // The window that owns this top-level window (GW_OWNER); NULL for none or another command.
  CWnd* GetWindow(UINT nCmd) const;
  CWnd* GetOwner() const { return m_pOwner; }
  // The dialog a window belongs to: itself for a dialog, the parent for a control.
  CWnd* GetTopLevelParent() const;

  // ---- The controls of a dialog
  CWnd* GetDlgItem(int nID) const;
  void SetDlgItemText(int nID, LPCSTR text);
  int GetDlgItemText(int nID, CString& text) const;
  void CheckDlgButton(int nID, UINT nCheck);
  UINT IsDlgButtonChecked(int nID) const;
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  const std::vector<std::unique_ptr<CWnd>>& Children() const { return m_children; }
  CWnd* FocusedChild() const { return m_pFocusChild; }

  // Delivers the message to the window's handlers (0 when the window does not exist). An
  // exception that a handler lets escape ends that handler; it is reported in a message box
  // with the framework's text and the window goes on.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // A message box owned by this window; a NULL caption is the application's name.
  int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

  // The window's system menu (NULL when it has none). bRevert TRUE puts back the standard
  // menu and returns NULL.
  CMenu* GetSystemMenu(BOOL bRevert);
  HICON SetIcon(HICON hIcon, BOOL bBigIcon);
  HICON GetIcon(BOOL bBigIcon) const;
  // The client area in pixels; a minimised window's is its icon's area.
  void GetClientRect(LPRECT rect) const;
  // Sets the size of the window's client area in its present state (normal or minimised).
  BOOL MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);

  virtual BOOL DestroyWindow();

 protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Default processing of the message being handled.
  LRESULT Default();
  virtual const CMessageMap* GetMessageMap() const;

  // Handlers that a derived class may call for default processing.
  void OnSysCommand(UINT nID, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();

  // Makes the window exist. A top-level window (no parent) gets the standard system menu when
  // its style has WS_SYSMENU. `pixelWidth`, `pixelHeight` are its client size.
  void CreateWindowState(int id, DWORD style, DWORD exStyle, std::string text, CWnd* parent, CWnd* owner,
                         int pixelWidth, int pixelHeight);
  CWnd& AddChild(std::unique_ptr<CWnd> child);
  void NotifyChanged(WindowChange change);
  void SetStyleBits(DWORD bits, bool on);
  CMenu* SystemMenu() const { return m_sysMenu.get(); }
  // Destroys the top-level windows this one owns, as Windows does before destroying an owner.
  void DestroyOwnedWindows();

 private:
  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void ReportHandlerException(const char* exceptionText);
  void SetText(std::string text);
  void SetIconic(bool iconic);
  LRESULT DefSysCommand(UINT nID);

  int m_id = 0;
  DWORD m_style = 0;
  DWORD m_exStyle = 0;
  std::string m_text;
  CWnd* m_pParent = nullptr;
  CWnd* m_pOwner = nullptr;
  CWnd* m_pFocusChild = nullptr;
  std::vector<std::unique_ptr<CWnd>> m_children;
  std::unique_ptr<CMenu> m_sysMenu;
  HICON m_hIconBig = nullptr;
  HICON m_hIconSmall = nullptr;
  RECT m_clientNormal;
  RECT m_clientIconic;
  const CurrentMessage* m_pCurrentMsg = nullptr;
};

// The framework's report for an exception a handler let escape without a text of its own.
inline constexpr const char* kUnexpectedErrorText =
    "An unexpected error occurred. The operation was not completed.";

int MessageBoxA(HWND hWnd, LPCSTR text, LPCSTR caption, UINT type);
