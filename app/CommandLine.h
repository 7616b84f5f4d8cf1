// The executable's own path and directory, taken from the process's command line.
#pragma once

#include <string>
#include <string_view>

struct ExeLocation {
  std::string exePath;  // as the command line gives it
  std::string exeDir;   // without a closing backslash; empty when the path holds none
};

// A leading double quote is skipped and the text ends at the last double quote that follows,
// so "C:\Program Files\Capture\uninst.exe" /x gives the path without the argument; an
// unquoted command line is taken whole. The directory ends at the last backslash.
ExeLocation ParseCommandLine(std::string_view commandLine);
