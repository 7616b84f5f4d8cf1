// The exit statuses of uninst, what each means, and the one a finished run ends with.
#pragma once

#include <string>

namespace exitstatus {
inline constexpr int kCompleted = 0;      // the run removed everything it listed
inline constexpr int kStopped = 1;        // the flow ended before any change was tried
inline constexpr int kUsage = 2;          // bad command line
inline constexpr int kMachine = 3;        // machine missing or unusable
inline constexpr int kBusy = 4;           // another uninstallation runs on the machine
inline constexpr int kRestartNeeded = 5;  // completed, with files left for the next start
inline constexpr int kNotRemoved = 6;     // completed, but some listed items could not be removed
inline constexpr int kScriptMisfit = 7;   // the --script did not fit what the program showed
}  // namespace exitstatus

// "completed, with files left for the next start: a restart is needed" for 5.
const char* ExitStatusMeaning(int status);

// The table of statuses for --help.
std::string ExitStatusHelp();

// What a run that went through its dialogs did.
struct RunFacts {
  bool changeTried = false;        // at least one change was made or tried
  bool changeFailed = false;       // a change that was tried failed (what was gone already is no failure)
  bool restartPending = false;     // a restart-time line the run added still waits for the next start
  bool restartLeftToUser = false;  // the restart dialog ended without a shutdown or restart
};

// 6 when anything failed, else 5 when a restart is needed, else 1 when nothing was tried,
// else 0.
int OutcomeStatus(const RunFacts& facts);
