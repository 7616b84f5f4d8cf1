// CDC and CPaintDC: drawing into a window's client area, which the front end shows.
#pragma once

#include "platform/WinUser.h"

class CDC {
 public:
  explicit CDC(CWnd* wnd) : m_pWnd(wnd) {}
  virtual ~CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC GetSafeHdc() { return this; }
  // Draws the icon with its top left corner at x, y pixels of the client area.
  BOOL DrawIcon(int x, int y, HICON hIcon);

 private:
  CWnd* m_pWnd;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd) : CDC(wnd) {}
};

BOOL DrawIcon(HDC hDC, int x, int y, HICON hIcon);
