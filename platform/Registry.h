// The Win32 registry functions, with their Windows names, types and error codes, served by the
// installed machine. The machine behaves as Windows 9x does.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/WinTypes.h"

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;

struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};
using PFILETIME = FILETIME*;

// The predefined keys (winreg.h values).
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(std::uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});
inline HKEY const HKEY_USERS = reinterpret_cast<HKEY>(std::uintptr_t{0x80000003});
inline HKEY const HKEY_CURRENT_CONFIG = reinterpret_cast<HKEY>(std::uintptr_t{0x80000005});
inline HKEY const HKEY_DYN_DATA = reinterpret_cast<HKEY>(std::uintptr_t{0x80000006});

// Value types (winnt.h values).
inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_RESOURCE_LIST = 8;
inline constexpr DWORD REG_FULL_RESOURCE_DESCRIPTOR = 9;
inline constexpr DWORD REG_RESOURCE_REQUIREMENTS_LIST = 10;
inline constexpr DWORD REG_QWORD = 11;

// Every function returns its error code (ERROR_SUCCESS is 0). A NULL or unknown hKey fails
// with ERROR_BADKEY, a key deleted since it was opened with ERROR_KEY_DELETED. Handles are
// reference-counted as on Windows 95: opening an open key again gives the same handle.

// Opens lpSubKey below hKey; NULL or "" opens hKey itself again. A path that starts with a
// backslash, or holds a doubled one, fails with ERROR_FILE_NOT_FOUND; trailing backslashes
// are ignored. *phkResult is NULL after a failure.
LONG RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
// Opens lpSubKey, creating it and any missing key on the way; leading backslashes are skipped.
LONG RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult);
// Reads a value (NULL or "" names the default value). *lpcbData is the buffer's size in and
// the data's size out; string data counts its closing NUL. A buffer too small fails with
// ERROR_MORE_DATA, leaves the buffer untouched and sets *lpcbData to the size needed. A NULL
// lpData asks only for the size. A missing value fails with ERROR_FILE_NOT_FOUND, sets *lpType
// to 0 and leaves *lpcbData alone. lpReserved must be NULL.
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
// Sets a value (NULL or "" names the default value). REG_SZ data is stored up to and with its
// first NUL, whatever cbData says (Windows 9x); REG_SZ without data fails with
// ERROR_INVALID_PARAMETER. Names longer than 255 characters fail with ERROR_INVALID_PARAMETER.
LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
// The name of the subkey at dwIndex, subkeys sorted by their upper-cased names; deleting one
// moves the next down to its index. *lpcchName is the buffer's size in characters in and the
// name's length (without its NUL) out; a buffer too small fails with ERROR_MORE_DATA and is
// left untouched. ERROR_NO_MORE_ITEMS past the last subkey. Keys have no class and no write
// time here: a class buffer receives "", a write time 0.
LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime);
// Deletes lpSubKey and all its subkeys (Windows 9x). NULL or "" deletes nothing and fails with
// ERROR_BADKEY, so a root key is never deleted. ERROR_FILE_NOT_FOUND when it does not exist.
LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey);
// Deletes a value; NULL or "" deletes the default value. ERROR_FILE_NOT_FOUND when missing.
LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName);
// Every change is committed when its call returns; a flush only checks the handle. Syncing to
// disk is grouped (IMachine::RegSync) so that a run of many keys does not sync once per key.
LONG RegFlushKey(HKEY hKey);
// Drops one reference of the handle; closing a predefined key does nothing.
LONG RegCloseKey(HKEY hKey);

// How many handles of non-root keys are open on the installed machine, for tests that check
// that every key opened is closed.
std::size_t OpenRegistryHandleCount();
