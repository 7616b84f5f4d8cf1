// CScriptFrontEnd: the front end that takes the user's actions from a script and writes what
// is shown to a transcript, for tests and unattended runs. It never waits: an action that does
// not fit, or a script that runs out while something waits, ends the program with an error
// (CFrontEndError) that names the script's line.
#pragma once

#include <memory>
#include <ostream>
#include <set>
#include <vector>

#include "platform/FrontEnd.h"
#include "platform/Script.h"
#include "platform/Transcript.h"

class CScriptFrontEnd : public IFrontEnd {
 public:
  // Writes the transcript to `transcript`, which must outlive the front end.
  CScriptFrontEnd(CScript script, std::ostream& transcript);
  // Takes ownership of the transcript's stream.
  CScriptFrontEnd(CScript script, std::unique_ptr<std::ostream> transcript);
  ~CScriptFrontEnd() override;

  void DialogOpened(CDialog& dialog) override;
  void DialogClosed(CDialog& dialog) override;
  void RunModalLoop(CDialog& dialog) override;
  void WindowChanged(CWnd& wnd, WindowChange change) override;
  int MessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type) override;
  void IconDrawn(CWnd& wnd, HICON icon, int x, int y) override;
  void ExitWindowsRequested(UINT flags) override;

 private:
  void WriteWaitingState(CDialog& dialog);
  void PaintPending();
  void Apply(CDialog& dialog, const ScriptAction& action);
  void ApplyToControl(CDialog& dialog, const ScriptAction& action);
  void ApplySysCommand(CDialog& dialog, const ScriptAction& action);
  [[noreturn]] void Fail(int line, const std::string& message);
  bool IsOpen(const CWnd* wnd) const;

  CScript m_script;
  std::unique_ptr<std::ostream> m_ownedStream;
  CTranscript m_transcript;
  std::vector<CDialog*> m_open;  // in the order they opened
  std::set<CDialog*> m_needsPaint;
};
