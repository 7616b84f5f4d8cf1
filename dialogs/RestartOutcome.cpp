// Reading the restart dialog's choice once it has closed.
#include "dialogs/RestartOutcome.h"

#include "dialogs/RestartDlg.h"

bool LeftRestartToUser(const CDialog& closed) {
  const auto* restart = dynamic_cast<const CRestartDlg*>(&closed);
  if (!restart) return false;
  // Only OK carries a choice out; the fields then hold the choice the user made.
  return restart->ModalResult() != IDOK || (!restart->m_bShutdown && !restart->m_bRestart);
}
