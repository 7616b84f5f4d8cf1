// What the command line of uninst asks for.
#pragma once

#include <string>
#include <vector>

#include "platform/FrontEndChoice.h"

struct UninstOptions {
  std::string program;      // the uninstaller's host path inside a drive folder
  std::string machine;      // or the machine's directory, with commandLine
  std::string commandLine;  // the Windows command line
  FrontEndOptions frontEnd;
  bool silent = false;
  std::vector<std::string> select;  // --select: package names, or the one word "all"
  bool restart = false;             // --restart: the restart dialog's preselection stands
  bool dryRun = false;
  std::string logPath;
};
