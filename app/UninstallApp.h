// CUninstallApp: the application object; its start-up is the whole life of the program.
#pragma once

#include <string>

#include "platform/WinApp.h"

struct CUninstallRecord;

class CUninstallApp : public CWinApp {
 public:
  CUninstallApp();

  // Finds the script and state files beside the executable, decides CD mode and the
  // language, and shows the main dialog modally. Always FALSE: the program ends after it.
  BOOL InitInstance() override;

  // Why start-up stopped before the main dialog, or empty when it did not. A path that does
  // not fit the program's 255 characters, or no directory to find the files in, stops it:
  // a cut path would name another directory. So does a script or state file that cannot be
  // read.
  const std::string& StartupError() const { return m_startupError; }
  // The main dialog's result, -2 before it has run.
  INT_PTR DialogResult() const { return m_dialogResult; }

 private:
  bool FillPaths(CUninstallRecord& record);
  // A script or state file that is there but cannot be read (a folder, a device, no
  // permission) would read as empty, and the run would strike its packages with nothing
  // removed: start-up stops instead, before anything changes.
  bool FilesReadable(const CUninstallRecord& record);

  std::string m_startupError;
  INT_PTR m_dialogResult = -2;
};
