// CRect: the class library's rectangle over RECT.
#pragma once

#include "platform/WinUser.h"

class CRect : public RECT {
 public:
  CRect() = default;
  CRect(LONG l, LONG t, LONG r, LONG b) : RECT{l, t, r, b} {}
  operator LPRECT() { return this; }  // NOLINT: implicit, as in the class library
  int Width() const { return static_cast<int>(right - left); }
  int Height() const { return static_cast<int>(bottom - top); }
};
