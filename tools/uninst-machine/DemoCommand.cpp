// uninst-machine demo: a machine with the whole package installed, for trying the program.
#include <cstdio>
#include <memory>
#include <string>

#include "platform/HostMachine.h"
#include "tools/uninst-machine/Commands.h"
#include "tools/uninst-machine/DemoMachine.h"
#include "tools/uninst-machine/MachineTree.h"

void AddDemoCommand(CLI::App& app) {
  auto root = std::make_shared<std::string>();
  auto quiet = std::make_shared<bool>(false);
  CLI::App* demo = app.add_subcommand("demo", "Make a machine with the whole Kalvora TK7/TK5 package installed");
  demo->add_option("MACHINE", *root, "the machine's directory (made when missing)")->required();
  demo->add_flag("--quiet", *quiet, "print nothing but errors");
  demo->callback([root, quiet] {
    Status made = MakeDemoMachine(*root);
    if (!made.IsOk()) {
      std::fprintf(stderr, "uninst-machine demo: %s\n", made.ToString().c_str());
      SetExitStatus(1);
      return;
    }
    if (*quiet) return;
    std::printf("made demo machine %s; the uninstaller is C:\\Capture\\uninst.exe:\n", root->c_str());
    CHostMachine machine(*root);
    PrintMachineTree(machine);
  });
}
