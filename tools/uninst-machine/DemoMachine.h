// The demo machine: a plain Windows 9x PC with the whole capture-board package installed.
#pragma once

#include <string>

#include "platform/Status.h"

// Makes a fresh machine at `root` (which must not hold one yet) with the package installed.
Status MakeDemoMachine(const std::string& root);
