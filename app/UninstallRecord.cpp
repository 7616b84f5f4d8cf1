// Reaching the run's record through a dialog's owner window.
#include "app/UninstallRecord.h"

#include "platform/Wnd.h"

CUninstallRecord* UninstallRecordOf(CWnd* dialog) {
  if (!dialog) return nullptr;
  if (auto* own = dynamic_cast<CUninstallRecord*>(dialog)) return own;
  return dynamic_cast<CUninstallRecord*>(dialog->GetWindow(GW_OWNER));
}
