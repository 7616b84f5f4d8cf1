// An existing machine opened and installed for the length of one command.
#pragma once

#include <memory>
#include <string>

#include "platform/HostMachine.h"
#include "platform/MachineLock.h"

// Whether a command changes the machine: one that does waits for the machine's run lock, so
// it never changes anything in the middle of an uninstallation.
enum class MachineUse { Read, Change };

class CMachineSession {
 public:
  // Opens the machine at `root`; on failure prints why under the command's name and sets the
  // exit status, and IsOpen() is false. A command that changes the machine first takes its run
  // lock, waiting (and saying so) while an uninstallation holds it.
  CMachineSession(const std::string& root, const char* command, MachineUse use = MachineUse::Read);
  ~CMachineSession();
  CMachineSession(const CMachineSession&) = delete;
  CMachineSession& operator=(const CMachineSession&) = delete;

  bool IsOpen() const { return m_machine != nullptr; }
  CHostMachine& Machine() { return *m_machine; }

 private:
  CMachineLock m_lock;  // released after the machine is gone
  std::unique_ptr<CHostMachine> m_machine;
};
