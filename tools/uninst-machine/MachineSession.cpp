// Opening and installing a machine for one command.
#include "tools/uninst-machine/MachineSession.h"

#include <cstdio>

#include "platform/Profile.h"
#include "tools/uninst-machine/Commands.h"

CMachineSession::CMachineSession(const std::string& root, const char* command) {
  Status opened = CHostMachine::Open(root, &m_machine);
  if (!opened.IsOk()) {
    std::fprintf(stderr, "uninst-machine %s: %s\n", command, opened.ToString().c_str());
    SetExitStatus(2);
    return;
  }
  InstallMachine(m_machine.get());
}

CMachineSession::~CMachineSession() {
  if (!m_machine) return;
  if (!FlushProfileWrites()) {
    std::fprintf(stderr, "uninst-machine: pending profile writes failed: error %u\n", GetLastError());
    SetExitStatus(1);
  }
  InstallMachine(nullptr);
}
