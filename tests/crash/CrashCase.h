// One run of the uninstaller on a copy of the demo machine with a fault at one change, the
// second run and the next start after it, and what they left, judged against the machine
// before and after a run without faults.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tests/crash/ChangeJournal.h"
#include "tests/crash/CrashMachine.h"

enum class Fault {
  None,
  Fail,         // change k fails as the host would
  KillAfter,    // the process is killed right after change k
  KillInWrite,  // change k, a file write, is killed before its rename
};

const char* FaultName(Fault fault);

// The demo machine with its script's two root-level registry lines taken out (they can never
// succeed), so that a run without faults has nothing that fails; the machine before any run;
// the journal of a run without faults; and the machine after that run, a second run and the
// machine's next start: everything done.
struct CrashReference {
  std::string demo;  // the template machine's root, copied for every run
  FileTree before;
  std::map<std::string, std::string> keysBefore;
  std::vector<JournalEntry> clean;
  FileTree done;
  std::map<std::string, std::string> keysDone;
};

// Made on first use, once per test program; throws when the demo or the clean run fails.
const CrashReference& TheCrashReference();

struct CaseOutcome {
  // Broken properties: a torn or unexpected file, a corrupt registry, a run that crashed or
  // did not take the clean run's path up to its fault.
  std::vector<std::string> failures;
  // What the runs and the next start did not remove, or left as an earlier version.
  std::vector<std::string> leftBehind;
  // What is worth knowing but breaks nothing.
  std::vector<std::string> notes;
  // The registry right after the faulted run, as RegistryKeys gives it.
  std::map<std::string, std::string> keysAfterRun;
};

// The runs of one case: the faulted run, the checks of the machine it leaves, the second run
// (`uninst --silent --select all`) and the next start (`uninst-machine boot`), and the checks of
// the machine they leave. `k` counts from 1; it is ignored for Fault::None.
CaseOutcome RunCase(const CrashReference& reference, Fault fault, unsigned k);

struct CrashCase {
  Fault fault = Fault::None;
  unsigned k = 0;
};

// RunCase for each case, a few at a time; the outcomes in the order of the cases.
std::vector<CaseOutcome> RunCases(const CrashReference& reference, const std::vector<CrashCase>& cases);

// The answers of the faulted run: every package ticked, the hardware warning confirmed, a
// restart chosen in the restart dialog (so the next start is part of the run).
extern const char* const kCrashScript;
