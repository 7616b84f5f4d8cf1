// uninst-machine: makes and inspects machines, the directories that stand in for a Windows PC.
#include <cstdio>
#include <exception>

#include "tools/uninst-machine/Commands.h"

namespace {
int g_exitStatus = 0;
}

void SetExitStatus(int status) { g_exitStatus = status; }

int main(int argc, char** argv) {
  CLI::App app{"Makes and inspects machines: directories that stand in for a Windows PC.",
               "uninst-machine"};
  app.require_subcommand(1);
  AddInitCommand(app);
  AddIniCommand(app);
  AddRegCommand(app);
  AddBootCommand(app);
  AddDemoCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "uninst-machine: %s\n", e.what());
    return 1;
  }
  return g_exitStatus;
}
