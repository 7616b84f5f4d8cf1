// An existing machine opened and installed for the length of one command.
#pragma once

#include <memory>
#include <string>

#include "platform/HostMachine.h"

class CMachineSession {
 public:
  // Opens the machine at `root`; on failure prints why under the command's name and sets the
  // exit status, and IsOpen() is false.
  CMachineSession(const std::string& root, const char* command);
  ~CMachineSession();
  CMachineSession(const CMachineSession&) = delete;
  CMachineSession& operator=(const CMachineSession&) = delete;

  bool IsOpen() const { return m_machine != nullptr; }
  CHostMachine& Machine() { return *m_machine; }

 private:
  std::unique_ptr<CHostMachine> m_machine;
};
