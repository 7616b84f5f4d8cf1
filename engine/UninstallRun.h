// CUninstallRun: one run of the uninstall engine, from the walk over the selected packages to
// the end of the deletion pass.
#pragma once

#include "engine/PathVariables.h"
#include "engine/RemovalList.h"
#include "platform/Registry.h"

class CWnd;
struct CUninstallRecord;

class CUninstallRun {
 public:
  // `progressDlg` is the progress dialog, whose window exists and whose owner holds `record`.
  CUninstallRun(CWnd& progressDlg, const CUninstallRecord& record, const PathDirectories& dirs);

  // Runs every action of each selected package, strikes it from [Packages] outside CD mode,
  // then deletes what the actions gathered.
  void Run();

 private:
  void RunPackage(const char* package);
  void StrikePackage(const char* package);

  CWnd& m_progressDlg;
  const CUninstallRecord& m_record;
  const PathDirectories& m_dirs;
  RemovalList m_list;
  HKEY m_hCurrentRoot = nullptr;  // the registry root in force, for the whole run
  int m_nPackagesWalked = 0;
  int m_nPackagesStruck = 0;
};
