// The Win32 directory, file-search and file-removal functions, served by the installed machine.
#pragma once

#include "platform/WinTypes.h"

using HANDLE = void*;
// The handle FindFirstFileA returns when it finds nothing.
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

// One result of a file search.
struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes = 0;
  DWORD nFileSizeHigh = 0;
  DWORD nFileSizeLow = 0;  // the low 32 bits of the size
  char cFileName[MAX_PATH] = {};
  char cAlternateFileName[14] = {};  // the 8.3 name; empty where cFileName is one already
};
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;

// "C:\WINDOWS" and "C:\WINDOWS\SYSTEM", without a closing backslash. Return the length copied
// (without the NUL), or the size needed (with the NUL) when uSize is too small, leaving the
// buffer untouched then.
UINT GetWindowsDirectoryA(LPSTR lpBuffer, UINT uSize);
UINT GetSystemDirectoryA(LPSTR lpBuffer, UINT uSize);

// Starts a search of one directory. The last element of the path may hold `*` and `?`, matched
// against long names without regard to case (`*.*` matches every name); without wildcards it
// names one file by its long or short name. Outside a drive's root `.` and `..` come first when
// they match, then the entries sorted by upper-cased name. Fails with INVALID_HANDLE_VALUE and
// GetLastError ERROR_FILE_NOT_FOUND (nothing matches, or no name after the last backslash) or
// ERROR_PATH_NOT_FOUND (the directory is missing). The handle must be closed with FindClose.
HANDLE FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData);
// The next match; FALSE with ERROR_NO_MORE_FILES after the last, ERROR_INVALID_HANDLE for a
// handle that is not an open search.
BOOL FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

// Deletes a file; ERROR_ACCESS_DENIED for a read-only file or a directory. A symbolic link is
// deleted itself, never what it points to.
BOOL DeleteFileA(LPCSTR lpFileName);
// Removes an empty directory; ERROR_DIR_NOT_EMPTY when it holds anything.
BOOL RemoveDirectoryA(LPCSTR lpPathName);
