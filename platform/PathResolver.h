// Turns Windows paths into host paths inside the machine: drive folders, separators, `.` and
// `..`, names that ignore case and 8.3 short names, and the jail.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DirectoryCache.h"
#include "platform/Status.h"

// A Windows path taken apart without touching the host: "C:\a\..\b" is drive 'C', {"b"}.
struct WindowsPath {
  char drive = 'C';                     // upper case
  std::vector<std::string> components;  // with `.` and `..` folded
  std::string ToString() const;         // "C:\b"
};

// Where a Windows path lands on the host.
struct ResolvedPath {
  std::string windowsPath;  // absolute, each existing component spelled as on disk
  std::string hostDir;      // the real host directory that holds the last component
  std::string name;         // the last component as on disk, or as given when it is missing
  std::string shortName;    // the 8.3 name of an existing last component (see CachedEntry)
  std::string hostPath;     // the item itself; a link that stays in the machine is followed
  bool exists = false;
  bool isDirectory = false;     // of the item, after following a link that stays inside
  bool isDriveRoot = false;     // "C:\" itself: hostDir and name are empty
  bool isLink = false;          // the last component is a symbolic link
  bool leavesMachine = false;   // ...whose target is outside the machine or missing: never followed
};

class CPathResolver {
 public:
  // `machineRoot` is the host directory of the machine.
  explicit CPathResolver(std::string machineRoot);

  // Takes a Windows path apart lexically, against the current directory for relative paths.
  // Fails cleanly for UNC and device paths, NUL bytes, characters that Windows names cannot
  // hold and paths of MAX_PATH characters or more.
  Status Parse(std::string_view path, WindowsPath* parsed) const;
  // Finds the path on the host. Every component but the last must exist and be a directory
  // (ERROR_PATH_NOT_FOUND); a missing drive folder is a missing drive. A symbolic link that
  // leaves the machine is never followed.
  Status Resolve(std::string_view path, ResolvedPath* resolved);

  Status SetCurrentDirectory(std::string_view path);
  const std::string& CurrentDirectory() const { return m_currentDirectory; }

  CDirectoryCache& Cache() { return m_cache; }

 private:
  Status DriveRoot(char drive, std::string* hostRoot);
  // The real path of a link's target, when it stays inside one of the machine's drives.
  bool FollowInside(const std::string& linkPath, std::string* target);
  bool InsideDrives(const std::string& realPath);

  std::string m_root;      // as given
  std::string m_realRoot;  // without symbolic links
  std::string m_currentDirectory = "C:\\";
  std::map<char, std::string> m_driveRoots;  // real host paths of the drive folders seen
  CDirectoryCache m_cache;
};
