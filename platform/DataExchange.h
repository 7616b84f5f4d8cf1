// CDataExchange and DDX_Check: copying between a dialog's fields and its controls.
#pragma once

#include "platform/WinUser.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
  // The control `nID` of the dialog; throws CException when there is none, since an
  // exchange with a missing control is a fault of the dialog.
  CWnd* PrepareCtrl(int nID);

  BOOL m_bSaveAndValidate;  // TRUE: controls into fields; FALSE: fields into controls
  CWnd* m_pDlgWnd;
};

// Ties check box nID to `value`: 0 clear, 1 set (2 for the third state of a 3-state box).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
