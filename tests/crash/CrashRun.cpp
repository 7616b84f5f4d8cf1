// crash-run: the uninstaller run as uninst runs it (the machine opened and locked, the script
// front end, start-up and the dialogs, the pending profile writes at exit), with the fault
// machine between the program and the host machine. Each change is journalled; one change can
// be made to fail, or the process killed right after it, or inside it when it is a file write.
//
//   crash-run --machine DIR --command-line TEXT --script FILE --transcript FILE --journal FILE
//             [--fail K [--error CODE] | --kill-after K | --kill-in-write K]
//
// Exit status: 0 when the dialogs ran, 2 for a bad command line or front end, 3 when the
// machine or the program's files could not be used, 4 when the machine is locked, 7 when the
// script did not fit; killed by SIGKILL when asked to.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "app/UninstallApp.h"
#include "platform/FrontEndChoice.h"
#include "platform/HostMachine.h"
#include "platform/MachineLock.h"
#include "platform/Process.h"
#include "platform/Profile.h"
#include "platform/ShutdownReportingMachine.h"
#include "resources/ProgramResources.h"
#include "tests/crash/FaultMachine.h"

namespace {

struct Options {
  std::string machine;
  std::string commandLine;
  FrontEndOptions frontEnd;
  std::string journal;
  unsigned fail = 0;
  unsigned killAfter = 0;
  unsigned killInWrite = 0;
  DWORD error = 0;
};

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "crash-run: %s\n", message.c_str());
  return status;
}

FaultPlan PlanOf(const Options& o) {
  if (o.fail) return {FaultPlan::Mode::Fail, o.fail, o.error};
  if (o.killAfter) return {FaultPlan::Mode::KillAfter, o.killAfter, 0};
  if (o.killInWrite) return {FaultPlan::Mode::KillInWrite, o.killInWrite, 0};
  return {};
}

// Start-up and the dialogs on the installed machine, as uninst runs them.
int RunDialogs(const Options& o, IMachine& machine, IFrontEnd& frontEnd) {
  InstallMachine(&machine);
  SetProcessCommandLine(o.commandLine);
  AfxSetResourceHandle(ProgramResources());
  int status = 0;
  {
    CFrontEndScope scope(frontEnd);
    CUninstallApp app;
    try {
      AfxWinMain();
      if (!app.StartupError().empty()) status = Fail(3, app.StartupError());
    } catch (const CFrontEndError& e) {
      status = Fail(7, e.what());
    }
  }
  if (!FlushProfileWrites()) std::fprintf(stderr, "crash-run: profile writes failed at exit: %u\n", GetLastError());
  InstallMachine(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  CLI::App cli{"The uninstaller with a fault machine at the machine seam, for the crash tests.", "crash-run"};
  cli.add_option("--machine", o.machine)->required();
  cli.add_option("--command-line", o.commandLine)->required();
  cli.add_option("--script", o.frontEnd.scriptPath)->required();
  cli.add_option("--transcript", o.frontEnd.transcriptPath)->required();
  cli.add_option("--journal", o.journal)->required();
  CLI::Option* fail = cli.add_option("--fail", o.fail, "make change K fail")->check(CLI::PositiveNumber);
  cli.add_option("--error", o.error, "the error of the failed change (default: the host's usual one)")->needs(fail);
  CLI::Option* killAfter = cli.add_option("--kill-after", o.killAfter, "kill the process right after change K")
                               ->check(CLI::PositiveNumber)
                               ->excludes(fail);
  cli.add_option("--kill-in-write", o.killInWrite, "kill the process inside change K, a file write, before its rename")
      ->check(CLI::PositiveNumber)
      ->excludes(fail)
      ->excludes(killAfter);
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return cli.exit(e) == 0 ? 0 : 2;
  }

  std::unique_ptr<CHostMachine> host;
  if (Status opened = CHostMachine::Open(o.machine, &host); !opened) return Fail(3, opened.ToString());
  CMachineLock lock;
  if (Status locked = CMachineLock::Take(o.machine, CMachineLock::Mode::Try, &lock); !locked)
    return Fail(locked.Code() == ERROR_LOCK_VIOLATION ? 4 : 3, locked.ToString());
  if (Status registry = host->OpenRegistry(true); !registry) return Fail(3, registry.ToString());
  std::string error;
  std::unique_ptr<IFrontEnd> frontEnd = MakeFrontEnd(o.frontEnd, &error);
  if (!frontEnd) return Fail(2, error);
  CChangeJournal journal;
  if (Status created = CChangeJournal::Create(o.journal, &journal); !created) return Fail(2, created.ToString());

  // The machine spells host paths from the root with every link resolved.
  std::error_code canonical;
  const std::string root = std::filesystem::canonical(o.machine, canonical).string();
  if (canonical) return Fail(3, o.machine + ": " + canonical.message());
  CFaultMachine fault(*host, root, PlanOf(o), journal);
  // The front end hears of every shutdown or restart request, as in uninst.
  CShutdownReportingMachine reporting(fault);
  int status = RunDialogs(o, reporting, *frontEnd);
  // The transcript is complete before the program ends.
  frontEnd.reset();
  std::printf("%u changes\n", fault.Changes());
  return status;
}
