// The process's command line and current directory, as Win32 gives them to a program.
#pragma once

#include <string>

#include "platform/WinTypes.h"

// The Windows command line of this process; the launcher sets it before start-up.
LPCSTR GetCommandLineA();
void SetProcessCommandLine(std::string commandLine);

// The current directory of the installed machine: copies it with its NUL into the buffer and
// returns its length; when the buffer is too small returns the size needed (with the NUL).
DWORD GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
BOOL SetCurrentDirectoryA(LPCSTR lpPathName);
