// Drawing through device contexts, and the system metrics the drawing code asks for.
#include "platform/DC.h"

#include "platform/FrontEnd.h"
#include "platform/Wnd.h"

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
  if (!hIcon || !m_pWnd || !m_pWnd->GetSafeHwnd()) return FALSE;
  TheFrontEnd().IconDrawn(*m_pWnd, hIcon, x, y);
  return TRUE;
}

BOOL DrawIcon(HDC hDC, int x, int y, HICON hIcon) { return hDC ? hDC->DrawIcon(x, y, hIcon) : FALSE; }

int GetSystemMetrics(int nIndex) {
  switch (nIndex) {
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    default: return 0;
  }
}
