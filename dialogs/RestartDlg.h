// CRestartDlg: the last screen of a run that removed the board's driver: shut down now,
// restart now, or neither.
#pragma once

#include "platform/Dialog.h"

class CRestartDlg : public CDialog {
 public:
  // Template 135; without a parent the main dialog owns it.
  explicit CRestartDlg(CWnd* pParent = nullptr);

  int m_bShutdown = 0;      // box 1018
  int m_bRestart = 0;       // box 1019
  int m_bRestartLater = 0;  // box 1020

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Hides the main dialog, ends this one and asks Windows to shut down or restart as chosen.
  void OnOK() override;
  const CMessageMap* GetMessageMap() const override;

  void OnShutdown();
  void OnRestart();
  void OnRestartLater();

 private:
  // The three boxes act as one choice that a click cannot empty.
  void Choose(int& chosen);
};
