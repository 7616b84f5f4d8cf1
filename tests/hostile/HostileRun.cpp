// Preparing and judging hostile runs.
#include "tests/hostile/HostileRun.h"

#include <gtest/gtest.h>

void PrepareHostileRun(const HostileCase& c, CHostileMachine& machine) {
  if (c.setup) c.setup(machine);
  if (!c.script.empty()) machine.WriteScript(c.script);
  if (!c.wininit.empty()) machine.WriteWininit(c.wininit);
}

std::string ProgramArguments(const HostileCase& c, const CHostileMachine& machine) {
  if (c.commandLine.empty()) return "'" + machine.Program(c.folder) + "'";
  return "--machine '" + machine.Machine().Root() + "' --command-line '" + machine.Expand(c.commandLine) + "'";
}

void ExpectOutcome(const HostileCase& c, int status, const std::string& transcript, const std::string& errors) {
  if (!c.refused.empty()) {
    EXPECT_GT(status, 0) << errors;
    EXPECT_NE(errors.find(c.refused), std::string::npos) << errors;
    return;
  }
  EXPECT_TRUE(status == 0 || status == 1 || status == 5 || status == 6) << "status " << status << "\n" << errors;
  EXPECT_NE(transcript.find(c.shown), std::string::npos) << "the run did not get as far as: " << c.shown << "\n"
                                                         << errors;
}
