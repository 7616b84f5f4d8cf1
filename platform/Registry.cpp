// The Win32 registry functions over the installed machine, with Windows 9x behaviour.
#include "platform/Registry.h"

#include <cstring>
#include <string>
#include <string_view>

#include "platform/Machine.h"
#include "platform/RegHandleTable.h"

namespace {

CRegHandleTable& Handles() {
  static CRegHandleTable table;
  return table;
}

LONG CodeOf(const Status& status) { return static_cast<LONG>(status.Code()); }

std::string_view TextOf(LPCSTR text) { return text ? std::string_view(text) : std::string_view(); }

// The installed machine and the key that hKey names in it.
LONG KeyOf(HKEY hKey, IMachine** machine, RegKeyId* key) {
  *machine = &TheMachine();
  *key = Handles().Find(*machine, hKey);
  return *key ? ERROR_SUCCESS : ERROR_BADKEY;
}

enum class KeyOpen { Existing, Create };

LONG OpenKey(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult, KeyOpen how) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  IMachine* machine = nullptr;
  RegKeyId parent = 0;
  if (LONG rc = KeyOf(hKey, &machine, &parent)) return rc;
  RegKeyId key = 0;
  Status status = how == KeyOpen::Create ? machine->RegCreateKey(parent, TextOf(lpSubKey), &key)
                                         : machine->RegOpenKey(parent, TextOf(lpSubKey), &key);
  if (!status) return CodeOf(status);
  *phkResult = Handles().Open(machine, key);
  return ERROR_SUCCESS;
}

// The bytes a Windows 9x RegSetValueExA stores for the data it is given.
LONG DataToStore(DWORD dwType, const BYTE* lpData, DWORD cbData, std::string* data) {
  const char* bytes = reinterpret_cast<const char*>(lpData);
  if (dwType == REG_SZ) {
    // The size is ignored: the string is stored up to its NUL, and with it.
    if (!bytes) return ERROR_INVALID_PARAMETER;
    data->assign(bytes, std::strlen(bytes) + 1);
    return ERROR_SUCCESS;
  }
  if (!bytes && cbData > 0) return ERROR_INVALID_PARAMETER;
  data->assign(bytes ? bytes : "", bytes ? cbData : 0);
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  return OpenKey(hKey, lpSubKey, phkResult, KeyOpen::Existing);
}

LONG RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult) {
  return OpenKey(hKey, lpSubKey, phkResult, KeyOpen::Create);
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
  if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  IMachine* machine = nullptr;
  RegKeyId key = 0;
  if (LONG rc = KeyOf(hKey, &machine, &key)) return rc;
  RegValue value;
  Status status = machine->RegQueryValue(key, TextOf(lpValueName), &value);
  if (!status) {
    if (status.Code() == ERROR_FILE_NOT_FOUND && lpType) *lpType = REG_NONE;
    return CodeOf(status);
  }
  if (lpType) *lpType = value.type;
  const auto size = static_cast<DWORD>(value.data.size());
  if (lpData && *lpcbData < size) {
    *lpcbData = size;
    return ERROR_MORE_DATA;
  }
  if (lpData) std::memcpy(lpData, value.data.data(), size);
  if (lpcbData) *lpcbData = size;
  return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
  if (Reserved != 0) return ERROR_INVALID_PARAMETER;
  IMachine* machine = nullptr;
  RegKeyId key = 0;
  if (LONG rc = KeyOf(hKey, &machine, &key)) return rc;
  RegValue value{dwType, {}};
  if (LONG rc = DataToStore(dwType, lpData, cbData, &value.data)) return rc;
  return CodeOf(machine->RegSetValue(key, TextOf(lpValueName), value));
}

LONG RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                   LPSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  if (!lpName || !lpcchName || lpReserved || (lpClass && !lpcchClass)) return ERROR_INVALID_PARAMETER;
  IMachine* machine = nullptr;
  RegKeyId key = 0;
  if (LONG rc = KeyOf(hKey, &machine, &key)) return rc;
  std::string name;
  if (Status status = machine->RegEnumKey(key, dwIndex, &name); !status) return CodeOf(status);
  if (name.size() >= *lpcchName) return ERROR_MORE_DATA;
  std::memcpy(lpName, name.c_str(), name.size() + 1);
  *lpcchName = static_cast<DWORD>(name.size());
  if (lpClass && *lpcchClass > 0) *lpClass = '\0';
  if (lpcchClass) *lpcchClass = 0;
  if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{};
  return ERROR_SUCCESS;
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) {
  IMachine* machine = nullptr;
  RegKeyId key = 0;
  if (LONG rc = KeyOf(hKey, &machine, &key)) return rc;
  return CodeOf(machine->RegDeleteKey(key, TextOf(lpSubKey)));
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  IMachine* machine = nullptr;
  RegKeyId key = 0;
  if (LONG rc = KeyOf(hKey, &machine, &key)) return rc;
  return CodeOf(machine->RegDeleteValue(key, TextOf(lpValueName)));
}

LONG RegFlushKey(HKEY hKey) {
  IMachine* machine = nullptr;
  RegKeyId key = 0;
  if (LONG rc = KeyOf(hKey, &machine, &key)) return rc;
  return CodeOf(machine->RegCheckKey(key));
}

LONG RegCloseKey(HKEY hKey) { return Handles().Close(hKey) ? ERROR_SUCCESS : ERROR_BADKEY; }

std::size_t OpenRegistryHandleCount() { return HasMachine() ? Handles().OpenCount(&TheMachine()) : 0; }
