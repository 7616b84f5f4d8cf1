// Reporting the changes made through a machine.
#include "platform/ObservedMachine.h"

#include "platform/IniChanges.h"
#include "platform/RegistryRoots.h"

namespace {

// A key path below another, without the backslashes around it that name no component.
std::string JoinKeyPath(const std::string& parent, std::string_view subPath) {
  while (subPath.starts_with('\\')) subPath.remove_prefix(1);
  while (subPath.ends_with('\\')) subPath.remove_suffix(1);
  if (subPath.empty()) return parent;
  return parent + "\\" + std::string(subPath);
}

// A deletion that found nothing to delete changed nothing.
bool AlreadyGone(const Status& status) { return status.IsNotFound() || status.Code() == ERROR_KEY_DELETED; }

Change MakeChange(ChangeKind kind, std::string path, const Status& result) {
  Change change;
  change.kind = kind;
  change.path = std::move(path);
  change.result = result;
  return change;
}

ChangeKind KindOf(IniChange::Kind kind) {
  switch (kind) {
    case IniChange::Kind::EntryRemoved: return ChangeKind::IniEntryRemoved;
    case IniChange::Kind::EntryAdded: return ChangeKind::IniEntryAdded;
    case IniChange::Kind::SectionRemoved: return ChangeKind::IniSectionRemoved;
  }
  return ChangeKind::IniEntryAdded;
}

}  // namespace

void CObservedMachine::Report(Change change) { m_observer.OnChange(change); }

void CObservedMachine::ReportRegistry(Change change) {
  if (m_inTransaction)
    m_uncommitted.push_back(std::move(change));
  else
    Report(std::move(change));
}

std::string CObservedMachine::Spelled(std::string_view path) {
  std::string full;
  return Target().FullPath(path, &full).IsOk() ? full : std::string(path);
}

std::string CObservedMachine::KeyPath(RegKeyId key) const {
  if (auto it = m_keyPaths.find(key); it != m_keyPaths.end()) return it->second;
  if (const RegRoot* root = FindRegRootById(key)) return std::string(root->name);
  return "(registry key " + std::to_string(key) + ")";
}

void CObservedMachine::RememberKey(RegKeyId key, RegKeyId parent, std::string_view subPath) {
  if (FindRegRootById(key)) return;
  m_keyPaths[key] = JoinKeyPath(KeyPath(parent), subPath);
}

// ---- Files

Status CObservedMachine::WriteFileAtomic(std::string_view path, std::string_view bytes) {
  const std::string full = Spelled(path);
  std::string before;
  Status read = Target().ReadFile(path, &before, nullptr);
  Status written = Target().WriteFileAtomic(path, bytes);
  if (read.IsNotFound()) {
    Change change = MakeChange(ChangeKind::FileCreated, full, written);
    change.size = bytes.size();
    Report(std::move(change));
  }
  // Profile files are the files a run writes; what it changed in one is its entries, also in
  // one it made (the restart-time list may be the first text of wininit.ini).
  for (IniChange& entry : DiffIniTexts(read.IsOk() ? before : std::string(), bytes)) {
    Change change = MakeChange(KindOf(entry.kind), full, written);
    change.section = std::move(entry.section);
    change.line = std::move(entry.line);
    Report(std::move(change));
  }
  return written;
}

Status CObservedMachine::CreateDirectory(std::string_view path) {
  const std::string full = Spelled(path);
  Status made = Target().CreateDirectory(path);
  if (made.Code() != ERROR_ALREADY_EXISTS) Report(MakeChange(ChangeKind::FolderCreated, full, made));
  return made;
}

Status CObservedMachine::DeleteFile(std::string_view path) {
  const std::string full = Spelled(path);
  FileInfo info;
  bool known = Target().GetFileInfo(path, &info).IsOk();
  Status deleted = Target().DeleteFile(path);
  if (AlreadyGone(deleted)) return deleted;
  Change change = MakeChange(ChangeKind::FileDeleted, full, deleted);
  change.size = known ? info.size : 0;
  Report(std::move(change));
  return deleted;
}

Status CObservedMachine::RemoveDirectory(std::string_view path) {
  const std::string full = Spelled(path);
  Status removed = Target().RemoveDirectory(path);
  if (!AlreadyGone(removed)) Report(MakeChange(ChangeKind::FolderRemoved, full, removed));
  return removed;
}

Status CObservedMachine::MoveFile(std::string_view from, std::string_view to) {
  const std::string source = Spelled(from);
  const std::string target = Spelled(to);
  Status moved = Target().MoveFile(from, to);
  if (AlreadyGone(moved)) return moved;
  Change change = MakeChange(ChangeKind::FileMoved, source, moved);
  change.target = target;
  Report(std::move(change));
  return moved;
}

// ---- Registry

Status CObservedMachine::RegOpenKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) {
  Status opened = Target().RegOpenKey(parent, subPath, key);
  if (opened.IsOk()) RememberKey(*key, parent, subPath);
  return opened;
}

Status CObservedMachine::RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) {
  // A create opens a key that is there already; only a new key is a change. A create skips a
  // leading backslash where an open would fail on it, so the test open skips it too.
  std::string_view below = subPath;
  while (below.starts_with('\\')) below.remove_prefix(1);
  RegKeyId existing = 0;
  bool existed = Target().RegOpenKey(parent, below, &existing).IsOk();
  Status created = Target().RegCreateKey(parent, subPath, key);
  if (created.IsOk()) RememberKey(*key, parent, subPath);
  if (!existed) ReportRegistry(MakeChange(ChangeKind::RegKeyCreated, JoinKeyPath(KeyPath(parent), subPath), created));
  return created;
}

Status CObservedMachine::RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) {
  Status set = Target().RegSetValue(key, name, value);
  Change change = MakeChange(ChangeKind::RegValueSet, KeyPath(key), set);
  change.name = name;
  ReportRegistry(std::move(change));
  return set;
}

Status CObservedMachine::RegDeleteKey(RegKeyId parent, std::string_view subPath) {
  Status deleted = Target().RegDeleteKey(parent, subPath);
  if (!AlreadyGone(deleted)) ReportRegistry(MakeChange(ChangeKind::RegKeyDeleted, JoinKeyPath(KeyPath(parent), subPath), deleted));
  return deleted;
}

Status CObservedMachine::RegDeleteValue(RegKeyId key, std::string_view name) {
  Status deleted = Target().RegDeleteValue(key, name);
  if (AlreadyGone(deleted)) return deleted;
  Change change = MakeChange(ChangeKind::RegValueDeleted, KeyPath(key), deleted);
  change.name = name;
  ReportRegistry(std::move(change));
  return deleted;
}

Status CObservedMachine::RegBeginTransaction() {
  Status begun = Target().RegBeginTransaction();
  if (begun.IsOk()) {
    m_inTransaction = true;
    m_uncommitted.clear();
  }
  return begun;
}

Status CObservedMachine::RegCommitTransaction() {
  Status committed = Target().RegCommitTransaction();
  std::vector<Change> changes = std::move(m_uncommitted);
  m_uncommitted.clear();
  m_inTransaction = false;
  // A commit that fails rolls the whole transaction back.
  if (committed.IsOk())
    for (Change& change : changes) Report(std::move(change));
  return committed;
}

void CObservedMachine::RegRollbackTransaction() {
  Target().RegRollbackTransaction();
  m_uncommitted.clear();
  m_inTransaction = false;
}

// ---- System

Status CObservedMachine::ExitWindows(UINT flags) {
  // Told first: a restart works through the restart-time list at once, and its changes follow.
  Change change = MakeChange(ChangeKind::ExitWindows, {}, Status::Ok());
  change.flags = flags;
  Report(change);
  Status requested = Target().ExitWindows(flags);
  if (!requested.IsOk()) {
    change.result = requested;
    Report(std::move(change));
  }
  return requested;
}
