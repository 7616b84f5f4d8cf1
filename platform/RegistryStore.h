// The registry of a machine, kept in MACHINE/registry.db (SQLite).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Machine.h"

class CRegistryStore {
 public:
  // Opens (or creates, with the six roots) the database at `dbPath`.
  explicit CRegistryStore(std::string dbPath);
  ~CRegistryStore();
  CRegistryStore(const CRegistryStore&) = delete;
  CRegistryStore& operator=(const CRegistryStore&) = delete;

  Status OpenKey(RegKeyId parent, std::string_view subPath, RegKeyId* key);
  Status CreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key);
  Status CheckKey(RegKeyId key);
  Status QueryValue(RegKeyId key, std::string_view name, RegValue* value);
  Status SetValue(RegKeyId key, std::string_view name, const RegValue& value);
  Status EnumKey(RegKeyId key, DWORD index, std::string* name);
  Status EnumValue(RegKeyId key, DWORD index, std::string* name, RegValue* value);
  Status DeleteKey(RegKeyId parent, std::string_view subPath);
  Status DeleteValue(RegKeyId key, std::string_view name);
  Status Sync();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};
