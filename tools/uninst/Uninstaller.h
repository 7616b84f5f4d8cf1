// One run of the uninstaller from its parsed command line: the machine found and locked, the
// front end chosen, the dialogs run over the observed (and, for a dry run, sandboxed) machine,
// and the exit status.
#pragma once

#include "tools/uninst/UninstOptions.h"

// The exit status of the run (see ExitStatus.h).
int RunUninstaller(UninstOptions& options);
