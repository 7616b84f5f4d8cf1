// uninst-machine boot: the machine's next start, which carries out [Rename] of wininit.ini.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/Boot.h"
#include "tools/uninst-machine/Commands.h"
#include "tools/uninst-machine/MachineSession.h"

namespace {

void RunBoot(const std::string& root) {
  CMachineSession session(root, "boot", MachineUse::Change);
  if (!session.IsOpen()) return;
  BootReport report;
  Status status = RunBootStep(&report);
  for (const std::string& line : report.lines) std::printf("%s\n", line.c_str());
  if (!status.IsOk()) {
    std::fprintf(stderr, "uninst-machine boot: %s\n", status.ToString().c_str());
    SetExitStatus(1);
  } else if (report.notCarriedOut > 0) {
    std::fprintf(stderr, "uninst-machine boot: %d line(s) could not be carried out\n", report.notCarriedOut);
    SetExitStatus(3);
  }
}

}  // namespace

void AddBootCommand(CLI::App& app) {
  auto root = std::make_shared<std::string>();
  CLI::App* boot = app.add_subcommand(
      "boot", "Start the machine as Windows 9x does after a restart: carry out the [Rename] section of "
              "C:\\WINDOWS\\wininit.ini (NUL= and NULL= lines delete, dest=src lines rename), keep the old "
              "file as wininit.bak and empty the section. Prints one line a file.");
  boot->add_option("MACHINE", *root, "the machine's directory")->required();
  boot->footer("Exit status: 0 when every line was carried out, 3 when some could not be (reported with "
               "\"not done:\"), 2 when MACHINE is not a machine, 1 when wininit.ini could not be read or "
               "rewritten.");
  boot->callback([root] { RunBoot(*root); });
}
