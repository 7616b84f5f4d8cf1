// The unattended front end: defaults for message boxes, the program's answers for dialogs.
#include "platform/SilentFrontEnd.h"

#include <string>

#include "platform/Dialog.h"
#include "platform/MessageBoxButtons.h"

void CSilentFrontEnd::RunModalLoop(CDialog& dialog) {
  if (!dialog.ContinueModal()) return;
  // One answer a dialog: a dialog that is still waiting after it would be answered the same
  // way again, for ever.
  if (!m_answers.Answer(dialog) || dialog.ContinueModal())
    throw CFrontEndError("dialog " + std::to_string(dialog.TemplateId()) +
                         " waits for input that an unattended run has no answer for");
}

int CSilentFrontEnd::MessageBox(CWnd*, const std::string&, const std::string&, UINT type) {
  return MessageBoxDefaultAnswer(type);
}
