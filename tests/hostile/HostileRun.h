// What every run of a hostile case shares: its files written before, its outcome judged after.
#pragma once

#include "tests/hostile/HostileCases.h"
#include "tests/support/UninstRun.h"

// Runs the case's setup and writes its script and wininit.ini onto `machine`.
void PrepareHostileRun(const HostileCase& c, CHostileMachine& machine);

// The program arguments of uninst for the case, quoted for the shell: the program's host path,
// or the machine and the case's Windows command line.
std::string ProgramArguments(const HostileCase& c, const CHostileMachine& machine);

// Fails the test unless the run went as the case says: it ended on its own with one of the
// statuses of a run that went its way (completed, with or without files left for the restart,
// or stopped by the user; not a signal, a usage error or a script that did not fit) and showed
// what the case names, or start-up refused with the case's error and an error status.
void ExpectOutcome(const HostileCase& c, int status, const std::string& transcript, const std::string& errors);
