// ExitWindowsEx: the shutdown and restart of the machine.
#pragma once

#include "platform/WinTypes.h"

inline constexpr UINT EWX_LOGOFF = 0;
inline constexpr UINT EWX_SHUTDOWN = 1;
inline constexpr UINT EWX_REBOOT = 2;
inline constexpr UINT EWX_FORCE = 4;
inline constexpr UINT EWX_POWEROFF = 8;

// Asks the installed machine to shut down (EWX_SHUTDOWN, EWX_POWEROFF) or restart (EWX_REBOOT),
// which needs no privilege, as on Windows 9x. The machine records the request; a restart runs
// the restart-time processing of wininit.ini at once. The host itself is never shut down.
// Fails with ERROR_INVALID_PARAMETER for a request that is neither (a log-off).
BOOL ExitWindowsEx(UINT uFlags, DWORD dwReserved);
