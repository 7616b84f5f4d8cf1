// CProgressDlg: the modeless window that stands while the engine runs, and the engine's host.
#pragma once

#include "platform/Dialog.h"
#include "platform/String.h"

class CProgressDlg : public CDialog {
 public:
  // Template 134; the confirmation flow passes no parent, so the main dialog becomes the owner
  // when the window is created.
  explicit CProgressDlg(CWnd* pParent = nullptr);
  ~CProgressDlg() override;

  // The engine: sets the four directories, removes what the selected packages name and
  // returns 1 in every case. The window must exist and be owned by the main dialog.
  int RunUninstall();

  CString m_strWindowsDir;   // $windows$
  CString m_strSystemDir;    // $system$
  CString m_strPremiereDir;  // $premiere$
  CString m_strMStudioDir;   // $mstudio$
  int m_nStartPos = 0;       // where the bar stands when the dialog opens

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // A run cannot be stopped: Escape and the Cancel command only get a fixed answer.
  void OnCancel() override;
  const CMessageMap* GetMessageMap() const override;
  void OnPaint();
};
