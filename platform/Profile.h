// The profile (INI) functions of Win32, served from parsed copies of the machine's files.
#pragma once

#include "platform/LastError.h"
#include "platform/WinTypes.h"

// The value of `lpKeyName` in section `lpAppName`, or `lpDefault` (trailing spaces removed)
// when there is none, cut to nSize - 1 characters; returns the count copied. A NULL section
// lists the section names, a NULL key the keys of the section, each closed by a NUL with one
// more NUL after the list. A file named without a directory is in the Windows directory.
DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
// Every line of the section ("key=value"), each closed by a NUL, the list closed by one more
// NUL; returns the count before that last NUL (nSize - 2 when cut).
DWORD GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize,
                                LPCSTR lpFileName);
// The value as a decimal integer (sign, digits up to the first other character, modulo 2^32),
// or nDefault when the key is missing or empty.
UINT GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName);
// Sets the key; a NULL value deletes the key, a NULL key the whole section.
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName);
// Replaces the lines of the section with the NUL-separated, double-NUL-closed `lpString`;
// a NULL list deletes the section.
BOOL WritePrivateProfileSectionA(LPCSTR lpAppName, LPCSTR lpString, LPCSTR lpFileName);

// Groups the profile writes of one unit of work (an engine action): while a batch is open,
// writes stay in the parsed copies (reads in this process see them) and go out together,
// one atomic, synced write per file, when the outermost batch ends. Without a batch every
// write goes out at once.
class CProfileWriteBatch {
 public:
  CProfileWriteBatch();
  ~CProfileWriteBatch();
  CProfileWriteBatch(const CProfileWriteBatch&) = delete;
  CProfileWriteBatch& operator=(const CProfileWriteBatch&) = delete;
};

// Whether the profile file can be read: TRUE when it reads, and when it is missing (every
// profile function then takes it as empty); FALSE, with GetLastError saying why, when it is
// there but cannot be read (a folder, a device, no permission, too large).
BOOL ProfileFileReadable(LPCSTR lpFileName);

// Writes out every pending profile write now (start-up calls it at exit). Returns FALSE when
// a file could not be written; its pending writes are then dropped and GetLastError tells why.
BOOL FlushProfileWrites();
