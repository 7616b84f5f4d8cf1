// CDryRunMachine: a machine on which a run changes nothing, while the run itself sees every
// change it made, as its flow depends on them (a profile text written and read again, a file
// deleted and no longer found, a registry key deleted and no longer opened).
//
// Files and folders live in a CFileOverlay. The registry is the real one inside one
// transaction that is never committed: the first change opens it, everything the run changes
// happens in it with the store's own rules (a deleted key's subkeys go too, the next subkey
// moves to the deleted one's index), and it is rolled back when the machine goes, or by SQLite
// when the process dies. The run's own transactions become marks in a journal of its registry
// changes: committing one keeps its changes; rolling one back rolls the whole transaction back
// and carries out the journal again up to the mark. Shutdown and restart requests are only
// recorded; a restart works through the restart-time list on the overlay, as the next start
// would.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/FileOverlay.h"
#include "platform/Machine.h"

class CDryRunMachine : public CForwardingMachine {
 public:
  explicit CDryRunMachine(IMachine& target) : CForwardingMachine(target), m_files(target) {}
  ~CDryRunMachine() override;
  CDryRunMachine(const CDryRunMachine&) = delete;
  CDryRunMachine& operator=(const CDryRunMachine&) = delete;

  Status GetFileInfo(std::string_view path, FileInfo* info) override { return m_files.GetFileInfo(path, info); }
  Status ReadFile(std::string_view path, std::string* bytes, FileStamp* stamp) override {
    return m_files.ReadFile(path, bytes, stamp);
  }
  Status WriteFileAtomic(std::string_view path, std::string_view bytes) override {
    return m_files.WriteFile(path, bytes);
  }
  // Nothing on disk is written, so there is nothing to guard against other processes.
  Status LockFileForUpdate(std::string_view path, FileLock*) override { return m_files.CheckFolderOf(path); }
  Status CreateDirectory(std::string_view path) override { return m_files.CreateDirectory(path); }
  Status ListDirectory(std::string_view path, std::vector<DirEntry>* entries) override {
    return m_files.ListDirectory(path, entries);
  }
  Status DeleteFile(std::string_view path) override { return m_files.DeleteFile(path); }
  Status RemoveDirectory(std::string_view path) override { return m_files.RemoveDirectory(path); }
  Status MoveFile(std::string_view from, std::string_view to) override { return m_files.MoveFile(from, to); }
  Status OpenNoShare(std::string_view path) override { return m_files.OpenNoShare(path); }

  Status RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) override;
  Status RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) override;
  Status RegDeleteKey(RegKeyId parent, std::string_view subPath) override;
  Status RegDeleteValue(RegKeyId key, std::string_view name) override;
  Status RegBeginTransaction() override;
  Status RegCommitTransaction() override;
  void RegRollbackTransaction() override;
  // Nothing is committed, so nothing needs to reach the disk.
  Status RegSync() override { return Status::Ok(); }

  Status ExitWindows(UINT flags) override;

 private:
  using RegistryChange = std::function<Status(IMachine&)>;

  Status OpenSandbox();
  Status Apply(RegistryChange change);
  void Replay();

  CFileOverlay m_files;
  bool m_sandboxOpen = false;
  std::vector<RegistryChange> m_journal;
  std::optional<size_t> m_runTransaction;  // where the run's own transaction began in the journal
};
