// Opening and installing a machine for one command.
#include "tools/uninst-machine/MachineSession.h"

#include <cstdio>

#include "platform/Profile.h"
#include "tools/uninst-machine/Commands.h"

CMachineSession::CMachineSession(const std::string& root, const char* command, MachineUse use) {
  std::unique_ptr<CHostMachine> machine;
  Status opened = CHostMachine::Open(root, &machine);
  if (opened.IsOk() && use == MachineUse::Change) {
    opened = CMachineLock::Take(root, CMachineLock::Mode::Try, &m_lock);
    if (opened.Code() == ERROR_LOCK_VIOLATION) {
      std::fprintf(stderr, "uninst-machine %s: waiting for the uninstallation running on this machine\n", command);
      opened = CMachineLock::Take(root, CMachineLock::Mode::Wait, &m_lock);
    }
  }
  if (!opened.IsOk()) {
    std::fprintf(stderr, "uninst-machine %s: %s\n", command, opened.ToString().c_str());
    SetExitStatus(2);
    return;
  }
  m_machine = std::move(machine);
  InstallMachine(m_machine.get());
}

CMachineSession::~CMachineSession() {
  if (!m_machine) return;
  if (!FlushProfileWrites()) {
    std::fprintf(stderr, "uninst-machine: pending profile writes failed: error %u\n", GetLastError());
    SetExitStatus(1);
  }
  InstallMachine(nullptr);
  m_machine.reset();
}
