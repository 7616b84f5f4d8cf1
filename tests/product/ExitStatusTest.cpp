// Every exit status of uninst, each from a run that ends with it, and the runs that must end
// before they change anything do change nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/MachineLock.h"
#include "tests/product/ProductMachine.h"

namespace {

struct StatusCase {
  const char* name;
  std::function<void(const CDemoMachine&)> prepare;
  // Arguments after the program; "%s" stands for a script file holding `script`.
  const char* args;
  const char* script;
  int status;
  const char* says;  // on standard error; empty: nothing said
  bool unchanged;    // the machine keeps every byte
};

void Nothing(const CDemoMachine&) {}

TEST(ExitStatus, EachStatusFromARunThatEndsWithIt) {
  const StatusCase cases[] = {
      {"Completed", Nothing, "--silent --select Editor", "", 0, "", false},
      {"StoppedByTheUser", Nothing, "--script %s --transcript /dev/null", "key ESC\n", 1, "", true},
      {"StoppedAtTheHardwareWarning", Nothing, "--script %s --transcript /dev/null", "click 1010\nanswer IDCANCEL\n",
       1, "", true},
      {"UnknownOption", Nothing, "--frobnicate", "", 2, "--frobnicate", true},
      {"SelectWithoutSilent", Nothing, "--select Driver", "", 2, "--select", true},
      {"RestartWithoutSilent", Nothing, "--restart --script %s --transcript /dev/null", "key ESC\n", 2, "--restart",
       true},
      {"SilentWithScript", Nothing, "--silent --script %s --transcript /dev/null", "key ESC\n", 2, "--script", true},
      {"SelectNamesNothing", Nothing, "--silent --select ' , '", "", 2, "--select names no package", true},
      {"SelectAllWithOthers", Nothing, "--silent --select all,Driver", "", 2, "--select all takes no other names",
       true},
      {"SelectUnknownPackage", Nothing, "--silent --select Driver,Nonesuch", "", 2,
       "no package named \"Nonesuch\" is installed (the packages: Driver, Player, Editor, Samples)", true},
      {"NoTerminalAndNoScript", Nothing, "", "", 2, "give --silent, or --script FILE --transcript FILE", true},
      {"DryRunListAndTranscriptBothOnStdout", Nothing, "--dry-run --script %s --transcript -", "key ESC\n", 2,
       "give --transcript a file", true},
      {"LogCannotBeOpened", Nothing, "--silent --log /nonexistent/dir/uninst.log", "", 2, "cannot open the log", true},
      {"RegistryUnusable",
       [](const CDemoMachine& m) { std::ofstream(m.Host("registry.db"), std::ios::trunc) << std::string(4096, 'x'); },
       "--silent", "", 3, "the registry cannot be opened", true},
      {"DryRunWithoutRegistry", [](const CDemoMachine& m) { std::filesystem::remove(m.Host("registry.db")); },
       "--silent --dry-run", "", 3, "registry.db", true},
      {"RestartNeeded", Nothing, "--silent --select Driver", "", 5, "", false},
      {"RestartLeftToTheUser", Nothing, "--script %s --transcript /dev/null",
       "uncheck 1002\nuncheck 1003\nclick 1010\nanswer IDOK\nclick 1020\nclick 1\n", 5, "", false},
      {"SomethingCouldNotBeRemoved", Nothing, "--silent", "", 6, "", false},
      {"ScriptDoesNotFit", Nothing, "--script %s --transcript /dev/null", "check 1009\n", 7, "is not a check box", true},
      // The script runs out while the restart dialog waits: after the changes, still 7.
      {"ScriptRunsOutAfterTheChanges", Nothing, "--script %s --transcript /dev/null", "click 1010\nanswer IDOK\n", 7,
       "the script ended", false},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.name);
    CDemoMachine machine;
    c.prepare(machine);
    CTempDir dir;
    const std::string script = dir.Path() + "/actions.txt";
    std::ofstream(script) << c.script;
    std::string args = c.args;
    if (size_t at = args.find("%s"); at != std::string::npos) args.replace(at, 2, Quoted(script));
    MachineSnapshot before = c.unchanged ? machine.Snapshot() : MachineSnapshot();
    ProgramRun run = machine.Uninst(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    if (*c.says) {
      EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
    } else {
      EXPECT_EQ(run.err, "");
    }
    if (c.unchanged) {
      EXPECT_EQ(machine.Snapshot(), before) << "nothing may change";
    }
  }
}

TEST(ExitStatus, MachineMissing) {
  CTempDir elsewhere;
  std::filesystem::create_directories(elsewhere.Path() + "/Capture");
  struct Case {
    const char* name;
    std::string args;
  };
  const Case cases[] = {
      {"ProgramOutsideAnyDriveFolder", Quoted(elsewhere.Path() + "/Capture/uninst.exe") + " --silent"},
      {"NoSuchMachine", "--machine " + Quoted(elsewhere.Path() + "/none") + " --command-line 'C:\\x.exe' --silent"},
      {"NotAMachine", "--machine " + Quoted(elsewhere.Path()) + " --command-line 'C:\\x.exe' --silent"},
  };
  for (const Case& c : cases) {
    ProgramRun run = RunProgram(Quoted(ToolPath("uninst")) + " " + c.args);
    EXPECT_EQ(run.status, 3) << c.name << "\n" << run.err;
    EXPECT_NE(run.err.find("uninst: "), std::string::npos) << c.name;
  }
  EXPECT_FALSE(std::filesystem::exists(elsewhere.Path() + "/registry.db")) << "no registry is made outside a machine";
}

TEST(ExitStatus, HelpNamesEveryStatus) {
  ProgramRun help = RunProgram(Quoted(ToolPath("uninst")) + " --help");
  ASSERT_EQ(help.status, 0);
  for (const char* line : {"Exit status:", "  0  completed", "  1  stopped before anything was removed",
                           "  2  bad command line", "  3  machine missing or unusable",
                           "  4  another uninstallation is running on this machine",
                           "  5  completed, with files left for the next start: a restart is needed",
                           "  6  completed, but some listed items could not be removed", "  7  the --script did not fit",
                           "--silent", "--select", "--restart", "--dry-run", "--log"})
    EXPECT_NE(help.out.find(line), std::string::npos) << line << "\n" << help.out;
}

}  // namespace
