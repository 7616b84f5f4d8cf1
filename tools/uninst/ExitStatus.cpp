// The exit statuses of uninst.
#include "tools/uninst/ExitStatus.h"

namespace {

struct Meaning {
  int status;
  const char* text;
};

constexpr Meaning kMeanings[] = {
    {exitstatus::kCompleted, "completed: the run removed everything it listed"},
    {exitstatus::kStopped, "stopped before anything was removed (cancelled or declined; with --silent, by the "
                           "dialogs' defaults)"},
    {exitstatus::kUsage, "bad command line (unknown or conflicting options, --select naming no installed package, "
                         "no terminal and no --script or --silent)"},
    {exitstatus::kMachine, "machine missing or unusable (no such machine, the registry cannot be opened, the "
                           "uninstaller's own files not found at start-up)"},
    {exitstatus::kBusy, "another uninstallation is running on this machine (nothing was changed)"},
    {exitstatus::kRestartNeeded, "completed, with files left for the next start: a restart is needed"},
    {exitstatus::kNotRemoved, "completed, but some listed items could not be removed (wins over 5)"},
    {exitstatus::kScriptMisfit, "the --script did not fit what the program showed"},
};

}  // namespace

const char* ExitStatusMeaning(int status) {
  for (const Meaning& meaning : kMeanings)
    if (meaning.status == status) return meaning.text;
  return "unknown";
}

std::string ExitStatusHelp() {
  std::string text = "Exit status:";
  for (const Meaning& meaning : kMeanings) text += "\n  " + std::to_string(meaning.status) + "  " + meaning.text;
  text += "\nWith --dry-run the status is the one the run would end with, as far as it can tell without "
          "changing anything.";
  return text;
}

int OutcomeStatus(const RunFacts& facts) {
  if (facts.changeFailed) return exitstatus::kNotRemoved;
  if (facts.restartPending || facts.restartLeftToUser) return exitstatus::kRestartNeeded;
  if (!facts.changeTried) return exitstatus::kStopped;
  return exitstatus::kCompleted;
}
