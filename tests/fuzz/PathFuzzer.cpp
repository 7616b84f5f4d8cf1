// The path resolver on any Windows path: what it resolves lies inside the machine (links that
// leave it are never followed), what it refuses it refuses with one of the machine's path
// errors, and the Windows path it reports resolves to the same host path again.
//
// Input: one byte that picks the current directory, then the path.
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/PathResolver.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/TestMachine.h"

namespace {

namespace fs = std::filesystem;

std::string RealPath(const std::string& path) {
  std::array<char, PATH_MAX> buffer{};
  return ::realpath(path.c_str(), buffer.data()) ? std::string(buffer.data()) : std::string();
}

bool IsInside(const std::string& path, const std::string& dir) {
  return path == dir || (path.size() > dir.size() && path.starts_with(dir) && path[dir.size()] == '/');
}

bool LinkExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// A small machine with links of every kind: inside a drive, to another drive, to the machine's
// own folder (outside every drive), out of the machine to a folder and a file, to the host's
// root, dangling and looping; drive folders that are links too.
class CFuzzMachine {
 public:
  CFuzzMachine() {
    const std::string root = m_machine.Root();
    m_machine.Write("drive_c/WINDOWS/win.ini", "[windows]\r\n");
    m_machine.Write("drive_c/WINDOWS/SYSTEM/tk7cap.drv", "driver");
    m_machine.Write("drive_c/WINDOWS/Start Menu/Programs/Capture Board/Capture Player.lnk", "");
    m_machine.Write("drive_c/WINDOWS/Start Menu/Programs/Capture Board/Capture Board.lnk", "");
    m_machine.Write("drive_c/Program Files/Capture/uninst.exe", "");
    m_machine.Write("drive_c/Case/File.txt", "");
    m_machine.Write("drive_c/Case/FILE.TXT", "");
    m_machine.Write("drive_d/SETUP/setup.exe", "");
    m_machine.Write("registry.db", "");
    fs::create_directories(m_outside.Path() + "/dir");
    std::ofstream(m_outside.Path() + "/canary.txt") << "canary";
    Link("WINDOWS", "drive_c/inside-link");
    Link(root + "/drive_c/Program Files", "drive_c/absolute-inside");
    Link("../drive_d/SETUP", "drive_c/to-drive-d");
    Link("..", "drive_c/machine-folder");
    Link("/", "drive_c/host-root");
    Link(m_outside.Path() + "/dir", "drive_c/outside-dir");
    Link(m_outside.Path() + "/canary.txt", "drive_c/WINDOWS/outside.ini");
    Link("missing", "drive_c/dangling");
    Link("loop", "drive_c/loop");
    Link("/", "drive_e");
    Link(m_outside.Path(), "drive_f");
    Link("drive_c", "drive_g");
    m_realRoot = RealPath(root);
  }

  const std::string& RealRoot() const { return m_realRoot; }
  const std::string& Root() const { return m_machine.Root(); }

 private:
  void Link(const std::string& target, const std::string& relative) {
    if (::symlink(target.c_str(), m_machine.Host(relative).c_str()) != 0)
      FuzzFail("cannot make the link", relative);
  }

  CTempDir m_outside;
  CTestMachine m_machine{false};
  std::string m_realRoot;
};

CFuzzMachine& Machine() {
  static CFuzzMachine machine;
  return machine;
}

constexpr std::array<std::string_view, 5> kCurrentDirectories = {"C:\\", "C:\\WINDOWS\\SYSTEM", "C:\\inside-link",
                                                                 "D:\\SETUP", "G:\\Case"};

bool IsPathError(DWORD code) {
  return code == ERROR_PATH_NOT_FOUND || code == ERROR_FILE_NOT_FOUND || code == ERROR_ACCESS_DENIED ||
         code == ERROR_BAD_NETPATH || code == ERROR_INVALID_NAME || code == ERROR_FILENAME_EXCED_RANGE;
}

void CheckInside(const ResolvedPath& resolved, std::string_view path) {
  const std::string& root = Machine().RealRoot();
  const std::string where = std::string(path) + " -> " + resolved.hostPath;
  if (resolved.isDriveRoot) {
    FUZZ_CHECK(resolved.exists && IsInside(RealPath(resolved.hostPath), root), where);
    return;
  }
  // The folder that holds the item is a real folder of the machine.
  const std::string dir = RealPath(resolved.hostDir);
  FUZZ_CHECK(!dir.empty() && dir == resolved.hostDir && IsInside(dir, root), where + " (folder " + resolved.hostDir + ")");
  FUZZ_CHECK(!resolved.name.empty() && resolved.name != "." && resolved.name != ".." &&
                 resolved.name.find('/') == std::string::npos && resolved.name.find('\0') == std::string::npos,
             where + " (name " + resolved.name + ")");
  const std::string item = resolved.hostDir + "/" + resolved.name;
  if (!resolved.exists) {
    FUZZ_CHECK(resolved.hostPath == item && !LinkExists(item), where + " (reported missing)");
    return;
  }
  FUZZ_CHECK(LinkExists(item), where + " (reported existing)");
  if (resolved.isLink && resolved.leavesMachine) {
    // The link itself, never what it points to.
    FUZZ_CHECK(resolved.hostPath == item, where + " (a link out of the machine was followed)");
    return;
  }
  const std::string real = RealPath(resolved.hostPath);
  FUZZ_CHECK(!real.empty() && IsInside(real, root), where + " (real path " + real + ")");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  PreferMemoryTempDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static CPathResolver resolver(Machine().Root());
  std::string_view current = kCurrentDirectories[data[0] % kCurrentDirectories.size()];
  FUZZ_CHECK(resolver.SetCurrentDirectory(current).IsOk(), current);
  const std::string_view path = AsText(data + 1, size - 1);

  ResolvedPath resolved;
  Status status = resolver.Resolve(path, &resolved);
  if (!status.IsOk()) {
    FUZZ_CHECK(IsPathError(status.Code()), std::string(path) + ": " + status.ToString());
    return 0;
  }
  CheckInside(resolved, path);
  if (resolved.windowsPath.size() >= MAX_PATH) return 0;  // short names spelled out made it longer
  ResolvedPath again;
  Status second = resolver.Resolve(resolved.windowsPath, &again);
  FUZZ_CHECK(second.IsOk() && again.hostPath == resolved.hostPath && again.exists == resolved.exists &&
                 again.windowsPath == resolved.windowsPath,
             std::string(path) + " gives " + resolved.windowsPath + " -> " + resolved.hostPath + ", which gives " +
                 again.windowsPath + " -> " + again.hostPath + " " + second.ToString());
  return 0;
}
