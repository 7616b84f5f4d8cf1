// One run of the uninstaller: machine, lock, front end, the observed machine, the dialogs, the
// exit status, and for a dry run the list of what it would have done.
#include "tools/uninst/Uninstaller.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/UninstallApp.h"
#include "dialogs/UnattendedAnswers.h"
#include "platform/ChangeLog.h"
#include "platform/DryRunMachine.h"
#include "platform/HostMachine.h"
#include "platform/MachineLocator.h"
#include "platform/MachineLock.h"
#include "platform/ObservedMachine.h"
#include "platform/Process.h"
#include "platform/Profile.h"
#include "platform/ShutdownReportingMachine.h"
#include "platform/TextCase.h"
#include "resources/ProgramResources.h"
#include "tools/uninst/ExitStatus.h"
#include "tools/uninst/PreviewList.h"
#include "tools/uninst/RestartWatch.h"
#include "tools/uninst/RunRecord.h"

namespace {

// The dialogs ran to their end; the changes decide the status.
constexpr int kDialogsRan = -1;

// Says why the run ends on standard error, and in the log when there is one.
int Fail(int status, const std::string& message, CChangeLog* log = nullptr) {
  std::fprintf(stderr, "uninst: %s\n", message.c_str());
  if (log) (void)log->Write("uninst stopped: " + message + " (exit status " + std::to_string(status) + ")");
  return status;
}

// The machine and the Windows command line, from PROGRAM or from --machine and --command-line.
int ResolveMachine(UninstOptions& options) {
  if (!options.program.empty()) {
    MachineLocation location;
    Status located = LocateOnMachine(options.program, &location);
    if (!located.IsOk()) return Fail(exitstatus::kMachine, located.Path());
    options.machine = location.root;
    options.commandLine = "\"" + location.windowsPath + "\"";
  } else if (options.machine.empty() || options.commandLine.empty()) {
    return Fail(exitstatus::kUsage, "give PROGRAM, or --machine DIR with --command-line TEXT (see --help)");
  }
  return 0;
}

// A command line without a directory runs in the directory it was started from, which must
// then be on the machine.
int SetStartDirectory(IMachine& machine, const UninstOptions& options, CChangeLog* log) {
  if (options.commandLine.find('\\') != std::string::npos) return 0;
  std::string current;
  Status here = CurrentHostDirectoryOn(options.machine, &current);
  if (!here.IsOk() || !machine.SetCurrentDirectory(current).IsOk())
    return Fail(exitstatus::kUsage,
                "the command line names no directory and the current directory is not in a drive folder of " +
                    options.machine,
                log);
  return 0;
}

UnattendedChoice ChoiceOf(const UninstOptions& options) {
  UnattendedChoice choice;
  choice.allPackages = options.select.size() == 1 && EqualsNoCase(options.select.front(), "all");
  if (!choice.allPackages) choice.packages = options.select;
  choice.letRestartChoiceStand = options.restart;
  return choice;
}

// Start-up, the main dialog and everything it leads to, on the installed `machine`.
int RunDialogs(const UninstOptions& options, IMachine& machine, IFrontEnd& frontEnd, CChangeLog* log) {
  InstallMachine(&machine);
  if (int failed = SetStartDirectory(machine, options, log)) {
    InstallMachine(nullptr);
    return failed;
  }
  SetProcessCommandLine(options.commandLine);
  AfxSetResourceHandle(ProgramResources());
  int status = kDialogsRan;
  {
    CFrontEndScope scope(frontEnd);
    CUninstallApp app;
    try {
      AfxWinMain();
      if (!app.StartupError().empty()) status = Fail(exitstatus::kMachine, app.StartupError(), log);
    } catch (const CSelectionError& e) {
      status = Fail(exitstatus::kUsage, e.what(), log);
    } catch (const CFrontEndError& e) {
      status = Fail(exitstatus::kScriptMisfit, e.what(), log);
    }
  }
  // A write that fails here is a change that failed, and the record has it.
  if (!FlushProfileWrites())
    std::fprintf(stderr, "uninst: profile writes could not be written out: error %u\n", GetLastError());
  return status;
}

// The run over the opened and locked machine.
int RunOnMachine(UninstOptions& options, CHostMachine& host, CChangeLog* log) {
  CUnattendedAnswers answers(ChoiceOf(options));
  if (options.silent) options.frontEnd.unattended = &answers;
  std::string error;
  std::unique_ptr<IFrontEnd> frontEnd = MakeFrontEnd(options.frontEnd, &error);
  if (!frontEnd) return Fail(exitstatus::kUsage, error, log);

  CRunRecord record(options.dryRun, log);
  std::optional<CDryRunMachine> sandbox;
  if (options.dryRun) sandbox.emplace(host);
  IMachine& base = sandbox ? static_cast<IMachine&>(*sandbox) : host;
  CObservedMachine observed(base, record);
  // The front end shows every shutdown or restart request the program makes.
  CShutdownReportingMachine reporting(observed);
  record.Note("uninst started on " + options.machine + ": " + options.commandLine +
              (options.dryRun ? " (dry run: nothing is changed)" : ""));

  int status = kDialogsRan;
  bool restartLeftToUser = false;
  {
    CRestartWatch watch(*frontEnd);
    status = RunDialogs(options, reporting, watch, log);
    restartLeftToUser = watch.RestartLeftToUser();
  }
  const bool dialogsRan = status == kDialogsRan;
  if (dialogsRan) {
    RunFacts facts{record.AnyTried(), record.AnyFailed(), record.RestartPending(reporting), restartLeftToUser};
    status = OutcomeStatus(facts);
  }
  InstallMachine(nullptr);
  // The terminal is the user's again before anything is printed.
  frontEnd.reset();
  sandbox.reset();
  if (options.dryRun && dialogsRan) PrintPreview(record, stdout);
  record.Note("uninst ended with exit status " + std::to_string(status) + ": " + ExitStatusMeaning(status));
  return status;
}

}  // namespace

int RunUninstaller(UninstOptions& options) {
  if (int failed = ResolveMachine(options)) return failed;
  std::unique_ptr<CChangeLog> log;
  if (!options.logPath.empty()) {
    if (Status opened = CChangeLog::Open(options.logPath, &log); !opened)
      return Fail(exitstatus::kUsage, "cannot open the log: " + opened.ToString());
  }
  std::unique_ptr<CHostMachine> host;
  if (Status opened = CHostMachine::Open(options.machine, &host); !opened)
    return Fail(exitstatus::kMachine, opened.ToString(), log.get());
  // Held until the run has ended, its profile writes and its registry sandbox included.
  CMachineLock lock;
  if (Status locked = CMachineLock::Take(options.machine, CMachineLock::Mode::Try, &lock); !locked) {
    if (locked.Code() == ERROR_LOCK_VIOLATION)
      return Fail(exitstatus::kBusy, "an uninstallation is already running on this machine (" + options.machine + ")",
                  log.get());
    return Fail(exitstatus::kMachine, locked.ToString(), log.get());
  }
  // A dry run must not leave a registry behind where there was none.
  if (Status registry = host->OpenRegistry(!options.dryRun); !registry)
    return Fail(exitstatus::kMachine, "the registry cannot be opened: " + registry.ToString(), log.get());
  int status = RunOnMachine(options, *host, log.get());
  host.reset();
  return status;
}
