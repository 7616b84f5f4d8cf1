// A fresh machine.
#include "platform/MachineSetup.h"

#include <filesystem>
#include <system_error>

#include "platform/HostMachine.h"
#include "platform/RegistryDefaults.h"

namespace {

constexpr const char* kFolders[] = {
    "C:\\WINDOWS",
    "C:\\WINDOWS\\SYSTEM",
    "C:\\WINDOWS\\INF",
    "C:\\WINDOWS\\Start Menu",
    "C:\\WINDOWS\\Start Menu\\Programs",
    "C:\\WINDOWS\\Desktop",
    "C:\\Program Files",
};

struct DefaultFile {
  const char* path;
  const char* text;
};

constexpr DefaultFile kFiles[] = {
    {"C:\\WINDOWS\\win.ini", "[windows]\r\nload=\r\nrun=\r\n\r\n[Desktop]\r\nWallpaper=(None)\r\n"},
    {"C:\\WINDOWS\\system.ini",
     "[boot]\r\nshell=Explorer.exe\r\nsystem.drv=system.drv\r\n\r\n[drivers]\r\nwave=mmsystem.dll\r\n\r\n"
     "[386Enh]\r\n"},
};

}  // namespace

Status InitMachine(const std::string& root) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(root) / "drive_c", error);
  if (error) return Status::Error(ERROR_ACCESS_DENIED, root + ": " + error.message());
  CHostMachine machine(root);
  for (const char* folder : kFolders) {
    Status made = machine.CreateDirectory(folder);
    if (!made.IsOk() && made.Code() != ERROR_ALREADY_EXISTS) return made;
  }
  for (const DefaultFile& file : kFiles) {
    FileInfo info;
    if (machine.GetFileInfo(file.path, &info).IsOk()) continue;
    RETURN_IF_ERROR(machine.WriteFileAtomic(file.path, file.text));
  }
  return WriteDefaultRegistryKeys(machine);
}
