// One uninstallation at a time on a machine: a second one ends with status 4 having changed
// nothing, the uninst-machine commands that change the machine wait for the first to end, and
// those that only read do not.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/MachineLock.h"
#include "tests/product/ProductMachine.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

TEST(RunLock, SecondRunEndsWithFourAndChangesNothing) {
  CDemoMachine machine;
  CTempDir dir;
  const std::string log = dir.Path() + "/uninst.log";
  MachineSnapshot before = machine.Snapshot();
  {
    CMachineLock held;
    ASSERT_TRUE(CMachineLock::Take(machine.Root(), CMachineLock::Mode::Try, &held).IsOk());
    for (const char* args : {"--silent", "--silent --dry-run", "--silent --select all --restart"}) {
      ProgramRun run = machine.Uninst(std::string(args) + " --log " + Quoted(log));
      EXPECT_EQ(run.status, 4) << args << "\n" << run.err;
      EXPECT_NE(run.err.find("uninst: an uninstallation is already running on this machine"), std::string::npos)
          << run.err;
    }
    EXPECT_EQ(machine.Snapshot(), before);
    EXPECT_NE(ReadFile(log).find("an uninstallation is already running on this machine (" + machine.Root() +
                                 ") (exit status 4)"),
              std::string::npos)
        << ReadFile(log);
  }
  // Once the lock is free, the run goes ahead.
  EXPECT_EQ(machine.Uninst("--silent --select Editor").status, 0);
}

TEST(RunLock, MachineChangesWaitAndReadsDoNot) {
  CDemoMachine machine;
  CTempDir dir;
  const std::string done = dir.Path() + "/done";
  CMachineLock held;
  ASSERT_TRUE(CMachineLock::Take(machine.Root(), CMachineLock::Mode::Try, &held).IsOk());
  // A write in the background: it must wait while the lock is held.
  const std::string write = Quoted(ToolPath("uninst-machine")) + " ini write " + Quoted(machine.Root()) +
                            " win.ini windows waited yes >/dev/null 2>" + Quoted(dir.Path() + "/err");
  ASSERT_EQ(RunCommand("(" + write + "; echo $? > " + Quoted(done) + ") </dev/null >/dev/null 2>&1 &"), 0);
  // Reads go ahead meanwhile.
  ProgramRun read = machine.Tool("ini get %m win.ini windows waited");
  EXPECT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(read.out, "{\"ret\": 0, \"buffer\": \"\"}\n");
  EXPECT_EQ(machine.Tool("reg export %m").status, 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(std::filesystem::exists(done)) << "the write did not wait for the lock";
  EXPECT_EQ(machine.Read("drive_c/WINDOWS/win.ini").find("waited"), std::string::npos);
  EXPECT_NE(ReadFile(dir.Path() + "/err").find("waiting for the uninstallation running on this machine"),
            std::string::npos);
  held.Release();
  for (int i = 0; i < 200 && ReadFile(done).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(ReadFile(done), "0\n");
  EXPECT_NE(machine.Read("drive_c/WINDOWS/win.ini").find("waited=yes"), std::string::npos);
}

}  // namespace
