// The registry of a machine, kept in MACHINE/registry.db (SQLite, WAL mode).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Machine.h"

// Every change is committed when its call returns (it survives a crash of the process);
// Sync() makes the committed changes survive a power cut. Several processes may use one
// machine at once: a change waits for another process's change to end (up to ten seconds).
// Calls mean what the IMachine registry calls of the same names mean. One thread uses a store
// at a time, as the program's one thread does.
class CRegistryStore {
 public:
  // Opens (or creates, with the six roots) the database at `dbPath` on first use; an open that
  // fails is reported by the call that needed it and tried again by the next.
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

  Status BeginTransaction();
  Status CommitTransaction();
  void RollbackTransaction();
  Status Sync();

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};
