// CObservedMachine: a machine that tells an observer about every change made through it, with
// the change's outcome. Profile files are written whole, so a write is compared with the text
// it replaces and reported entry by entry. Registry changes inside a transaction are reported
// when it commits, and not at all when it is rolled back: they never happened.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ChangeObserver.h"
#include "platform/Machine.h"

class CObservedMachine : public CForwardingMachine {
 public:
  // `observer` must outlive the machine.
  CObservedMachine(IMachine& target, IChangeObserver& observer) : CForwardingMachine(target), m_observer(observer) {}

  Status WriteFileAtomic(std::string_view path, std::string_view bytes) override;
  Status CreateDirectory(std::string_view path) override;
  Status DeleteFile(std::string_view path) override;
  Status RemoveDirectory(std::string_view path) override;
  Status MoveFile(std::string_view from, std::string_view to) override;

  Status RegOpenKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) override;
  Status RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) override;
  Status RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) override;
  Status RegDeleteKey(RegKeyId parent, std::string_view subPath) override;
  Status RegDeleteValue(RegKeyId key, std::string_view name) override;
  Status RegBeginTransaction() override;
  Status RegCommitTransaction() override;
  void RegRollbackTransaction() override;

  Status ExitWindows(UINT flags) override;

 private:
  void Report(Change change);
  void ReportRegistry(Change change);
  // The path as the machine spells it, or as given where it does not resolve.
  std::string Spelled(std::string_view path);
  // The key's path from its root, as the program named it on the way there.
  std::string KeyPath(RegKeyId key) const;
  void RememberKey(RegKeyId key, RegKeyId parent, std::string_view subPath);

  IChangeObserver& m_observer;
  std::unordered_map<RegKeyId, std::string> m_keyPaths;
  bool m_inTransaction = false;
  std::vector<Change> m_uncommitted;
};
