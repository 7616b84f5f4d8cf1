// Making a fresh machine: the folders and files of a plain Windows 9x PC and its default
// registry keys.
#pragma once

#include <string>

#include "platform/Status.h"

// Creates the machine directory `root` (and its parents) with drive C:, the Windows, system,
// INF and Start-menu folders, win.ini and system.ini, and the default registry keys. Existing
// files are left as they are, so running it on a machine only adds what is missing.
Status InitMachine(const std::string& root);
