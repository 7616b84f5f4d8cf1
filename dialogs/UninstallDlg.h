// CUninstallDlg: the main dialog, one check box per installed package, and the run's record.
#pragma once

#include "app/UninstallRecord.h"
#include "platform/Dialog.h"

class CUninstallDlg : public CDialog, public CUninstallRecord {
 public:
  // Template 102 with no parent; the seven names empty, the boxes clear, the icon loaded.
  CUninstallDlg();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Enter must neither close the dialog nor start the removal.
  void OnOK() override;
  void OnCancel() override;
  const CMessageMap* GetMessageMap() const override;

  void OnSysCommand(UINT nID, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  // Button 1010: the confirmation flow.
  void OnConfirm();

 private:
  // Reads [Packages] and fills the names and the working check flags; returns the count read.
  int ReadPackages(int checked[kPackageSlots], bool* nothingInstalled);
  void SetUpSystemMenu();
};
