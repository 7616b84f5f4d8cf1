// Every hostile script, run by the real program on its own hostile machine: the canaries outside
// the machine are exactly as before, and the run still did its work inside.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/hostile/HostileCases.h"
#include "tests/hostile/HostileRun.h"

namespace {

class HostileScripts : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileScripts, TouchNothingOutsideTheMachine) {
  const HostileCase& c = GetParam();
  CHostileMachine machine(c.hardware);
  PrepareHostileRun(c, machine);
  const CHostSnapshot before = machine.Canaries();
  UninstResult result = c.commandLine.empty() ? RunUninst(machine.Program(c.folder), c.actions)
                                              : RunUninst("", c.actions, ProgramArguments(c, machine));
  std::string transcript;
  for (const std::string& line : result.transcript) transcript += line + "\n";
  ExpectOutcome(c, result.status, transcript, result.errors);
  EXPECT_EQ(machine.Canaries().ChangesSince(before), std::vector<std::string>{});
  ExpectInsideEffects(c, machine);
  if (c.verify) c.verify(machine);
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostileScripts, ::testing::ValuesIn(HostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.id; });

}  // namespace
