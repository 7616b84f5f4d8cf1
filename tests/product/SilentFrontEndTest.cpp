// The unattended front end: message boxes take their default buttons, a dialog is answered
// once by the program's answers, and a dialog they leave waiting ends the run at once instead
// of waiting for input that can never come.
#include <gtest/gtest.h>

#include <functional>

#include "platform/Dialog.h"
#include "platform/MessageBoxButtons.h"
#include "platform/SilentFrontEnd.h"

namespace {

TEST(SilentFrontEnd, MessageBoxesTakeTheirDefaultButton) {
  struct Case {
    UINT type;
    int answer;
  };
  const Case cases[] = {
      {MB_OK, IDOK},
      {MB_OKCANCEL, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNO, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_RETRYCANCEL | MB_DEFBUTTON2 | MB_ICONQUESTION, IDCANCEL},
      // A default beyond the box's buttons is its first, as in Windows.
      {MB_OK | MB_DEFBUTTON2, IDOK},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
      {MB_ABORTRETRYIGNORE | 0x0300, IDABORT},
  };
  struct CNoAnswers : IUnattendedAnswers {
    bool Answer(CDialog&) override { return false; }
  } none;
  CSilentFrontEnd frontEnd(none);
  for (const Case& c : cases) {
    EXPECT_EQ(MessageBoxDefaultAnswer(c.type), c.answer) << std::hex << c.type;
    EXPECT_EQ(frontEnd.MessageBox(nullptr, "text", "caption", c.type), c.answer) << std::hex << c.type;
  }
}

class CAnswers : public IUnattendedAnswers {
 public:
  explicit CAnswers(std::function<bool(CDialog&)> answer) : m_answer(std::move(answer)) {}
  bool Answer(CDialog& dialog) override { return m_answer(dialog); }

 private:
  std::function<bool(CDialog&)> m_answer;
};

DialogTemplate OneButton() {
  DialogTemplate t;
  t.id = 999;
  t.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
  t.cx = 100;
  t.cy = 40;
  t.caption = "Question";
  t.items.push_back(DialogItemTemplate{IDOK, kButtonClass, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 40, 14, "OK", 0});
  return t;
}

TEST(SilentFrontEnd, EachDialogIsAnsweredOnceOrTheRunEnds) {
  struct Case {
    const char* name;
    std::function<bool(CDialog&)> answer;
    bool ends;
  };
  const Case cases[] = {
      {"Pressed", [](CDialog& d) { return d.Control(IDOK) && (d.Control(IDOK)->Click(), true); }, true},
      {"NoAnswer", [](CDialog&) { return false; }, false},
      {"AnsweredButStillWaiting", [](CDialog&) { return true; }, false},
  };
  for (const Case& c : cases) {
    CAnswers answers(c.answer);
    CSilentFrontEnd frontEnd(answers);
    CFrontEndScope scope(frontEnd);
    CDialog dialog(OneButton());
    if (c.ends) {
      EXPECT_EQ(dialog.DoModal(), IDOK) << c.name;
    } else {
      try {
        dialog.DoModal();
        ADD_FAILURE() << c.name << ": the dialog was left waiting";
      } catch (const CFrontEndError& e) {
        EXPECT_NE(std::string(e.what()).find("dialog 999 waits for input that an unattended run has no answer for"),
                  std::string::npos)
            << e.what();
      }
    }
  }
}

}  // namespace
