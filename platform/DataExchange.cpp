// The data exchange of check boxes.
#include "platform/DataExchange.h"

#include "platform/Exception.h"
#include "platform/Wnd.h"

CWnd* CDataExchange::PrepareCtrl(int nID) {
  CWnd* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nID) : nullptr;
  if (!control)
    throw CException("An unsupported operation was attempted: the dialog has no control " + std::to_string(nID) +
                     " to exchange data with.");
  return control;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  CWnd* control = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate)
    value = static_cast<int>(control->SendMessage(BM_GETCHECK));
  else
    control->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
}
