// CUnattendedAnswers: how an unattended run answers the program's dialogs. The main dialog is
// confirmed with its check boxes as the state file sets them, or set to the packages the run
// names; the restart dialog takes its third choice, neither shutdown nor restart, unless the
// run lets the preselected choice stand. Message boxes take their default buttons in the
// front end itself.
#pragma once

#include <string>
#include <vector>

#include "platform/FrontEnd.h"
#include "platform/SilentFrontEnd.h"

class CRestartDlg;
class CUninstallDlg;

struct UnattendedChoice {
  // The packages to remove, as [Packages] names them (any letter case); empty: the check boxes
  // as the state file sets them.
  std::vector<std::string> packages;
  bool allPackages = false;            // every package the main dialog shows
  bool letRestartChoiceStand = false;  // the restart dialog's preselection is carried out
};

// A package name that the main dialog does not show: the run stops before it changes anything.
class CSelectionError : public CFrontEndError {
 public:
  using CFrontEndError::CFrontEndError;
};

class CUnattendedAnswers : public IUnattendedAnswers {
 public:
  explicit CUnattendedAnswers(UnattendedChoice choice) : m_choice(std::move(choice)) {}

  // Throws CSelectionError for a package name that the main dialog does not show.
  bool Answer(CDialog& dialog) override;

 private:
  bool AnswerMain(CUninstallDlg& dialog);
  bool AnswerRestart(CRestartDlg& dialog);

  UnattendedChoice m_choice;
};
