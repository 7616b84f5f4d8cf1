// The registry keys of a fresh machine.
#pragma once

#include "platform/Machine.h"

// Writes the keys and values that a plain Windows 9x PC has and the program reads: the
// current user's Shell Folders "Programs" value and the "Locale" value.
Status WriteDefaultRegistryKeys(IMachine& machine);
