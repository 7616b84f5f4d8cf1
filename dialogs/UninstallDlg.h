// CUninstallDlg: the main dialog, one check box per installed package, and the run's record.
#pragma once

#include "app/UninstallRecord.h"
#include "platform/Dialog.h"
#include "platform/TextBuffer.h"

// What the hardware check found out.
struct HardwareCheck {
  bool hardwarePackage = false;  // the package with the board's driver is selected
  CTextBuffer<16> driver;        // the driver name the device subkeys' names contain
  bool goOn = true;              // false: the user cancelled the hardware warning
};

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
  // Whether the hardware package is selected and, if so, whether its driver is still
  // registered; warns once and sets m_bHardwareConfirmed when the user goes on.
  HardwareCheck CheckHardware();
  // Deletes every device subkey of the msvideo key whose name holds the driver name, with
  // the enumeration and class keys it points to.
  void RemoveDeviceEntries(const char* driver);

 private:
  // Reads [Packages] and fills the names and the working check flags; returns the count read.
  int ReadPackages(int checked[kPackageSlots], bool* nothingInstalled);
  void SetUpSystemMenu();
};
