// CMessageBoxDlg: the terminal's message box, a dialog whose template is made from the text,
// caption and MB_ type: a tag for the icon, the wrapped text, the buttons of the type.
#pragma once

#include <string>

#include "platform/Dialog.h"

class CMessageBoxDlg : public CDialog {
 public:
  // `screenCols` limits the text's width to min(60, screenCols - 10) columns.
  CMessageBoxDlg(CWnd* owner, const std::string& text, const std::string& caption, UINT type, int screenCols);

  // The template such a box has; public for the tests of its layout.
  static DialogTemplate MakeTemplate(const std::string& text, const std::string& caption, UINT type, int screenCols);

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  // Escape as in Windows: Cancel where the box has it, OK for a box with OK alone, and
  // nothing for Yes/No or Abort/Retry/Ignore.
  void OnCancel() override;
  const CMessageMap* GetMessageMap() const override;

 private:
  void OnYes() { EndDialog(IDYES); }
  void OnNo() { EndDialog(IDNO); }
  void OnAbort() { EndDialog(IDABORT); }
  void OnRetry() { EndDialog(IDRETRY); }
  void OnIgnore() { EndDialog(IDIGNORE); }

  UINT m_type;
};
