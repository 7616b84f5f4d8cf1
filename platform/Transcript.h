// CTranscript: the script front end's record of everything shown, one JSON object a line, in
// the order things happen. Texts are the program's ANSI bytes, written as JSON strings.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "platform/Dialog.h"
#include "platform/Menu.h"

class CTranscript {
 public:
  explicit CTranscript(std::ostream& out) : m_out(out) {}

  void DialogOpened(const CDialog& dialog);
  void DialogEnded(const CDialog& dialog);
  void Control(const CDialog& dialog, const CControlWnd& control);
  void Menu(const CDialog& dialog, const CMenu& menu);
  void Action(int line, std::string_view text);
  void MessageBox(const CWnd* owner, std::string_view caption, std::string_view text, UINT type, int answer);
  void ProgressRange(const CDialog& dialog, const CControlWnd& bar);
  void ProgressPos(const CDialog& dialog, const CControlWnd& bar);
  void Text(const CDialog& dialog, const CWnd& control);
  void Caption(const CDialog& dialog);
  void Window(const CDialog& dialog);
  void IconDrawn(const CDialog& dialog, HICON icon, int x, int y);
  void ExitWindows(UINT flags);
  void Error(int line, std::string_view text);
  void Flush() { m_out.flush(); }

 private:
  void Write(const std::string& fields);
  std::ostream& m_out;
};
