// What a run changes on its machine, one change at a time, as the machine seam sees it: the
// files and folders, the entries of profile files, the registry keys and values, and the
// requests to shut down or restart. An observer hears of every change the run tries, with
// its outcome.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Status.h"
#include "platform/WinTypes.h"

enum class ChangeKind {
  FileDeleted,        // path, size
  FileCreated,        // path, size: a file written where there was none
  FileMoved,          // path, target
  FolderCreated,      // path
  FolderRemoved,      // path
  IniEntryRemoved,    // path (the profile file), section, line
  IniEntryAdded,      // path, section, line
  IniSectionRemoved,  // path, section
  RegKeyCreated,      // path ("HKEY_LOCAL_MACHINE\Software\X")
  RegKeyDeleted,      // path, with everything below it
  RegValueSet,        // path, name
  RegValueDeleted,    // path, name
  ExitWindows,        // flags (EWX_SHUTDOWN, EWX_REBOOT)
};

struct Change {
  ChangeKind kind = ChangeKind::FileDeleted;
  std::string path;     // a full Windows path, or a registry key's path from its root
  std::string target;   // FileMoved: where it went
  std::string section;  // the profile section
  std::string line;     // the profile line, "key=value" (trimmed), or a line without "="
  std::string name;     // the registry value's name; empty for the default value
  std::uint64_t size = 0;
  UINT flags = 0;
  Status result;        // Ok, or why the change could not be made
};

class IChangeObserver {
 public:
  virtual ~IChangeObserver() = default;
  // A change was made, or tried and failed (change.result). What was already gone is no change.
  virtual void OnChange(const Change& change) = 0;
};
