// The hostile machine's layout.
#include "tests/hostile/HostileMachine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/MachineSetup.h"

namespace fs = std::filesystem;

namespace {

void WriteHost(const std::string& path, std::string_view bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

constexpr std::string_view kSecretIni = "[x]\r\ny=1\r\nz=2\r\n";
// An INF file that the script's DeleteInfFile section would take, were it ever read.
constexpr std::string_view kCanaryInf = "[Canary]\r\nId=canary board\r\n";

}  // namespace

CHostileMachine::CHostileMachine(bool hardware) {
  if (Status made = InitMachine(m_machine.Root()); !made) throw std::runtime_error(made.ToString());
  MakeCanaries();
  MakeMachineFiles(hardware);
  MakeLinks();
}

std::string CHostileMachine::Expand(std::string_view text) const {
  std::string windows = Outside();
  for (char& c : windows)
    if (c == '/') c = '\\';
  return ReplaceAll(ReplaceAll(std::string(text), "{OUTW}", windows), "{OUT}", Outside());
}

void CHostileMachine::WriteScript(std::string_view text) const {
  m_machine.Write("drive_c/Capture/uninst.ini", Expand(text));
}

void CHostileMachine::WriteWininit(std::string_view text) const {
  m_machine.Write("drive_c/WINDOWS/wininit.ini", Expand(text));
}

// The canaries, and the same names inside the machine where the folded forms of the host paths
// land ("C:\..\..\tmp\x" is C:\tmp\x): those may go, the canaries never.
void CHostileMachine::MakeCanaries() const {
  const std::string& out = Outside();
  WriteHost(out + "/canary.txt", "canary");
  WriteHost(out + "/secret.ini", kSecretIni);
  WriteHost(out + "/readonly.txt", "read-only canary");
  ::chmod((out + "/readonly.txt").c_str(), 0444);
  WriteHost(out + "/dir/a.dll", "a");
  WriteHost(out + "/dir/sub/deep.txt", "deep");
  WriteHost(out + "/inf/oem1.inf", kCanaryInf);
  WriteHost(out + "/group/canary.lnk", "shortcut");
  WriteHost(out + "/group/other.lnk", "shortcut");
  WriteHost(out + "/state.ini", "[Packages]\r\nHostile=1\r\n");
  WriteHost(out + "/script.ini",
            "[Hostile]\r\nDeleteFiles=HostileFiles\r\n[HostileFiles]\r\nC:\\Capture\\app.exe=\r\n");
  WriteHost(out + "/wininit.ini", "[Rename]\r\nNUL=C:\\Capture\\app.exe\r\n");
  fs::create_directories(out + "/emptydir");
  // The files of an uninstaller in the canary folder, and the same inside the machine, for
  // command lines that name it.
  const std::string program = "[Hostile]\r\nDeleteFiles=HostileFiles\r\n[HostileFiles]\r\nC:\\Capture\\app.exe=\r\n";
  WriteHost(out + "/program/uninst.ini", program);
  WriteHost(out + "/program/uninstin.ini", "[Packages]\r\nHostile=1\r\n");
  const std::string mirror = "drive_c" + out;
  m_machine.Write(mirror + "/canary.txt", "mirror");
  m_machine.Write(mirror + "/secret.ini", kSecretIni);
  m_machine.Write(mirror + "/dir/a.dll", "mirror");
  m_machine.Write(mirror + "/group/mirror.lnk", "mirror");
  m_machine.Write(mirror + "/program/uninst.ini", program);
  m_machine.Write(mirror + "/program/uninstin.ini", "[Packages]\r\nHostile=1\r\n");
}

void CHostileMachine::MakeMachineFiles(bool hardware) const {
  std::string state = "[Packages]\r\nHostile=1\r\n";
  if (hardware) state += "[Hardware]\r\nHardware Package=Hostile\r\n";
  m_machine.Write("drive_c/Capture/uninstin.ini", state);
  m_machine.Write("drive_c/Capture/app.exe", "app");
  m_machine.Write("drive_c/Capture/moveme.txt", "move me");
  m_machine.Write("drive_c/Capture/Links/legit.dll", "legit");
  m_machine.Write("drive_c/WINDOWS/SYSTEM/inner.dll", "inner");
  m_machine.Write("drive_c/WINDOWS/INF/oem2.inf", kCanaryInf);
  m_machine.Write("drive_c/WINDOWS/Start Menu/Programs/Kalvora/board.lnk", "shortcut");
  m_machine.Write("drive_c/Linked/uninst.exe", "MZ");
}

void CHostileMachine::Link(const std::string& target, std::string_view relative) const {
  const std::string link = m_machine.Host(relative);
  fs::create_directories(fs::path(link).parent_path());
  if (::symlink(target.c_str(), link.c_str()) != 0) throw std::runtime_error("cannot link " + link);
}

void CHostileMachine::MakeLinks() const {
  const std::string& out = Outside();
  Link("/", "drive_e");
  Link(out, "drive_f");
  Link(out, "drive_c/Capture/Links/Outside");
  Link("/", "drive_c/Capture/Links/HostRoot");
  std::string climb;
  for (int i = 0; i < 40; ++i) climb += "../";
  Link(climb, "drive_c/Capture/Links/Climb");
  Link(out + "/canary.txt", "drive_c/Capture/Links/canary.txt");
  Link(out + "/secret.ini", "drive_c/Capture/Links/secret.ini");
  Link(out + "/created.ini", "drive_c/Capture/Links/dangling.ini");
  Link("Loop", "drive_c/Capture/Links/Loop");
  Link("../../WINDOWS/SYSTEM", "drive_c/Capture/Links/Inner");
  Link("../../../registry.db", "drive_c/Capture/Links/regdb");
  Link(out + "/inf", "drive_c/WINDOWS/INF/others");
  Link(out + "/inf/oem1.inf", "drive_c/WINDOWS/INF/oem7.inf");
  Link(out + "/group", "drive_c/WINDOWS/Start Menu/Programs/Hostile");
  Link(out + "/group/canary.lnk", "drive_c/WINDOWS/Start Menu/Programs/Kalvora/host.lnk");
  // A program whose own files are links out of the machine.
  Link(out + "/state.ini", "drive_c/Linked/uninstin.ini");
  Link(out + "/script.ini", "drive_c/Linked/uninst.ini");
}

std::vector<std::string> CHostileMachine::LinksInside() const {
  std::vector<std::string> links;
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(m_machine.Root(), error); it != fs::recursive_directory_iterator();
       it.increment(error)) {
    if (it->is_symlink(error)) links.push_back(it->path().string());
  }
  return links;
}
