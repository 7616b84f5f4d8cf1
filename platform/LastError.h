// The calling thread's last error, as the Win32-named functions leave it.
#pragma once

#include "platform/WinTypes.h"

DWORD GetLastError();
void SetLastError(DWORD code);
