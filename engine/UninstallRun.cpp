// The package walk of a run and the order of its actions.
#include "engine/UninstallRun.h"

#include <optional>
#include <string>

#include "app/StateFile.h"
#include "app/UninstallRecord.h"
#include "engine/ActionScope.h"
#include "engine/Actions.h"
#include "engine/ProfileText.h"
#include "engine/TextRoom.h"
#include "platform/Profile.h"
#include "platform/Wnd.h"
#include "resources/ResourceIds.h"

namespace {

// The name of the section that the package's `actionKey` names, or nothing: a missing key, a
// value of fewer than two characters and a name too long to be meant whole all skip the action.
std::optional<std::string> ActionSection(const char* package, const char* actionKey, const char* scriptPath) {
  std::string section = ReadProfileString(package, actionKey, " ", scriptPath);
  if (section.size() < 2 || !FitsTextRoom(section)) return std::nullopt;
  return section;
}

}  // namespace

CUninstallRun::CUninstallRun(CWnd& progressDlg, const CUninstallRecord& record, const PathDirectories& dirs)
    : m_progressDlg(progressDlg), m_record(record), m_dirs(dirs) {}

void CUninstallRun::Run() {
  CWnd* progressBar = m_progressDlg.GetDlgItem(IDC_PROGRESS_BAR);
  // The first empty name ends the walk, as the end of the seven names does.
  for (int i = 0; i < kPackageSlots && !m_record.m_strPackage[i].IsEmpty(); ++i) {
    const CString& package = m_record.m_strPackage[i];
    if (m_record.m_bPackageSelected[i]) {
      RunPackage(package);
      if (!m_record.m_bCDVersion) StrikePackage(package);
    }
    ++m_nPackagesWalked;
  }
  RunDeletionPass({m_list, m_nPackagesWalked, m_nPackagesStruck, m_progressDlg, progressBar, m_record});
}

void CUninstallRun::RunPackage(const char* package) {
  const char* script = m_record.m_szScriptPath;
  if (auto section = ActionSection(package, script::kDeleteFiles, script)) {
    CActionScope action;
    AddFileEntries(ReadProfileSection(section->c_str(), script), m_dirs, m_list);
  }
  if (auto section = ActionSection(package, script::kDeleteGroupEntries, script)) {
    CActionScope action;
    AddGroupEntries(ReadProfileSection(section->c_str(), script), m_list);
  }
  if (auto section = ActionSection(package, script::kDeleteIniEntries, script)) {
    CActionScope action;
    RemoveIniEntries(ReadProfileSection(section->c_str(), script), m_dirs);
  }
  if (auto section = ActionSection(package, script::kDeleteRegEntries, script)) {
    CActionScope action;
    RemoveRegEntries(ReadProfileSection(section->c_str(), script), m_hCurrentRoot);
  }
  if (auto section = ActionSection(package, script::kDeleteInfFile, script)) {
    CActionScope action;
    AddInfEntries(section->c_str(), script, m_list);
  }
}

// Struck whatever the actions achieved, and before any of the package's files is deleted: the
// package counts as removed from now on, also where its files could only be scheduled.
void CUninstallRun::StrikePackage(const char* package) {
  CActionScope action;
  WritePrivateProfileStringA(state::kPackages, package, nullptr, m_record.m_szStatePath);
  ++m_nPackagesStruck;
}
