// CRestartWatch: the run's front end, watched for the end of the restart dialog: a run whose
// user left the restart to later needs one, and its exit status says so.
#pragma once

#include "dialogs/RestartOutcome.h"
#include "platform/ForwardingFrontEnd.h"

class CRestartWatch : public CForwardingFrontEnd {
 public:
  using CForwardingFrontEnd::CForwardingFrontEnd;

  void DialogClosed(CDialog& dialog) override {
    if (LeftRestartToUser(dialog)) m_restartLeftToUser = true;
    CForwardingFrontEnd::DialogClosed(dialog);
  }

  bool RestartLeftToUser() const { return m_restartLeftToUser; }

 private:
  bool m_restartLeftToUser = false;
};
