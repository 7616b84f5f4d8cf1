// CScript: the user's actions for the script front end, one a line.
//
//   check ID | uncheck ID | click ID     act on control ID of the dialog that waits for input
//   key ENTER | key ESC | key TAB        a key for the dialog that waits
//   syscommand N                         a system-menu command of the dialog that waits
//   answer IDOK|IDCANCEL|IDYES|IDNO      the answer to the next message box
//                                        (IDABORT, IDRETRY, IDIGNORE for the boxes that have them)
//
// Blank lines and lines starting with `#` are skipped; verbs and key names ignore case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Dialog.h"

enum class ScriptVerb { Check, Uncheck, Click, Key, SysCommand, Answer };

struct ScriptAction {
  int line = 0;
  std::string text;  // the line as written, without surrounding blanks
  ScriptVerb verb = ScriptVerb::Click;
  long number = 0;  // the control id, command id or answer (IDOK...)
  DialogKey key = DialogKey::Enter;
};

class CScript {
 public:
  // Reads a whole script; a line that is not an action fails with an error that names it.
  static bool Parse(std::string_view text, CScript* script, std::string* error);

  // The next action, or nullopt when the script has run out.
  std::optional<ScriptAction> Next();
  // The number of the last line of the script, for "ran out" messages.
  int LastLine() const { return m_lastLine; }

 private:
  std::vector<ScriptAction> m_actions;
  size_t m_next = 0;
  int m_lastLine = 0;
};
