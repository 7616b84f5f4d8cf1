// CSilentFrontEnd: the front end of an unattended run. It shows nothing and never reads input:
// every message box takes its default button, and each modal dialog is answered once by the
// program's own unattended answers. A dialog they have no answer for ends the program with
// CFrontEndError rather than waiting for input that can never come.
#pragma once

#include "platform/FrontEnd.h"

// How an unattended run acts on the program's modal dialogs; the program supplies it, since
// only the program knows its dialogs.
class IUnattendedAnswers {
 public:
  virtual ~IUnattendedAnswers() = default;
  // Does to `dialog`, which waits for input, what the unattended run's user would do, normally
  // ending it. False when there is no answer for this dialog.
  virtual bool Answer(CDialog& dialog) = 0;
};

class CSilentFrontEnd : public IFrontEnd {
 public:
  // `answers` must outlive the front end.
  explicit CSilentFrontEnd(IUnattendedAnswers& answers) : m_answers(answers) {}

  void DialogOpened(CDialog&) override {}
  void DialogClosed(CDialog&) override {}
  void RunModalLoop(CDialog& dialog) override;
  void WindowChanged(CWnd&, WindowChange) override {}
  int MessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type) override;
  void IconDrawn(CWnd&, HICON, int, int) override {}
  void ExitWindowsRequested(UINT) override {}

 private:
  IUnattendedAnswers& m_answers;
};
