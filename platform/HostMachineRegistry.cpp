// The registry calls of the host machine, served by its SQLite store.
#include "platform/HostMachine.h"

#include <unistd.h>

#include "platform/RegistryRoots.h"

CRegistryStore& CHostMachine::Registry() {
  if (!m_registry) m_registry = std::make_unique<CRegistryStore>(m_root + "/registry.db");
  return *m_registry;
}

Status CHostMachine::OpenRegistry(bool mayCreate) {
  const std::string path = m_root + "/registry.db";
  if (!m_registry && ::access(path.c_str(), F_OK) != 0)
    return mayCreate ? Status::Ok() : Status::Error(ERROR_FILE_NOT_FOUND, path);
  // Any key will do: looking one up opens the database.
  return Registry().CheckKey(FindRegRootByName("HKEY_LOCAL_MACHINE")->id).WithPath(path);
}

Status CHostMachine::RegOpenKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) {
  return Registry().OpenKey(parent, subPath, key);
}
Status CHostMachine::RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) {
  return Registry().CreateKey(parent, subPath, key);
}
Status CHostMachine::RegCheckKey(RegKeyId key) { return Registry().CheckKey(key); }
Status CHostMachine::RegQueryValue(RegKeyId key, std::string_view name, RegValue* value) {
  return Registry().QueryValue(key, name, value);
}
Status CHostMachine::RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) {
  return Registry().SetValue(key, name, value);
}
Status CHostMachine::RegEnumKey(RegKeyId key, DWORD index, std::string* name) {
  return Registry().EnumKey(key, index, name);
}
Status CHostMachine::RegEnumValue(RegKeyId key, DWORD index, std::string* name, RegValue* value) {
  return Registry().EnumValue(key, index, name, value);
}
Status CHostMachine::RegDeleteKey(RegKeyId parent, std::string_view subPath) {
  return Registry().DeleteKey(parent, subPath);
}
Status CHostMachine::RegDeleteValue(RegKeyId key, std::string_view name) {
  return Registry().DeleteValue(key, name);
}
Status CHostMachine::RegBeginTransaction() { return Registry().BeginTransaction(); }
Status CHostMachine::RegCommitTransaction() { return Registry().CommitTransaction(); }
void CHostMachine::RegRollbackTransaction() {
  if (m_registry) m_registry->RollbackTransaction();
}
Status CHostMachine::RegSync() {
  if (!m_registry) return Status::Ok();
  return m_registry->Sync();
}
