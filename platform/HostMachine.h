// The real machine: a directory on the host with drive folders and registry.db.
#pragma once

#include <memory>
#include <string>

#include "platform/Machine.h"
#include "platform/PathResolver.h"
#include "platform/RegistryStore.h"

class CHostMachine : public IMachine {
 public:
  // `root` is the machine's host directory. The registry database is opened on first use.
  explicit CHostMachine(std::string root);
  ~CHostMachine() override;

  // Opens an existing machine: ERROR_PATH_NOT_FOUND (with the host path) when `root` is not
  // a directory holding a drive folder or a registry.
  static Status Open(const std::string& root, std::unique_ptr<CHostMachine>* machine);

  const std::string& Root() const { return m_root; }
  // Opens registry.db at once rather than on first use, so that a registry that cannot be
  // opened is found before anything else happens. A machine without one gets it on first use,
  // as before, or, without `mayCreate`, fails with ERROR_FILE_NOT_FOUND.
  Status OpenRegistry(bool mayCreate);

  Status FullPath(std::string_view path, std::string* full) override;
  Status SetCurrentDirectory(std::string_view path) override;
  std::string CurrentDirectory() override;
  Status HostPath(std::string_view path, std::string* host) override;

  Status GetFileInfo(std::string_view path, FileInfo* info) override;
  Status ReadFile(std::string_view path, std::string* bytes, FileStamp* stamp) override;
  Status WriteFileAtomic(std::string_view path, std::string_view bytes) override;
  Status LockFileForUpdate(std::string_view path, FileLock* lock) override;
  Status CreateDirectory(std::string_view path) override;
  Status ListDirectory(std::string_view path, std::vector<DirEntry>* entries) override;
  Status DeleteFile(std::string_view path) override;
  Status RemoveDirectory(std::string_view path) override;
  Status MoveFile(std::string_view from, std::string_view to) override;
  Status OpenNoShare(std::string_view path) override;

  Status RegOpenKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) override;
  Status RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) override;
  Status RegCheckKey(RegKeyId key) override;
  Status RegQueryValue(RegKeyId key, std::string_view name, RegValue* value) override;
  Status RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) override;
  Status RegEnumKey(RegKeyId key, DWORD index, std::string* name) override;
  Status RegEnumValue(RegKeyId key, DWORD index, std::string* name, RegValue* value) override;
  Status RegDeleteKey(RegKeyId parent, std::string_view subPath) override;
  Status RegDeleteValue(RegKeyId key, std::string_view name) override;
  Status RegBeginTransaction() override;
  Status RegCommitTransaction() override;
  void RegRollbackTransaction() override;
  Status RegSync() override;

  Status ExitWindows(UINT flags) override;

  // The resolver, for tests that count directory listings.
  CPathResolver& Paths() { return m_paths; }

 private:
  CRegistryStore& Registry();

  std::string m_root;
  CPathResolver m_paths;
  std::unique_ptr<CRegistryStore> m_registry;
};
