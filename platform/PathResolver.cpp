// Windows path resolution inside the machine.
#include "platform/PathResolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/TextCase.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Names that Windows gives to devices, in any directory and with any extension.
bool IsDeviceName(std::string_view component) {
  std::string base = AsciiUpper(component.substr(0, component.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static constexpr std::array<std::string_view, 5> kPlain = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
  for (std::string_view device : kPlain)
    if (base == device) return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
         base[3] <= '9';
}

bool HasInvalidCharacter(std::string_view component) {
  for (unsigned char c : component)
    if (c < 0x20 || std::string_view("<>:\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
      return true;
  return false;
}

// Windows drops trailing spaces and periods of a name ("file." is "file").
std::string_view TrimTrailingDotsAndSpaces(std::string_view component) {
  while (!component.empty() && (component.back() == '.' || component.back() == ' '))
    component.remove_suffix(1);
  return component;
}

bool IsInside(const std::string& path, const std::string& dir) {
  return path == dir || (path.size() > dir.size() && path.starts_with(dir) && path[dir.size()] == '/');
}

bool IsHostDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string RealPath(const std::string& path) {
  std::array<char, PATH_MAX> buffer{};
  if (!::realpath(path.c_str(), buffer.data())) return {};
  return buffer.data();
}

}  // namespace

std::string WindowsPath::ToString() const {
  std::string text{drive, ':', '\\'};
  for (size_t i = 0; i < components.size(); ++i) {
    if (i > 0) text += '\\';
    text += components[i];
  }
  return text;
}

CPathResolver::CPathResolver(std::string machineRoot)
    : m_root(std::move(machineRoot)), m_realRoot(RealPath(m_root)) {
  if (m_realRoot.empty()) m_realRoot = m_root;
}

Status CPathResolver::Parse(std::string_view path, WindowsPath* parsed) const {
  std::string original(path);
  if (path.find('\0') != std::string_view::npos) return Status::Error(ERROR_INVALID_NAME, "(path with a NUL byte)");
  if (path.empty()) return Status::Error(ERROR_PATH_NOT_FOUND, original);
  if (path.size() >= MAX_PATH) return Status::Error(ERROR_FILENAME_EXCED_RANGE, original);
  std::string text(path);
  for (char& c : text)
    if (c == '/') c = '\\';
  if (text.starts_with("\\\\")) {
    bool device = text.size() >= 4 && (text[2] == '?' || text[2] == '.') && text[3] == '\\';
    return Status::Error(device ? ERROR_INVALID_NAME : ERROR_BAD_NETPATH, original);
  }
  WindowsPath current;
  current.drive = m_currentDirectory[0];
  std::string_view rest = text;
  if (text.size() >= 2 && IsLetter(text[0]) && text[1] == ':') {
    current.drive = AsciiUpper(text[0]);
    rest.remove_prefix(2);
  }
  bool absolute = rest.starts_with('\\');
  if (!absolute && current.drive == m_currentDirectory[0]) {
    // Relative to the current directory of that drive: only the current drive has one here.
    std::string_view dir = std::string_view(m_currentDirectory).substr(3);
    while (!dir.empty()) {
      size_t end = dir.find('\\');
      current.components.emplace_back(dir.substr(0, end));
      dir = end == std::string_view::npos ? std::string_view() : dir.substr(end + 1);
    }
  }
  while (!rest.empty()) {
    size_t end = rest.find('\\');
    std::string_view component = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      if (!current.components.empty()) current.components.pop_back();
      continue;
    }
    component = TrimTrailingDotsAndSpaces(component);
    if (component.empty()) continue;
    if (HasInvalidCharacter(component) || IsDeviceName(component))
      return Status::Error(ERROR_INVALID_NAME, original);
    current.components.emplace_back(component);
  }
  if (current.ToString().size() >= MAX_PATH) return Status::Error(ERROR_FILENAME_EXCED_RANGE, original);
  *parsed = std::move(current);
  return Status::Ok();
}

Status CPathResolver::DriveRoot(char drive, std::string* hostRoot) {
  auto known = m_driveRoots.find(drive);
  if (known != m_driveRoots.end()) {
    *hostRoot = known->second;
    return Status::Ok();
  }
  std::string folder = m_root + "/drive_" + static_cast<char>(drive - 'A' + 'a');
  std::string real = RealPath(folder);
  // A drive folder that is a link out of the machine is no drive of this machine.
  if (real.empty() || !IsInside(real, m_realRoot) || real == m_realRoot || !IsHostDirectory(real))
    return Status::Error(ERROR_PATH_NOT_FOUND, std::string{drive, ':', '\\'});
  m_driveRoots[drive] = real;
  *hostRoot = real;
  return Status::Ok();
}

bool CPathResolver::InsideDrives(const std::string& realPath) {
  for (const auto& [drive, root] : m_driveRoots)
    if (IsInside(realPath, root)) return true;
  for (char drive = 'A'; drive <= 'Z'; ++drive) {
    std::string root;
    if (!m_driveRoots.contains(drive) && DriveRoot(drive, &root).IsOk() && IsInside(realPath, root))
      return true;
  }
  return false;
}

bool CPathResolver::FollowInside(const std::string& linkPath, std::string* target) {
  std::string real = RealPath(linkPath);
  if (real.empty() || !InsideDrives(real)) return false;
  *target = std::move(real);
  return true;
}

Status CPathResolver::Resolve(std::string_view path, ResolvedPath* resolved) {
  WindowsPath parsed;
  RETURN_IF_ERROR(Parse(path, &parsed));
  std::string dir;
  RETURN_IF_ERROR(DriveRoot(parsed.drive, &dir));
  ResolvedPath result;
  result.windowsPath = std::string{parsed.drive, ':', '\\'};
  if (parsed.components.empty()) {
    result.exists = result.isDirectory = result.isDriveRoot = true;
    result.hostPath = dir;
    *resolved = std::move(result);
    return Status::Ok();
  }
  for (size_t i = 0; i < parsed.components.size(); ++i) {
    const std::string& component = parsed.components[i];
    bool last = i + 1 == parsed.components.size();
    const CDirectoryListing* listing = nullptr;
    if (!m_cache.Get(dir, &listing).IsOk()) return Status::Error(ERROR_PATH_NOT_FOUND, std::string(path));
    const CachedEntry* entry = listing->Find(component);
    if (!entry) {
      if (!last) return Status::Error(ERROR_PATH_NOT_FOUND, std::string(path));
      result.windowsPath += component;
      result.hostDir = dir;
      result.name = component;
      result.hostPath = dir + "/" + component;
      *resolved = std::move(result);
      return Status::Ok();
    }
    std::string item = dir + "/" + entry->name;
    result.windowsPath += entry->name;
    if (last) {
      result.exists = true;
      result.hostDir = dir;
      result.name = entry->name;
      result.shortName = listing->ShortNameOf(*entry);
      result.hostPath = item;
    } else {
      result.windowsPath += '\\';
    }
    if (entry->type == DT_LNK) {
      std::string target;
      bool inside = FollowInside(item, &target);
      if (last) {
        result.isLink = true;
        result.leavesMachine = !inside;
        if (inside) {
          result.hostPath = target;
          result.isDirectory = IsHostDirectory(target);
        }
      } else {
        if (!inside) return Status::Error(ERROR_ACCESS_DENIED, std::string(path));
        if (!IsHostDirectory(target)) return Status::Error(ERROR_PATH_NOT_FOUND, std::string(path));
        dir = std::move(target);
      }
    } else if (entry->type == DT_DIR) {
      if (last)
        result.isDirectory = true;
      else
        dir = std::move(item);
    } else if (!last) {
      return Status::Error(ERROR_PATH_NOT_FOUND, std::string(path));
    }
  }
  *resolved = std::move(result);
  return Status::Ok();
}

Status CPathResolver::SetCurrentDirectory(std::string_view path) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(Resolve(path, &resolved));
  if (!resolved.exists) return Status::Error(ERROR_FILE_NOT_FOUND, std::string(path));
  if (!resolved.isDirectory || resolved.leavesMachine) return Status::Error(ERROR_DIRECTORY, std::string(path));
  m_currentDirectory = resolved.windowsPath;
  return Status::Ok();
}
