// The fixture of the engine tests: a fresh machine with an installed uninstaller in C:\Capture,
// a main dialog that holds the run's record, the script front end and its transcript, and a
// run of the engine through the progress dialog as the confirmation flow makes it.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/UninstallRecord.h"
#include "platform/Dialog.h"
#include "platform/Registry.h"
#include "platform/ScriptFrontEnd.h"
#include "platform/WinApp.h"
#include "tests/support/TestMachine.h"

// The main dialog as the engine sees it: template 102 and the run's record.
class CTestMainDlg : public CDialog, public CUninstallRecord {
 public:
  CTestMainDlg();
};

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("engine test") {}
};

struct PackageLine {
  std::string name;
  bool selected = true;
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest();
  ~EngineTest() override;

  // ---- The machine, by Windows paths ("C:\Capture\a.dll")
  static std::string HostRelative(const std::string& windowsPath);
  std::string HostOf(const std::string& windowsPath) const { return m_machine.Host(HostRelative(windowsPath)); }
  void WriteFile(const std::string& windowsPath, const std::string& bytes = "x") const;
  void MakeDir(const std::string& windowsPath) const;
  bool Exists(const std::string& windowsPath) const;
  std::string ReadFile(const std::string& windowsPath) const;
  void MakeReadOnly(const std::string& windowsPath) const;
  // Imports REGEDIT4 text; fails the test when it does not read.
  void ImportReg(const std::string& text);
  // The REGEDIT4 export of `key` and its subkeys ("" for the whole registry).
  std::string ExportReg(const std::string& key = "");
  bool KeyExists(HKEY root, const char* path);

  // ---- The uninstaller's files
  // The script file uninst.ini in C:\Capture.
  void WriteScript(const std::string& text) const { WriteFile(kScript, text); }
  // The [Packages] lines of the state file and the main dialog's names and selection.
  void SetPackages(std::initializer_list<PackageLine> packages);
  std::string StateFile() const { return ReadFile(kState); }
  // The lines of [Rename] in C:\WINDOWS\wininit.ini.
  std::vector<std::string> RenameLines() const;

  // ---- A run
  // Installs a script front end for `script` (its answers to message boxes).
  void UseScript(const std::string& script);
  // Creates the progress dialog, runs the engine on it and destroys it again.
  void Run();

  // ---- The transcript of the progress dialog
  std::vector<std::string> Events(const std::string& kind = "") const;
  // The positions the bar was sent after the last run's dialog had opened.
  std::vector<int> RunPositions() const;
  // The texts the file label showed, in order, after the last run's dialog had opened.
  std::vector<std::string> Labels() const;

  static constexpr const char* kExeDir = "C:\\Capture";
  static constexpr const char* kScript = "C:\\Capture\\uninst.ini";
  static constexpr const char* kState = "C:\\Capture\\uninstin.ini";
  static constexpr const char* kWininit = "C:\\WINDOWS\\wininit.ini";

  CTestMachine m_machine;
  CTestApp m_app;
  CTestMainDlg m_main;
  // The directories the progress dialog held after the last run.
  std::string m_strWindowsDir, m_strSystemDir, m_strPremiereDir, m_strMStudioDir;

 private:
  std::ostringstream m_transcript;
  std::unique_ptr<CScriptFrontEnd> m_frontEnd;
  std::unique_ptr<CFrontEndScope> m_scope;
  HINSTANCE m_previousModule;
};

// The text of a transcript string field with its JSON escapes undone.
std::string JsonField(const std::string& line, const std::string& field);
