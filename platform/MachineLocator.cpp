// Host paths to Windows paths of a machine.
#include "platform/MachineLocator.h"

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool IsDriveFolder(const std::string& name) {
  return name.size() == 7 && name.starts_with("drive_") && name[6] >= 'a' && name[6] <= 'z';
}

}  // namespace

Status LocateOnMachine(const std::string& hostPath, MachineLocation* location) {
  std::error_code error;
  fs::path path = fs::absolute(hostPath, error);
  fs::path dir = fs::weakly_canonical(path.parent_path(), error);
  if (error || !fs::is_directory(dir)) return Status::Error(ERROR_PATH_NOT_FOUND, hostPath);
  std::vector<std::string> components{path.filename().string()};
  for (fs::path at = dir; at.has_relative_path(); at = at.parent_path()) {
    std::string name = at.filename().string();
    if (IsDriveFolder(name)) {
      location->root = at.parent_path().string();
      location->windowsPath = std::string(1, static_cast<char>(name[6] - 'a' + 'A')) + ":";
      for (auto it = components.rbegin(); it != components.rend(); ++it)
        if (!it->empty()) location->windowsPath += "\\" + *it;
      if (location->windowsPath.size() == 2) location->windowsPath += "\\";
      return Status::Ok();
    }
    components.push_back(name);
  }
  return Status::Error(ERROR_PATH_NOT_FOUND, hostPath + " (not inside a machine's drive folder)");
}

Status CurrentHostDirectoryOn(const std::string& root, std::string* windowsPath) {
  std::error_code error;
  MachineLocation location;
  RETURN_IF_ERROR(LocateOnMachine((fs::current_path(error) / "").string(), &location));
  if (fs::weakly_canonical(location.root, error) != fs::weakly_canonical(root, error))
    return Status::Error(ERROR_PATH_NOT_FOUND, "the current directory is on another machine");
  *windowsPath = location.windowsPath;
  return Status::Ok();
}
