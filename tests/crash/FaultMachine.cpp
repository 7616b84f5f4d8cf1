// The fault-injecting machine of the crash tests.
#include "tests/crash/FaultMachine.h"

#include <csignal>

#include "platform/HostFile.h"

DWORD HostErrorOf(ChangeCall call) {
  switch (call) {
    case ChangeCall::WriteFile:
    case ChangeCall::ExitWindows:
      return ERROR_WRITE_FAULT;  // EIO: the bytes did not reach the disk
    case ChangeCall::CreateDirectory:
    case ChangeCall::DeleteFile:
    case ChangeCall::RemoveDirectory:
    case ChangeCall::MoveFile:
      return ERROR_ACCESS_DENIED;  // EACCES, EPERM, EROFS
    default:
      return ERROR_REGISTRY_IO_FAILED;  // SQLITE_IOERR, SQLITE_FULL
  }
}

template <class Forward>
Status CFaultMachine::Change(JournalEntry entry, Forward&& forward) {
  entry.index = ++m_count;
  const bool fail = m_plan.mode == FaultPlan::Mode::Fail && entry.index == m_plan.at;
  const bool killInWrite = m_plan.mode == FaultPlan::Mode::KillInWrite && entry.index == m_plan.at;
  if (killInWrite) SetBeforeReplaceHookForTesting([] { std::raise(SIGKILL); });
  Status result = fail ? Status::Error(m_plan.error ? m_plan.error : HostErrorOf(entry.call), entry.path) : forward();
  if (killInWrite) SetBeforeReplaceHookForTesting(nullptr);
  entry.result = result.IsOk() ? ERROR_SUCCESS : result.Code();
  entry.injected = fail;
  if (!result.IsOk()) entry.bytes.clear();
  m_journal.Add(entry);
  if (m_plan.mode == FaultPlan::Mode::KillAfter && entry.index == m_plan.at) std::raise(SIGKILL);
  return result;
}

std::string CFaultMachine::Below(std::string_view path) {
  std::string host;
  if (!Target().HostPath(path, &host).IsOk() || !host.starts_with(m_root + "/")) return {};
  return host.substr(m_root.size() + 1);
}

namespace {

std::string KeyPath(RegKeyId key, std::string_view sub) { return "#" + std::to_string(key) + "\\" + std::string(sub); }

JournalEntry Entry(ChangeCall call, std::string path = {}, std::string target = {}) {
  JournalEntry entry;
  entry.call = call;
  entry.path = std::move(path);
  entry.target = std::move(target);
  return entry;
}

}  // namespace

Status CFaultMachine::WriteFileAtomic(std::string_view path, std::string_view bytes) {
  JournalEntry entry = Entry(ChangeCall::WriteFile, Below(path));
  entry.bytes = bytes;
  return Change(std::move(entry), [&] { return Target().WriteFileAtomic(path, bytes); });
}

Status CFaultMachine::CreateDirectory(std::string_view path) {
  return Change(Entry(ChangeCall::CreateDirectory, Below(path)), [&] { return Target().CreateDirectory(path); });
}

Status CFaultMachine::DeleteFile(std::string_view path) {
  return Change(Entry(ChangeCall::DeleteFile, Below(path)), [&] { return Target().DeleteFile(path); });
}

Status CFaultMachine::RemoveDirectory(std::string_view path) {
  return Change(Entry(ChangeCall::RemoveDirectory, Below(path)), [&] { return Target().RemoveDirectory(path); });
}

Status CFaultMachine::MoveFile(std::string_view from, std::string_view to) {
  return Change(Entry(ChangeCall::MoveFile, Below(from), Below(to)), [&] { return Target().MoveFile(from, to); });
}

Status CFaultMachine::RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) {
  return Change(Entry(ChangeCall::RegCreateKey, KeyPath(parent, subPath)),
                [&] { return Target().RegCreateKey(parent, subPath, key); });
}

Status CFaultMachine::RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) {
  return Change(Entry(ChangeCall::RegSetValue, KeyPath(key, name)),
                [&] { return Target().RegSetValue(key, name, value); });
}

Status CFaultMachine::RegDeleteKey(RegKeyId parent, std::string_view subPath) {
  return Change(Entry(ChangeCall::RegDeleteKey, KeyPath(parent, subPath)),
                [&] { return Target().RegDeleteKey(parent, subPath); });
}

Status CFaultMachine::RegDeleteValue(RegKeyId key, std::string_view name) {
  return Change(Entry(ChangeCall::RegDeleteValue, KeyPath(key, name)),
                [&] { return Target().RegDeleteValue(key, name); });
}

Status CFaultMachine::RegBeginTransaction() {
  return Change(Entry(ChangeCall::RegBegin), [&] { return Target().RegBeginTransaction(); });
}

Status CFaultMachine::RegCommitTransaction() {
  Status committed = Change(Entry(ChangeCall::RegCommit), [&] { return Target().RegCommitTransaction(); });
  // A commit that fails on the host rolls the transaction back; so does one failed here.
  if (!committed.IsOk()) Target().RegRollbackTransaction();
  return committed;
}

Status CFaultMachine::RegSync() {
  return Change(Entry(ChangeCall::RegSync), [&] { return Target().RegSync(); });
}

Status CFaultMachine::ExitWindows(UINT flags) {
  return Change(Entry(ChangeCall::ExitWindows, "flags " + std::to_string(flags)),
                [&] { return Target().ExitWindows(flags); });
}
