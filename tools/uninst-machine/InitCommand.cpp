// uninst-machine init: a fresh machine.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/HostMachine.h"
#include "platform/MachineSetup.h"
#include "tools/uninst-machine/Commands.h"
#include "tools/uninst-machine/MachineTree.h"

void AddInitCommand(CLI::App& app) {
  auto machine = std::make_shared<std::string>();
  CLI::App* init = app.add_subcommand("init", "Make a fresh machine: drive C: with a plain Windows 9x layout");
  init->add_option("MACHINE", *machine, "the machine's directory (made when missing)")->required();
  init->callback([machine] {
    Status status = InitMachine(*machine);
    if (!status.IsOk()) {
      std::fprintf(stderr, "uninst-machine init: %s\n", status.ToString().c_str());
      SetExitStatus(1);
      return;
    }
    std::printf("made machine %s\n", machine->c_str());
    CHostMachine made(*machine);
    PrintMachineTree(made);
  });
}
