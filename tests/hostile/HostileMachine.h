// A machine laid out to tempt a script out of it: drive folders that are links to the host's root
// and to a folder of canaries, links inside the machine to host files and folders, and the
// canaries themselves in a host folder beside the machine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tests/hostile/HostSnapshot.h"
#include "tests/support/TestMachine.h"

class CHostileMachine {
 public:
  // The layout (see the source for every link) and a package "Hostile" in [Packages] of
  // C:\Capture\uninstin.ini; with `hardware`, it is the hardware package too, so the run ends
  // with the restart dialog.
  explicit CHostileMachine(bool hardware = false);

  CTestMachine& Machine() { return m_machine; }
  const CTestMachine& Machine() const { return m_machine; }
  // The host folder of canaries, outside the machine ("/tmp/uninst-test-Ab12Cd").
  const std::string& Outside() const { return m_outside.Path(); }
  // `text` with {OUT} replaced by the canary folder's host path and {OUTW} by the same path with
  // backslashes ("\tmp\uninst-test-Ab12Cd"), so that script lines can name it either way.
  std::string Expand(std::string_view text) const;

  // Writes C:\Capture\uninst.ini (placeholders expanded).
  void WriteScript(std::string_view text) const;
  // Writes C:\WINDOWS\wininit.ini (placeholders expanded).
  void WriteWininit(std::string_view text) const;

  // Everything outside the machine that a run must leave alone: the canary folder.
  CHostSnapshot Canaries() const { return CHostSnapshot::Take(Outside()); }
  // The host paths of the symbolic links inside the machine, one a line.
  std::vector<std::string> LinksInside() const;

  // Makes the symbolic link `relative` (under the machine's root) pointing at `target`.
  void Link(const std::string& target, std::string_view relative) const;

  // The host path of the uninstaller in C:\`folder`.
  std::string Program(std::string_view folder = "Capture") const {
    return m_machine.Host("drive_c/" + std::string(folder) + "/uninst.exe");
  }

 private:
  void MakeCanaries() const;
  void MakeMachineFiles(bool hardware) const;
  void MakeLinks() const;

  CTempDir m_outside;  // made first, so it outlives nothing that points into it
  CTestMachine m_machine;
};
