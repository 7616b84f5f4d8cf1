// ExitWindowsEx over the installed machine.
#include "platform/ExitWindows.h"

#include "platform/LastError.h"
#include "platform/Machine.h"

BOOL ExitWindowsEx(UINT uFlags, DWORD /*dwReserved*/) {
  Status status = TheMachine().ExitWindows(uFlags);
  if (status) return TRUE;
  SetLastError(status.Code());
  return FALSE;
}
