// The registry sandbox and the shutdown requests of a run that changes nothing.
#include "platform/DryRunMachine.h"

#include <string>

#include "platform/Boot.h"
#include "platform/ExitWindows.h"

CDryRunMachine::~CDryRunMachine() {
  if (m_sandboxOpen) Target().RegRollbackTransaction();
}

Status CDryRunMachine::OpenSandbox() {
  if (m_sandboxOpen) return Status::Ok();
  RETURN_IF_ERROR(Target().RegBeginTransaction());
  m_sandboxOpen = true;
  return Status::Ok();
}

Status CDryRunMachine::Apply(RegistryChange change) {
  RETURN_IF_ERROR(OpenSandbox());
  Status status = change(Target());
  // A change that failed left nothing behind (the store undoes it at once), so it needs no
  // replay.
  if (status.IsOk()) m_journal.push_back(std::move(change));
  return status;
}

void CDryRunMachine::Replay() {
  Target().RegRollbackTransaction();
  m_sandboxOpen = false;
  if (m_journal.empty()) return;
  if (!OpenSandbox().IsOk()) {
    m_journal.clear();
    return;
  }
  // The same changes on the same keys give the same results: key ids come from a counter that
  // the rollback put back, so the keys made again get the ids the run already holds.
  for (const RegistryChange& change : m_journal) (void)change(Target());
}

Status CDryRunMachine::RegCreateKey(RegKeyId parent, std::string_view subPath, RegKeyId* key) {
  RETURN_IF_ERROR(OpenSandbox());
  RETURN_IF_ERROR(Target().RegCreateKey(parent, subPath, key));
  m_journal.push_back([parent, path = std::string(subPath)](IMachine& machine) {
    RegKeyId made = 0;
    return machine.RegCreateKey(parent, path, &made);
  });
  return Status::Ok();
}

Status CDryRunMachine::RegSetValue(RegKeyId key, std::string_view name, const RegValue& value) {
  return Apply([key, name = std::string(name), value](IMachine& machine) { return machine.RegSetValue(key, name, value); });
}

Status CDryRunMachine::RegDeleteKey(RegKeyId parent, std::string_view subPath) {
  return Apply([parent, path = std::string(subPath)](IMachine& machine) { return machine.RegDeleteKey(parent, path); });
}

Status CDryRunMachine::RegDeleteValue(RegKeyId key, std::string_view name) {
  return Apply([key, name = std::string(name)](IMachine& machine) { return machine.RegDeleteValue(key, name); });
}

Status CDryRunMachine::RegBeginTransaction() {
  if (m_runTransaction) return Status::Error(ERROR_INVALID_FUNCTION, "a registry transaction is already open");
  RETURN_IF_ERROR(OpenSandbox());
  m_runTransaction = m_journal.size();
  return Status::Ok();
}

Status CDryRunMachine::RegCommitTransaction() {
  if (!m_runTransaction) return Status::Error(ERROR_INVALID_FUNCTION, "no registry transaction is open");
  m_runTransaction.reset();
  return Status::Ok();
}

void CDryRunMachine::RegRollbackTransaction() {
  if (!m_runTransaction) return;
  m_journal.resize(*m_runTransaction);
  m_runTransaction.reset();
  Replay();
}

Status CDryRunMachine::ExitWindows(UINT flags) {
  bool restart = (flags & EWX_REBOOT) != 0;
  if (!restart && (flags & (EWX_SHUTDOWN | EWX_POWEROFF)) == 0) return Status::Error(ERROR_INVALID_PARAMETER);
  if (!restart) return Status::Ok();
  // The next start's work, on what the run would have left.
  bool installedHere = !HasMachine();
  if (installedHere) InstallMachine(this);
  BootReport report;
  (void)RunBootStep(&report);
  if (installedHere) InstallMachine(nullptr);
  return Status::Ok();
}
