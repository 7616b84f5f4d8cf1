// The registry keys of a fresh machine.
#include "platform/RegistryDefaults.h"

#include <string>

#include "platform/RegTransaction.h"
#include "platform/Registry.h"
#include "platform/RegistryRoots.h"

namespace {

struct DefaultValue {
  std::string_view key;  // below HKEY_CURRENT_USER
  std::string_view name;
  std::string text;
};

const DefaultValue kDefaults[] = {
    {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs",
     std::string(kWindowsDirectory) + "\\Start Menu\\Programs"},
    {"Control Panel\\International", "Locale", "00000409"},
};

}  // namespace

// A value that is there already stays as it is: making a machine again only adds what is missing.
Status WriteDefaultRegistryKeys(IMachine& machine) {
  const RegKeyId currentUser = FindRegRootByName("HKEY_CURRENT_USER")->id;
  CRegTransaction transaction(machine);
  RETURN_IF_ERROR(transaction.Begin());
  for (const DefaultValue& value : kDefaults) {
    RegKeyId key = 0;
    RETURN_IF_ERROR(machine.RegCreateKey(currentUser, value.key, &key));
    RegValue existing;
    Status found = machine.RegQueryValue(key, value.name, &existing);
    if (found) continue;
    if (found.Code() != ERROR_FILE_NOT_FOUND) return found;
    RETURN_IF_ERROR(machine.RegSetValue(key, value.name, RegValue{REG_SZ, value.text + '\0'}));
  }
  RETURN_IF_ERROR(transaction.Commit());
  return machine.RegSync();
}
