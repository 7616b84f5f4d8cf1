// The corpus of hostile scripts: uninst.ini texts whose lines try to reach host files outside the
// machine, one case per way out, each with what the run must still do inside the machine.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/hostile/HostileMachine.h"

// What a run must leave inside the machine (paths under its root, placeholders allowed).
struct InsideEffect {
  enum class Kind { Gone, Present, Has, Lacks };
  Kind kind{};
  std::string path{};
  std::string text{};  // for Has and Lacks: bytes the file holds or does not hold
};

struct HostileCase {
  std::string id{};                                   // a test name: letters and digits
  std::string name{};                                 // what the case tries
  std::string script{};                               // C:\Capture\uninst.ini, placeholders allowed
  std::vector<InsideEffect> effects{};                // proof that the run did its work inside
  std::string shown{};                                // a text the transcript must hold at the end
  std::string refused{};                              // or: start-up refuses with this error text
  bool hardware = false;                              // the package is the hardware package: restart
  std::string actions = "click 1010\nanswer IDOK\n";  // what the user does
  std::string folder = "Capture";                     // C:\FOLDER\uninst.exe is run
  std::string commandLine{};                          // or: the Windows command line it is given
  std::string wininit{};                              // wininit.ini before the run, when not empty
  std::function<void(CHostileMachine&)> setup{};      // registry values, links of the case
  std::function<void(CHostileMachine&)> verify{};     // checks beyond files
};

std::vector<HostileCase> HostileCases();

// Fails the current test for every effect of `c` that does not hold on `machine`.
void ExpectInsideEffects(const HostileCase& c, const CHostileMachine& machine);

// Test output names a case by what it tries.
inline void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }
