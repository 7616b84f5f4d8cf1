// The installed machine behind the Win32-named functions.
#include "platform/Machine.h"

#include <stdexcept>

#include "platform/Profile.h"
#include "platform/ProfileCache.h"

namespace {
IMachine* g_machine = nullptr;
}

void InstallMachine(IMachine* machine) {
  if (g_machine) (void)FlushProfileWrites();
  // The parsed copies belong to the machine they were read from.
  TheProfileCache().Clear();
  g_machine = machine;
}

IMachine& TheMachine() {
  if (!g_machine) throw std::logic_error("no machine is installed");
  return *g_machine;
}

bool HasMachine() { return g_machine != nullptr; }
