// CAboutDlg: the small dialog that names the program, from the main dialog's system menu.
#pragma once

#include "platform/Dialog.h"

class CAboutDlg : public CDialog {
 public:
  // Template 100 with no parent: the main dialog owns it.
  CAboutDlg();

 protected:
  BOOL OnInitDialog() override;
};
