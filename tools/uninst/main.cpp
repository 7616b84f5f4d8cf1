// uninst: the uninstaller, run on a machine (a directory that stands in for a Windows PC).
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "app/UninstallApp.h"
#include "platform/FrontEndChoice.h"
#include "platform/HostMachine.h"
#include "platform/MachineLocator.h"
#include "platform/Process.h"
#include "platform/Profile.h"
#include "platform/ShutdownReportingMachine.h"
#include "resources/ProgramResources.h"

namespace {

// Exit statuses.
constexpr int kExitUsage = 2;     // bad arguments, no machine, no front end, start-up stopped
constexpr int kExitFrontEnd = 3;  // the script did not fit what the program showed

struct Arguments {
  std::string program;
  std::string machine;
  std::string commandLine;
  FrontEndOptions frontEnd;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "uninst: %s\n", message.c_str());
  return kExitUsage;
}

// The machine and the Windows command line, from PROGRAM or from --machine and --command-line.
int ResolveMachine(Arguments& args) {
  if (!args.program.empty()) {
    MachineLocation location;
    Status located = LocateOnMachine(args.program, &location);
    if (!located.IsOk()) return Fail(located.Path());
    args.machine = location.root;
    args.commandLine = "\"" + location.windowsPath + "\"";
  } else if (args.machine.empty() || args.commandLine.empty()) {
    return Fail("give PROGRAM, or --machine DIR with --command-line TEXT (see --help)");
  }
  return 0;
}

// A command line without a directory runs in the directory it was started from, which must
// then be on the machine.
int SetStartDirectory(IMachine& machine, const Arguments& args) {
  if (args.commandLine.find('\\') != std::string::npos) return 0;
  std::string current;
  Status here = CurrentHostDirectoryOn(args.machine, &current);
  if (!here.IsOk() || !machine.SetCurrentDirectory(current).IsOk())
    return Fail("the command line names no directory and the current directory is not in a drive folder of " +
                args.machine);
  return 0;
}

int Run(Arguments& args) {
  if (int failed = ResolveMachine(args)) return failed;
  std::unique_ptr<CHostMachine> machine;
  Status opened = CHostMachine::Open(args.machine, &machine);
  if (!opened.IsOk()) return Fail(opened.ToString());
  std::string error;
  std::unique_ptr<IFrontEnd> frontEnd = MakeFrontEnd(args.frontEnd, &error);
  if (!frontEnd) return Fail(error);
  // The front end shows every shutdown or restart request the program makes.
  CShutdownReportingMachine reporting(*machine);
  InstallMachine(&reporting);
  if (int failed = SetStartDirectory(reporting, args)) {
    InstallMachine(nullptr);
    return failed;
  }
  SetProcessCommandLine(args.commandLine);
  AfxSetResourceHandle(ProgramResources());
  CFrontEndScope scope(*frontEnd);
  CUninstallApp app;
  int status = 0;
  try {
    AfxWinMain();
    if (!app.StartupError().empty()) status = Fail(app.StartupError());
  } catch (const CFrontEndError& e) {
    std::fprintf(stderr, "uninst: %s\n", e.what());
    status = kExitFrontEnd;
  }
  if (!FlushProfileWrites()) status = Fail("profile writes could not be written out");
  InstallMachine(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  CLI::App cli{"The Kalvora TK7/TK5 uninstaller, run on a machine: a directory that stands in for a Windows PC.\n"
               "PROGRAM is the host path of the uninstaller inside the machine's drive folder, e.g.\n"
               "~/pc/drive_c/Capture/uninst.exe; the machine is the folder that holds drive_c.",
               "uninst"};
  cli.add_option("PROGRAM", args.program, "the uninstaller's host path inside a drive folder");
  cli.add_option("--machine", args.machine, "the machine's directory (with --command-line)");
  cli.add_option("--command-line", args.commandLine, "the Windows command line, e.g. \"C:\\Capture\\uninst.exe\"");
  cli.add_option("--script", args.frontEnd.scriptPath, "take the user's actions from FILE (with --transcript)");
  cli.add_option("--transcript", args.frontEnd.transcriptPath, "write what is shown to FILE as JSON lines (- for stdout)");
  cli.add_flag("--mono", args.frontEnd.mono, "draw the terminal UI without colours");
  CLI11_PARSE(cli, argc, argv);
  return Run(args);
}
