// The installed front end, and the one that stands in while none is.
#include "platform/FrontEnd.h"

namespace {

class CNoFrontEnd : public IFrontEnd {
 public:
  void DialogOpened(CDialog&) override {}
  void DialogClosed(CDialog&) override {}
  void RunModalLoop(CDialog&) override {
    throw CFrontEndError("a dialog waits for input, but no front end is installed");
  }
  void WindowChanged(CWnd&, WindowChange) override {}
  int MessageBox(CWnd*, const std::string& text, const std::string&, UINT) override {
    throw CFrontEndError("a message box (\"" + text + "\") waits for an answer, but no front end is installed");
  }
  void IconDrawn(CWnd&, HICON, int, int) override {}
  void ExitWindowsRequested(UINT) override {}
};

CNoFrontEnd g_noFrontEnd;
IFrontEnd* g_frontEnd = nullptr;

}  // namespace

void InstallFrontEnd(IFrontEnd* frontEnd) { g_frontEnd = frontEnd; }

IFrontEnd& TheFrontEnd() { return g_frontEnd ? *g_frontEnd : g_noFrontEnd; }

CFrontEndScope::CFrontEndScope(IFrontEnd& frontEnd) : m_previous(g_frontEnd) { g_frontEnd = &frontEnd; }

CFrontEndScope::~CFrontEndScope() { g_frontEnd = m_previous; }
