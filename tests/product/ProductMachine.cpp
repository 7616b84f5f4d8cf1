// Demo machines, program runs and machine snapshots for the product tests.
#include "tests/product/ProductMachine.h"

#include "platform/RegFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::set<std::string> KeysOf(const std::string& exported) {
  std::set<std::string> keys;
  std::istringstream lines(exported);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') keys.insert(Upper(line.substr(1, line.size() - 2)));
  }
  return keys;
}

// The one demo of this test program; its copies are what the tests change.
const std::string& DemoTemplate() {
  static CTempDir dir;
  static const std::string root = [] {
    std::string made = dir.Path() + "/demo";
    ProgramRun run = RunProgram(Quoted(ToolPath("uninst-machine")) + " demo " + Quoted(made) + " --quiet");
    if (run.status != 0) throw std::runtime_error("uninst-machine demo failed: " + run.err);
    return made;
  }();
  return root;
}

}  // namespace

const std::vector<std::string> kDriverFiles = {
    "drive_c/WINDOWS/SYSTEM/tk7cap.drv",
    "drive_c/WINDOWS/SYSTEM/tk7cap.vxd",
    "drive_c/WINDOWS/tk7cap.hlp",
    "drive_c/Program Files/Kalvora/Driver/readme.txt",
    "drive_c/Program Files/Kalvora/Driver/tk7diag.exe",
    "drive_c/Program Files/Kalvora/Driver/tk7setup.exe",
    "drive_c/WINDOWS/Start Menu/Programs/Kalvora TK7/Board Setup.lnk",
    "drive_c/WINDOWS/Start Menu/Programs/Kalvora TK7/Board Test.lnk",
    "drive_c/WINDOWS/INF/others/tk7cap.inf",
    "drive_c/WINDOWS/INF/oem3.inf",
};
const std::vector<std::string> kPlayerFiles = {
    "drive_c/Program Files/Kalvora/Player/codec.dll",
    "drive_c/Program Files/Kalvora/Player/tkplay.dll",
    "drive_c/Program Files/Kalvora/Player/tkplay.exe",
    "drive_c/WINDOWS/tkplay.ini",
    "drive_c/WINDOWS/Start Menu/Programs/Kalvora TK7/Capture Help.lnk",
    "drive_c/WINDOWS/Start Menu/Programs/Kalvora TK7/Capture Player.lnk",
};
const std::vector<std::string> kEditorFiles = {
    "drive_c/Program Files/Kalvora/Editor/tkedit.exe",
    "drive_c/Win32App/Premiere/Plug-ins/tk7imp.prm",
    "drive_c/WINDOWS/Start Menu/Programs/Kalvora TK7/Video Editor.lnk",
};
const std::vector<std::string> kSampleFiles = {
    "drive_c/Program Files/Kalvora/Samples/demo.tkv",
    "drive_c/Program Files/Kalvora/Samples/intro.tkv",
    "drive_c/WINDOWS/Start Menu/Programs/Kalvora TK7/Sample Clips.lnk",
};
const std::vector<std::string> kDriverKeys = {
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\KALVORA\\TK7 DRIVER",
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\VXD\\TK7CAP",
};
const std::vector<std::string> kDeviceKeys = {
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\CONTROL\\MEDIARESOURCES\\MSVIDEO\\TK7CAP.DRV",
    "HKEY_LOCAL_MACHINE\\ENUM\\PCI\\VEN_1A2B&DEV_7007\\BUS_00&DEV_0D&FUNC_00",
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CURRENTCONTROLSET\\SERVICES\\CLASS\\MEDIA\\0003",
};
const std::vector<std::string> kPlayerKeys = {"HKEY_CURRENT_USER\\SOFTWARE\\KALVORA\\PLAYER"};
const std::vector<std::string> kEditorKeys = {"HKEY_LOCAL_MACHINE\\SOFTWARE\\KALVORA\\EDITOR"};
const std::string kUninstallKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\UNINSTALL\\KALVORA TK7/TK5";

ProgramRun RunProgram(const std::string& command) {
  CTempDir dir;
  const std::string errors = dir.Path() + "/stderr";
  ProgramRun run;
  run.status = RunCommand("(" + command + ") </dev/null 2>" + Quoted(errors), &run.out);
  run.err = ReadAll(errors);
  return run;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

MachineDiff Compare(const MachineSnapshot& before, const MachineSnapshot& after) {
  MachineDiff diff;
  for (const auto& [path, bytes] : before.files) {
    auto it = after.files.find(path);
    if (it == after.files.end())
      diff.removed.insert(path);
    else if (it->second != bytes)
      diff.changed.insert(path);
  }
  for (const auto& [path, bytes] : after.files)
    if (!before.files.count(path)) diff.added.insert(path);
  std::set<std::string> keysBefore = KeysOf(before.registry);
  std::set<std::string> keysAfter = KeysOf(after.registry);
  for (const std::string& key : keysBefore)
    if (!keysAfter.count(key)) diff.keysRemoved.insert(key);
  for (const std::string& key : keysAfter)
    if (!keysBefore.count(key)) diff.keysAdded.insert(key);
  return diff;
}

CDemoMachine::CDemoMachine() : m_root(m_dir.Path() + "/pc") {
  fs::copy(DemoTemplate(), m_root, fs::copy_options::recursive);
}

ProgramRun CDemoMachine::Uninst(const std::string& args) const {
  return RunProgram(Quoted(ToolPath("uninst")) + " " + Quoted(Program()) + " " + args);
}

ProgramRun CDemoMachine::Tool(const std::string& args) const {
  std::string command = args;
  for (size_t at = command.find("%m"); at != std::string::npos; at = command.find("%m", at))
    command.replace(at, 2, Quoted(m_root));
  return RunProgram(Quoted(ToolPath("uninst-machine")) + " " + command);
}

MachineSnapshot CDemoMachine::Snapshot() const {
  MachineSnapshot snapshot;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(m_root)) {
    std::string relative = fs::relative(entry.path(), m_root).string();
    snapshot.files[relative] = entry.is_directory() ? std::string("<folder>") : ReadAll(entry.path().string());
  }
  // An export would make a registry where there is none, and cannot read a broken one.
  if (!fs::exists(Host("registry.db"))) return snapshot;
  // In this process, as `uninst-machine reg export` writes it, to keep the tests fast.
  CHostMachine machine(m_root);
  std::string text;
  Status exported = ExportRegistry(machine, "", &text);
  snapshot.registry = exported.IsOk() ? text : "cannot export: " + exported.ToString();
  return snapshot;
}

std::string CDemoMachine::Read(const std::string& relative) const { return ReadAll(Host(relative)); }

void CDemoMachine::WithoutRootLevelKeys() const {
  ProgramRun written = Tool("ini write-section %m 'C:\\Capture\\uninst.ini' 'Player Reg' "
                            "'HKEY_CURRENT_USER#Software\\Kalvora\\Player##=1'");
  ASSERT_EQ(written.status, 0) << written.err;
}

void CDemoMachine::WithoutDeviceEntries() const {
  CTempDir dir;
  const std::string reg = dir.Path() + "/gone.reg";
  std::ofstream(reg) << "REGEDIT4\r\n\r\n"
                        "[-HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\control\\MediaResources\\msvideo\\TK7CAP.DRV]\r\n";
  ProgramRun imported = Tool("reg import %m " + Quoted(reg));
  ASSERT_EQ(imported.status, 0) << imported.err;
}

std::vector<std::string> LogLines(const std::string& text) {
  static const std::regex stamp(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d (.*)$)");
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    EXPECT_TRUE(std::regex_match(line, match, stamp)) << "no time stamp: " << line;
    lines.push_back(match.size() > 1 ? match[1].str() : line);
  }
  return lines;
}
