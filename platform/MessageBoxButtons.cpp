// The buttons of the message box types.
#include "platform/MessageBoxButtons.h"

#include "platform/WinUser.h"

std::vector<int> MessageBoxAnswers(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

int MessageBoxDefaultAnswer(UINT type) {
  std::vector<int> answers = MessageBoxAnswers(type);
  UINT index = (type & MB_DEFMASK) >> 8;
  return index < answers.size() ? answers[index] : answers.front();
}
