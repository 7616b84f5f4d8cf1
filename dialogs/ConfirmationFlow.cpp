// Button 1010 of the main dialog.
#include "dialogs/UninstallDlg.h"

// Until the whole confirmation flow is in, confirming ends the dialog the way the flow ends
// it: the base OK handling takes the check boxes into the fields and closes with IDOK.
void CUninstallDlg::OnConfirm() { CDialog::OnOK(); }
