// CForwardingFrontEnd: passes every call to another front end, so that a program can watch
// what its front end is told without changing how it is shown.
#pragma once

#include "platform/FrontEnd.h"

class CForwardingFrontEnd : public IFrontEnd {
 public:
  explicit CForwardingFrontEnd(IFrontEnd& target) : m_target(target) {}

  void DialogOpened(CDialog& d) override { m_target.DialogOpened(d); }
  void DialogClosed(CDialog& d) override { m_target.DialogClosed(d); }
  void RunModalLoop(CDialog& d) override { m_target.RunModalLoop(d); }
  void WindowChanged(CWnd& w, WindowChange c) override { m_target.WindowChanged(w, c); }
  int MessageBox(CWnd* o, const std::string& t, const std::string& c, UINT type) override {
    return m_target.MessageBox(o, t, c, type);
  }
  void IconDrawn(CWnd& w, HICON i, int x, int y) override { m_target.IconDrawn(w, i, x, y); }
  void ExitWindowsRequested(UINT flags) override { m_target.ExitWindowsRequested(flags); }

 private:
  IFrontEnd& m_target;
};
