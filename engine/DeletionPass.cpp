// RunDeletionPass: the removal of the listed files and folders, with progress, the restart-time
// list for what cannot go now, and the uninstaller's own removal.
#include <optional>
#include <string>

#include "app/StateFile.h"
#include "app/Texts.h"
#include "app/UninstallRecord.h"
#include "engine/ActionScope.h"
#include "engine/Actions.h"
#include "engine/OpenRegKey.h"
#include "engine/ProfileText.h"
#include "engine/ProgressMeter.h"
#include "engine/RestartList.h"
#include "engine/TextRoom.h"
#include "platform/File.h"
#include "platform/FileApi.h"
#include "platform/FileUseScan.h"
#include "platform/Wnd.h"
#include "resources/ResourceIds.h"

namespace {

constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

void SendPosition(CWnd* bar, int position) {
  if (bar) bar->SendMessage(PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

// A file that another process holds open does not open; one that opens but cannot be removed
// (read-only, say) is not left behind either: both are removed at the next start.
void DeleteListedFile(const CString& path, CWnd* label, CRestartList& restart) {
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::shareExclusive)) {
    restart.AddDeletion(path.Str());
    return;
  }
  file.Close();
  if (label) label->SetWindowText(path);
  try {
    CFile::Remove(path);
  } catch (const CFileException&) {
    restart.AddDeletion(path.Str());
  }
}

void RemoveEntries(const DeletionPassInput& input, CRestartList& restart) {
  CWnd* label = input.progressDlg.GetDlgItem(IDC_FILE_LABEL);
  CProgressMeter meter(input.list.Total());
  for (const RemovalEntry& entry : input.list.Entries()) {
    std::optional<int> position = meter.Advance(entry.nSize);
    // A folder that still holds something (a file only scheduled, say) stays, silently.
    if (entry.nKind == RemovalKind::Directory)
      RemoveDirectoryA(entry.strPath);
    else
      DeleteListedFile(entry.strPath, label, restart);
    if (position) SendPosition(input.pProgressBar, *position);
  }
  SendPosition(input.pProgressBar, CProgressMeter::kEnd);
}

void RemoveSelf(const CUninstallRecord& record, CRestartList& restart) {
  const std::string exeDir(record.m_szExeDir.view());
  restart.AddDeletion(record.m_szExePath.view());
  restart.AddDeletion(exeDir + '\\' + kScriptFileName);
  restart.AddDeletion(exeDir + '\\' + kStateFileName);
  const std::string entry = ReadProfileString(record.m_szLanguage, texts::kUninstallEntry.key,
                                              texts::kUninstallEntry.defaultText, record.m_szScriptPath);
  // An empty child name must never reach the Uninstall key: it would name the key itself, with
  // every other program's entry below it. A name cut to the room could name another program's.
  if (entry.empty() || !FitsTextRoom(entry)) return;
  COpenRegKey uninstall(HKEY_LOCAL_MACHINE, kUninstallKey);
  if (uninstall.IsOpen()) RegDeleteKeyA(uninstall.Key(), entry.c_str());
}

}  // namespace

void RunDeletionPass(const DeletionPassInput& input) {
  CActionScope action;
  // One scan of the processes' open files at most, however long the list.
  CFileUseScan scan;
  CRestartList restart;
  RemoveEntries(input, restart);
  if (input.nPackagesStruck == input.nPackagesWalked && !input.record.m_bCDVersion) RemoveSelf(input.record, restart);
  restart.WriteBack();
}
