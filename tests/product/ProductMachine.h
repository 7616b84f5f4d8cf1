// What the product tests share: a fresh copy of the demo machine per test, the programs run on
// it with their output, and snapshots of a whole machine (every file's bytes and the registry
// export) to compare before and after.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TestMachine.h"

// A program's run: its exit status and what it wrote.
struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the shell command `command` with standard input from /dev/null.
ProgramRun RunProgram(const std::string& command);

// `text` in single quotes for the shell.
std::string Quoted(const std::string& text);

// Every file and folder of a machine, and its registry as `uninst-machine reg export` writes it.
struct MachineSnapshot {
  std::map<std::string, std::string> files;  // path below the root -> bytes; a folder -> "<folder>"
  std::string registry;  // empty without registry.db; why it failed where it cannot be read
  bool operator==(const MachineSnapshot&) const = default;
};

// How a machine changed: paths below its root, registry keys upper-cased.
struct MachineDiff {
  std::set<std::string> removed;
  std::set<std::string> added;
  std::set<std::string> changed;
  std::set<std::string> keysRemoved;
  std::set<std::string> keysAdded;
};
MachineDiff Compare(const MachineSnapshot& before, const MachineSnapshot& after);

// A copy of the demo machine that `uninst-machine demo` makes (made once per test program).
class CDemoMachine {
 public:
  CDemoMachine();
  CDemoMachine(const CDemoMachine&) = delete;
  CDemoMachine& operator=(const CDemoMachine&) = delete;

  const std::string& Root() const { return m_root; }
  std::string Host(const std::string& relative) const { return m_root + "/" + relative; }
  // The uninstaller's host path on the machine.
  std::string Program() const { return Host("drive_c/Capture/uninst.exe"); }

  // `uninst PROGRAM ARGS`.
  ProgramRun Uninst(const std::string& args) const;
  // `uninst-machine ARGS`; "%m" in ARGS stands for the machine's root.
  ProgramRun Tool(const std::string& args) const;

  MachineSnapshot Snapshot() const;
  std::string Read(const std::string& relative) const;

  // The Player package's registry lines without the two that name keys right below
  // HKEY_CLASSES_ROOT, which the program cannot delete (it gives RegDeleteKey no child name):
  // a run of every package then has nothing that fails.
  void WithoutRootLevelKeys() const;
  // The board's device entries gone: the hardware check finds no driver and preselects a restart.
  void WithoutDeviceEntries() const;

 private:
  CTempDir m_dir;
  std::string m_root;
};

// The lines of a log without their time stamps; checks that each line has one.
std::vector<std::string> LogLines(const std::string& text);

// Host paths below the machine root of the demo package's files, package by package.
extern const std::vector<std::string> kDriverFiles;
extern const std::vector<std::string> kPlayerFiles;
extern const std::vector<std::string> kEditorFiles;
extern const std::vector<std::string> kSampleFiles;
// Registry keys (upper-cased) that each package's lines remove.
extern const std::vector<std::string> kDriverKeys;
extern const std::vector<std::string> kDeviceKeys;
extern const std::vector<std::string> kPlayerKeys;
extern const std::vector<std::string> kEditorKeys;
extern const std::string kUninstallKey;
