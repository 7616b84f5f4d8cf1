// Every hostile case once more, the program traced by strace: no call it makes may change a file
// outside the machine, whatever the host would have answered, and none may open a canary.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <climits>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/hostile/FileTrace.h"
#include "tests/hostile/HostileCases.h"
#include "tests/hostile/HostileRun.h"

namespace {

bool CanTrace() { return RunCommand("strace -f -qq -o /dev/null true >/dev/null 2>&1") == 0; }

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string RealPath(const std::string& path) {
  std::array<char, PATH_MAX> real{};
  return ::realpath(path.c_str(), real.data()) ? std::string(real.data()) : path;
}

// A folder for one traced run; it is the run's current directory, so the relative paths on the
// command line land in it.
class CTracedRun {
 public:
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(m_dir.Path() + "/" + name, std::ios::binary) << text;
  }
  // Runs `command` (quoted for the shell) under strace; returns its exit status. The leak
  // checker of a sanitized build cannot work under ptrace, so it is off for the traced run.
  int Run(const std::string& command) {
    const std::string traceFile = m_dir.Path() + "/trace.txt";
    const std::string noLeakCheck = "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0\"";
    int status = RunCommand("cd '" + m_dir.Path() + "' && " + noLeakCheck + " strace -f -y -xx -qq -o '" + traceFile +
                            "' -e trace=" + kFileTraceCalls + " " + command + " </dev/null >stdout.txt 2>stderr.txt");
    m_calls = ReadFileTrace(ReadAll(traceFile), m_dir.Path());
    return status;
  }
  const std::vector<TracedCall>& Calls() const { return m_calls; }
  std::string Path(const std::string& name) const { return m_dir.Path() + "/" + name; }
  std::string Read(const std::string& name) const { return ReadAll(Path(name)); }

 private:
  CTempDir m_dir;
  std::vector<TracedCall> m_calls;
};

class TracedHostileScripts : public ::testing::TestWithParam<HostileCase> {
 protected:
  void SetUp() override {
    if (!CanTrace()) GTEST_SKIP() << "strace cannot trace here (ptrace not permitted)";
  }
};

TEST_P(TracedHostileScripts, ChangeNothingOutsideTheMachine) {
  const HostileCase& c = GetParam();
  CHostileMachine machine(c.hardware);
  PrepareHostileRun(c, machine);
  JailBounds bounds;
  bounds.roots = {machine.Machine().Root(), RealPath(machine.Machine().Root())};
  for (const std::string& link : machine.LinksInside()) bounds.links.insert(link);
  const CHostSnapshot before = machine.Canaries();

  CTracedRun run;
  run.Write("actions.txt", c.actions);
  int status = run.Run("'" + ToolPath("uninst") + "' " + ProgramArguments(c, machine) +
                       " --script actions.txt --transcript transcript.jsonl");
  bounds.allowed.insert(run.Path("transcript.jsonl"));
  for (const std::string& link : machine.LinksInside()) bounds.links.insert(link);

  ExpectOutcome(c, status, run.Read("transcript.jsonl"), run.Read("stderr.txt"));
  EXPECT_FALSE(run.Calls().empty()) << "nothing traced";
  EXPECT_EQ(ChangesOutside(run.Calls(), bounds), std::vector<std::string>{});
  EXPECT_EQ(OpensBelow(run.Calls(), RealPath(machine.Outside())), std::vector<std::string>{});
  EXPECT_EQ(machine.Canaries().ChangesSince(before), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Corpus, TracedHostileScripts, ::testing::ValuesIn(HostileCases()),
                         [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.id; });

// The tracer itself must see a change outside when there is one: a shell that writes, renames
// and removes files in a host folder, and writes through a link of the "machine".
TEST(TracedJail, TheTraceShowsChangesOutside) {
  if (!CanTrace()) GTEST_SKIP() << "strace cannot trace here (ptrace not permitted)";
  CTempDir outside;
  CTempDir machine;
  const std::string out = outside.Path();
  std::ofstream(out + "/victim.txt") << "victim";
  std::ofstream(out + "/moved.txt") << "moved";
  ASSERT_EQ(::symlink(out.c_str(), (machine.Path() + "/link").c_str()), 0);
  CTracedRun run;
  run.Run("sh -c \"echo x >'" + out + "/new.txt'; mv '" + out + "/moved.txt' '" + out + "/gone.txt'; rm '" + out +
          "/victim.txt'; echo y >'" + machine.Path() + "/link/through.txt'; echo z >'" + machine.Path() +
          "/inside.txt'; echo t >transcript.jsonl; cat '" + out + "/gone.txt' >/dev/null\"");
  JailBounds bounds{{machine.Path()}, {machine.Path() + "/link"}, {run.Path("transcript.jsonl")}};
  std::vector<std::string> outsideChanges = ChangesOutside(run.Calls(), bounds);
  auto flagged = [&](const std::string& path) {
    for (const std::string& line : outsideChanges)
      if (line.find(path) != std::string::npos) return true;
    return false;
  };
  for (const std::string& path : {out + "/new.txt", out + "/gone.txt", out + "/victim.txt",
                                  machine.Path() + "/link/through.txt"})
    EXPECT_TRUE(flagged(path)) << path << " not flagged among:\n" << testing::PrintToString(outsideChanges);
  EXPECT_FALSE(flagged(machine.Path() + "/inside.txt"));
  EXPECT_FALSE(flagged("transcript.jsonl"));
  EXPECT_FALSE(OpensBelow(run.Calls(), RealPath(out)).empty()) << "the read of gone.txt opens a file below";
}

}  // namespace
