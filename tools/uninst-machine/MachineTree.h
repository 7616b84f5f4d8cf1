// A listing of a machine's drives, for people.
#pragma once

#include "platform/Machine.h"

// Prints every folder and file on the machine's drives, one per line, as Windows paths, in
// the order a search gives them.
void PrintMachineTree(IMachine& machine);
