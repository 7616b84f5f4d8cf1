// The five actions of a package and the deletion pass that ends a run. The gathering actions
// add to the run's removal list; the other two remove profile and registry entries at once.
#pragma once

#include <string>
#include <vector>

#include "engine/PathVariables.h"
#include "engine/RemovalList.h"
#include "platform/Registry.h"

class CWnd;
struct CUninstallRecord;

using SectionLines = std::vector<std::string>;

// DeleteFiles: each line "pattern=value" adds every file (not folder) that the pattern, path
// variables expanded, matches in its directory. The walk ends at a line without "=" or with a
// path variable that does not expand; a line whose pattern is too long or names no directory
// is passed over.
void AddFileEntries(const SectionLines& lines, const PathDirectories& dirs, RemovalList& list);

// DeleteGroupEntries: "group=value" adds every shortcut of the Start-menu group and then the
// group folder; "group#prefix=value" only the group's shortcuts whose names begin with the
// prefix's first five characters. Nothing without the current user's Programs folder.
void AddGroupEntries(const SectionLines& lines, RemovalList& list);

// DeleteInfFile: adds the INF files of Inf\others, then Inf\oem*.inf, whose value `Item` of
// section `Section` holds `Search_ID` once upper-cased. Keys are read from `sectionName` of the
// script file; an empty Search_ID takes no file.
void AddInfEntries(LPCSTR sectionName, LPCSTR scriptPath, RemovalList& list);

// DeleteIniEntries: "file#section#key#value=rest" removes the section (no key), the key when
// its value equals `value` without regard to case, or the key (no value). Malformed lines are
// passed over; a file field with an unknown path variable ends the walk.
void RemoveIniEntries(const SectionLines& lines, const PathDirectories& dirs);

// DeleteRegEntries: "root#subkey#name#value=rest" deletes the key (no name), its default value
// ("@"), the named value when its data equals `value` without regard to case, or the named
// value (no value). A root name sets `currentRoot`, which lasts for the whole run; nullptr
// until a line names one of the six roots, and lines before that are passed over.
void RemoveRegEntries(const SectionLines& lines, HKEY& currentRoot);

// What the deletion pass works on.
struct DeletionPassInput {
  const RemovalList& list;
  int nPackagesWalked = 0;
  int nPackagesStruck = 0;
  CWnd& progressDlg;         // shows the file label, control 1014
  CWnd* pProgressBar;        // control 1013; may be missing
  const CUninstallRecord& record;
};

// Deletes the list's entries in order with progress; files that do not open, or open but cannot
// be removed, go on the restart-time list ([Rename] of wininit.ini). When every package shown
// was struck outside CD mode, the uninstaller's own files follow there and its Uninstall key
// goes. The [Rename] section is always written back, its existing lines first.
void RunDeletionPass(const DeletionPassInput& input);
