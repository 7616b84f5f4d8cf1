// Finding the machine and the Windows path of a host path that lies in one of its drive folders.
#pragma once

#include <string>

#include "platform/Status.h"

struct MachineLocation {
  std::string root;         // the machine's host directory
  std::string windowsPath;  // "C:\Capture\uninst.exe"
};

// `hostPath` (which need not exist, but its directory must) as a path on the machine whose
// drive folder holds it: ERROR_PATH_NOT_FOUND when no folder on the way up is a drive folder
// (drive_c, drive_d...).
Status LocateOnMachine(const std::string& hostPath, MachineLocation* location);

// The host's current directory as a Windows path of the machine at `root`, when it lies in
// one of its drive folders.
Status CurrentHostDirectoryOn(const std::string& root, std::string* windowsPath);
