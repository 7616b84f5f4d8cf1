// uninst: the uninstaller, run on a machine (a directory that stands in for a Windows PC).
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "platform/TextCase.h"
#include "tools/uninst/ExitStatus.h"
#include "tools/uninst/UninstOptions.h"
#include "tools/uninst/Uninstaller.h"

namespace {

// Adds the options; returns --select, whose use the checks below need.
CLI::Option* AddOptions(CLI::App& cli, UninstOptions& o) {
  cli.add_option("PROGRAM", o.program, "the uninstaller's host path inside a drive folder");
  cli.add_option("--machine", o.machine, "the machine's directory (with --command-line)")->type_name("DIR");
  cli.add_option("--command-line", o.commandLine, "the Windows command line, e.g. \"C:\\Capture\\uninst.exe\"");
  CLI::Option* script =
      cli.add_option("--script", o.frontEnd.scriptPath, "take the user's actions from FILE (with --transcript)")
          ->type_name("FILE");
  CLI::Option* transcript = cli.add_option("--transcript", o.frontEnd.transcriptPath,
                                           "write what is shown to FILE as JSON lines (- for stdout)")
                                ->type_name("FILE");
  CLI::Option* mono = cli.add_flag("--mono", o.frontEnd.mono, "draw the terminal UI without colours");
  CLI::Option* silent =
      cli.add_flag("--silent", o.silent, "no screen, never waits for input; dialogs answered by their defaults");
  silent->excludes(script)->excludes(transcript)->excludes(mono);
  CLI::Option* select = cli.add_option("--select", o.select,
                                       "with --silent: the packages to remove (names as in [Packages]), or all, "
                                       "instead of the state file's check boxes")
                            ->delimiter(',')
                            ->type_name("A,B|all")
                            ->needs(silent);
  cli.add_flag("--restart", o.restart,
               "with --silent: let the restart dialog's preselected choice stand (may shut down or restart)")
      ->needs(silent);
  cli.add_flag("--dry-run", o.dryRun,
               "run the whole flow (terminal UI or --silent) but change nothing; list what would be removed");
  cli.add_option("--log", o.logPath,
                 "append one timed line per change (removed, scheduled, failed and why) to FILE as it happens")
      ->type_name("FILE");
  return select;
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What the parser cannot see: the names --select was given, and who has standard output.
bool CheckOptions(UninstOptions& o, const CLI::Option& select, std::string* error) {
  std::vector<std::string> names;
  for (const std::string& name : o.select)
    if (std::string trimmed = Trimmed(name); !trimmed.empty()) names.push_back(std::move(trimmed));
  o.select = std::move(names);
  if (select.count() > 0 && o.select.empty()) {
    *error = "--select names no package";
    return false;
  }
  bool all = std::any_of(o.select.begin(), o.select.end(), [](const std::string& n) { return EqualsNoCase(n, "all"); });
  if (all && o.select.size() > 1) {
    *error = "--select all takes no other names";
    return false;
  }
  if (o.dryRun && o.frontEnd.transcriptPath == "-") {
    *error = "--dry-run lists what it would do on standard output: give --transcript a file";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  UninstOptions options;
  CLI::App cli{"The Kalvora TK7/TK5 uninstaller, run on a machine: a directory that stands in for a Windows PC.\n"
               "PROGRAM is the host path of the uninstaller inside the machine's drive folder, e.g.\n"
               "~/pc/drive_c/Capture/uninst.exe; the machine is the folder that holds drive_c.",
               "uninst"};
  const CLI::Option* select = AddOptions(cli, options);
  cli.footer(ExitStatusHelp());
  try {
    cli.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // --help ends well; every other parse error is a bad command line.
    return cli.exit(e) == 0 ? exitstatus::kCompleted : exitstatus::kUsage;
  }
  std::string error;
  if (!CheckOptions(options, *select, &error)) {
    std::fprintf(stderr, "uninst: %s\n", error.c_str());
    return exitstatus::kUsage;
  }
  return RunUninstaller(options);
}
