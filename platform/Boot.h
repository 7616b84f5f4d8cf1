// The restart-time processing of a Windows 9x start: the [Rename] section of wininit.ini.
#pragma once

#include <string>
#include <vector>

#include "platform/Status.h"

// What one boot step did: one line a file, in the order of the section.
struct BootReport {
  std::vector<std::string> lines;
  int notCarriedOut = 0;  // lines that could not be carried out (a file already gone, say)
};

// Works through [Rename] of C:\WINDOWS\wininit.ini on the installed machine, top to bottom:
// a line whose key is NUL or NULL (any case) deletes the file its value names, any other line
// dest=src renames src to dest (never over an existing file). Both names must be full paths;
// long names are accepted; directories are never touched. A line that cannot be carried out
// is reported and the rest go on. Afterwards the old text of the file is kept as
// C:\WINDOWS\wininit.bak and the section is left empty; a file without [Rename] lines is left
// as it is. Fails only when the step could not run: the file unreadable, wininit.bak or the
// emptied section not writable.
Status RunBootStep(BootReport* report);
