// The unattended answers to the main dialog and the restart dialog.
#include "dialogs/UnattendedAnswers.h"

#include "dialogs/RestartDlg.h"
#include "dialogs/UninstallDlg.h"
#include "resources/ResourceIds.h"

namespace {

// Presses a button of the dialog as a click on it would; false when the dialog lacks it.
bool Press(CDialog& dialog, int id) {
  CControlWnd* button = dialog.Control(id);
  if (!button) return false;
  button->Click();
  return true;
}

// The names shown, in the order of the boxes; the first empty name ends them.
std::vector<std::string> ShownPackages(const CUninstallDlg& dialog) {
  std::vector<std::string> names;
  for (const CString& name : dialog.m_strPackage) {
    if (name.IsEmpty()) break;
    names.emplace_back(name.Str());
  }
  return names;
}

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text.empty() ? "none" : text;
}

}  // namespace

bool CUnattendedAnswers::Answer(CDialog& dialog) {
  if (auto* main = dynamic_cast<CUninstallDlg*>(&dialog)) return AnswerMain(*main);
  if (auto* restart = dynamic_cast<CRestartDlg*>(&dialog)) return AnswerRestart(*restart);
  return false;
}

bool CUnattendedAnswers::AnswerMain(CUninstallDlg& dialog) {
  const std::vector<std::string> shown = ShownPackages(dialog);
  if (m_choice.allPackages || !m_choice.packages.empty()) {
    std::vector<bool> chosen(shown.size(), m_choice.allPackages);
    for (const std::string& wanted : m_choice.packages) {
      bool known = false;
      for (size_t i = 0; i < shown.size(); ++i) {
        if (dialog.m_strPackage[i].CompareNoCase(wanted.c_str()) != 0) continue;
        chosen[i] = true;
        known = true;
      }
      if (!known)
        throw CSelectionError("--select: no package named \"" + wanted + "\" is installed (the packages: " +
                              Listed(shown) + ")");
    }
    for (size_t i = 0; i < shown.size(); ++i)
      dialog.CheckDlgButton(IDC_PACKAGE1 + static_cast<int>(i), chosen[i] ? BST_CHECKED : BST_UNCHECKED);
  }
  return Press(dialog, IDC_CONFIRM);
}

bool CUnattendedAnswers::AnswerRestart(CRestartDlg& dialog) {
  // An unattended run never shuts down or restarts the machine unasked.
  if (!m_choice.letRestartChoiceStand && !Press(dialog, IDC_RESTART_LATER)) return false;
  return Press(dialog, IDOK);
}
