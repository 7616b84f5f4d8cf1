// CShutdownReportingMachine: a machine that tells the front end about every shutdown or
// restart request before passing it on, so the transcript shows it.
#pragma once

#include "platform/FrontEnd.h"
#include "platform/Machine.h"

class CShutdownReportingMachine : public CForwardingMachine {
 public:
  using CForwardingMachine::CForwardingMachine;
  Status ExitWindows(UINT flags) override {
    TheFrontEnd().ExitWindowsRequested(flags);
    return CForwardingMachine::ExitWindows(flags);
  }
};
