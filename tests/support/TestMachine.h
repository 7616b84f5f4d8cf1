// A fresh machine in a temporary directory, installed for the length of one test.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/HostMachine.h"

// A temporary host directory that is removed with everything in it at the end.
class CTempDir {
 public:
  CTempDir();
  ~CTempDir();
  CTempDir(const CTempDir&) = delete;
  CTempDir& operator=(const CTempDir&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

class CTestMachine {
 public:
  // Makes drive C: with C:\WINDOWS and C:\WINDOWS\SYSTEM and installs the machine; with
  // `install` false the machine is made but not installed.
  explicit CTestMachine(bool install = true);
  ~CTestMachine();
  CTestMachine(const CTestMachine&) = delete;
  CTestMachine& operator=(const CTestMachine&) = delete;

  const std::string& Root() const { return m_dir.Path(); }
  CHostMachine& Machine() { return *m_machine; }
  // The host path of `relative` under the machine root ("drive_c/WINDOWS/win.ini").
  std::string Host(std::string_view relative) const;

  // Host-side helpers for fixtures, bypassing the machine: they make parent folders.
  void Write(std::string_view relative, std::string_view bytes) const;
  std::string Read(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  void MakeDir(std::string_view relative) const;

 private:
  CTempDir m_dir;
  std::unique_ptr<CHostMachine> m_machine;
  bool m_installed;
};

// The host path of a built program ("uninst-machine"), from UNINST_BIN_DIR.
std::string ToolPath(std::string_view name);

// The host path of a file of the source tree ("tests/fixtures/registry/sample.reg").
std::string SourcePath(std::string_view relative);

// Runs a shell command; returns its exit status and, when `output` is given, its standard output.
int RunCommand(const std::string& command, std::string* output = nullptr);
