// The four directories behind the path variables of the action sections ($windows$, $system$,
// $premiere$, $mstudio$), how a run finds them, and the expansion of a key text.
#pragma once

#include <string>
#include <string_view>

#include "platform/String.h"

struct PathDirectories {
  CString m_strWindowsDir;
  CString m_strSystemDir;
  CString m_strPremiereDir;
  CString m_strMStudioDir;
};

// The directories as a run sets them at its start: the Windows and system directories; the
// Premiere directory from its App Paths key (default C:\Win32App\Premiere); the MediaStudio
// directory from the first of its keys that opens, the first named by the language's first
// letter (default C:\MSVE25). A directory is the key's Path value without its last element.
PathDirectories FindPathDirectories(const char* language);

enum class Expansion {
  Path,  // *path holds the path the key text stands for
  Stop,  // the key text names no known variable: the caller ends the walk of its section
};

// A key text that does not begin with "$" is its own path. "$name$rest" gives the directory of
// `name` (windows, system, premiere or mstudio, in any letter case) directly followed by
// `rest`: scripts write the backslash themselves. No closing "$", or another name: Stop.
Expansion ExpandPathVariable(const PathDirectories& dirs, std::string_view keyText, std::string* path);
