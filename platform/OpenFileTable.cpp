// The scan of /proc for files that other processes hold open.
#include "platform/OpenFileTable.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <charconv>
#include <memory>
#include <string>
#include <string_view>

#include "platform/HostFile.h"

namespace {

bool IsPid(const char* name) {
  if (!*name) return false;
  for (const char* c = name; *c; ++c)
    if (*c < '0' || *c > '9') return false;
  return true;
}

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirStream = std::unique_ptr<DIR, DirCloser>;

// The directory `path` below the directory `dirFd` as a stream that owns its descriptor.
DirStream OpenDirAt(int dirFd, const std::string& path) {
  int fd = ::openat(dirFd, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  DIR* dir = ::fdopendir(fd);
  if (!dir) ::close(fd);
  return DirStream(dir);
}

// "7f01c000-7f01d000 r-xp 00000000 fd:01 1234  /usr/bin/x": the device and inode of one line,
// or nothing for an anonymous mapping (inode 0).
bool ParseMapsLine(std::string_view line, HostFileId* file) {
  size_t field = 0, pos = 0;
  std::string_view dev, inode;
  while (pos < line.size() && field < 5) {
    size_t start = line.find_first_not_of(' ', pos);
    if (start == std::string_view::npos) return false;
    size_t end = line.find(' ', start);
    if (end == std::string_view::npos) end = line.size();
    if (field == 3) dev = line.substr(start, end - start);
    if (field == 4) inode = line.substr(start, end - start);
    ++field;
    pos = end;
  }
  size_t colon = dev.find(':');
  unsigned major = 0, minor = 0;
  std::uint64_t ino = 0;
  if (colon == std::string_view::npos ||
      std::from_chars(dev.data(), dev.data() + colon, major, 16).ec != std::errc() ||
      std::from_chars(dev.data() + colon + 1, dev.data() + dev.size(), minor, 16).ec != std::errc() ||
      std::from_chars(inode.data(), inode.data() + inode.size(), ino).ec != std::errc() || ino == 0)
    return false;
  *file = {static_cast<std::uint64_t>(makedev(major, minor)), ino};
  return true;
}

}  // namespace

COpenFileTable COpenFileTable::Scan() {
  COpenFileTable table;
  DirStream proc = OpenDirAt(AT_FDCWD, "/proc");
  if (!proc) return table;
  std::string self = std::to_string(::getpid());
  while (dirent* entry = ::readdir(proc.get())) {
    if (IsPid(entry->d_name) && self != entry->d_name) table.ScanProcess(::dirfd(proc.get()), entry->d_name);
  }
  return table;
}

void COpenFileTable::ScanProcess(int procFd, const char* pid) {
  ScanDescriptors(procFd, pid);
  ScanMaps(procFd, pid);
}

void COpenFileTable::ScanDescriptors(int procFd, const char* pid) {
  DirStream dir = OpenDirAt(procFd, std::string(pid) + "/fd");
  if (!dir) return;
  int fd = ::dirfd(dir.get());
  while (dirent* entry = ::readdir(dir.get())) {
    if (entry->d_name[0] == '.') continue;
    // Each entry is a link to the open file; stat follows it to the file itself.
    struct stat st {};
    if (::fstatat(fd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
      m_files.insert({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)});
  }
}

void COpenFileTable::ScanMaps(int procFd, const char* pid) {
  CHostFile maps(::openat(procFd, (std::string(pid) + "/maps").c_str(), O_RDONLY | O_CLOEXEC));
  std::string text;
  if (!maps.IsOpen() || !maps.ReadAll(&text)) return;
  std::string_view rest = text;
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    HostFileId file;
    if (ParseMapsLine(line, &file)) m_files.insert(file);
  }
}
