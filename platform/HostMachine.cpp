// The host machine's paths and files.
#include "platform/HostMachine.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/HostFile.h"
#include "platform/HostItem.h"

namespace {

Status Fail(const std::string& path) { return Status::Error(ErrorFromErrno(errno), path); }

bool IsReadOnly(const struct stat& st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

FileStamp StampOf(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::uint64_t>(st.st_size), st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec};
}

}  // namespace

CHostMachine::CHostMachine(std::string root) : m_root(std::move(root)), m_paths(m_root) {}

CHostMachine::~CHostMachine() = default;

Status CHostMachine::Open(const std::string& root, std::unique_ptr<CHostMachine>* machine) {
  struct stat st {};
  bool isMachine = ::stat(root.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  if (isMachine) {
    isMachine = ::access((root + "/registry.db").c_str(), F_OK) == 0;
    for (char drive = 'a'; drive <= 'z' && !isMachine; ++drive)
      isMachine = ::stat((root + "/drive_" + drive).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  if (!isMachine) return Status::Error(ERROR_PATH_NOT_FOUND, root + " (not a machine: no drive folder)");
  *machine = std::make_unique<CHostMachine>(root);
  return Status::Ok();
}

Status CHostMachine::FullPath(std::string_view path, std::string* full) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  *full = resolved.windowsPath;
  return Status::Ok();
}

Status CHostMachine::SetCurrentDirectory(std::string_view path) { return m_paths.SetCurrentDirectory(path); }

std::string CHostMachine::CurrentDirectory() { return m_paths.CurrentDirectory(); }

Status CHostMachine::HostPath(std::string_view path, std::string* host) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  *host = resolved.hostPath;
  return Status::Ok();
}

Status CHostMachine::GetFileInfo(std::string_view path, FileInfo* info) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (!resolved.exists) return Status::Error(ERROR_FILE_NOT_FOUND, resolved.windowsPath);
  if (resolved.leavesMachine) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  struct stat st {};
  if (CHostItem(m_paths.Cache(), resolved).StatTarget(&st) != 0) return Fail(resolved.windowsPath);
  info->name = resolved.name;
  info->shortName = resolved.shortName;
  info->isDirectory = S_ISDIR(st.st_mode);
  info->isReadOnly = IsReadOnly(st);
  info->size = static_cast<std::uint64_t>(st.st_size);
  info->stamp = StampOf(st);
  return Status::Ok();
}

Status CHostMachine::ReadFile(std::string_view path, std::string* bytes, FileStamp* stamp) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (!resolved.exists) return Status::Error(ERROR_FILE_NOT_FOUND, resolved.windowsPath);
  if (resolved.leavesMachine || resolved.isDirectory) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  // Non-blocking, and only a regular file is read: a FIFO planted in the machine would hang the
  // run, a device would never end.
  CHostFile file(CHostItem(m_paths.Cache(), resolved).OpenTarget(O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!file.IsOpen()) return Fail(resolved.windowsPath);
  struct stat st {};
  if (::fstat(file.Fd(), &st) != 0) return Fail(resolved.windowsPath);
  if (!S_ISREG(st.st_mode)) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  if (!file.ReadAll(bytes)) return Fail(resolved.windowsPath);
  if (stamp) *stamp = StampOf(st);
  return Status::Ok();
}

Status CHostMachine::WriteFileAtomic(std::string_view path, std::string_view bytes) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (resolved.leavesMachine || resolved.isDirectory || resolved.isDriveRoot)
    return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  mode_t mode = 0644;
  if (resolved.exists) {
    struct stat st {};
    if (::stat(resolved.hostPath.c_str(), &st) != 0) return Fail(resolved.windowsPath);
    if (IsReadOnly(st)) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
    mode = st.st_mode & 07777;
  }
  RETURN_IF_ERROR(ReplaceHostFile(resolved.hostPath, bytes, mode).WithPath(resolved.windowsPath));
  std::string dir = resolved.hostPath.substr(0, resolved.hostPath.rfind('/'));
  if (resolved.exists)
    m_paths.Cache().NoteCreated(dir, resolved.hostPath.substr(dir.size() + 1), DT_REG);  // restamps only
  else
    m_paths.Cache().NoteCreated(resolved.hostDir, resolved.name, DT_REG);
  return Status::Ok();
}

Status CHostMachine::LockFileForUpdate(std::string_view path, FileLock* lock) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (resolved.leavesMachine || resolved.isDriveRoot) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  // The lock is taken on the directory: the file itself is replaced by a rename on every
  // write, so a lock on it would guard an inode that the next writer no longer sees.
  std::string dir = resolved.hostPath.substr(0, resolved.hostPath.rfind('/'));
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Fail(resolved.windowsPath);
  FileLock held(fd);
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return Fail(resolved.windowsPath);
  }
  *lock = std::move(held);
  return Status::Ok();
}

Status CHostMachine::CreateDirectory(std::string_view path) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (resolved.exists) return Status::Error(ERROR_ALREADY_EXISTS, resolved.windowsPath);
  if (::mkdir(resolved.hostPath.c_str(), 0755) != 0) return Fail(resolved.windowsPath);
  m_paths.Cache().NoteCreated(resolved.hostDir, resolved.name, DT_DIR);
  return Status::Ok();
}

Status CHostMachine::ListDirectory(std::string_view path, std::vector<DirEntry>* entries) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (!resolved.exists) return Status::Error(ERROR_PATH_NOT_FOUND, resolved.windowsPath);
  if (resolved.leavesMachine) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  if (!resolved.isDirectory) return Status::Error(ERROR_DIRECTORY, resolved.windowsPath);
  const CDirectoryListing* listing = nullptr;
  RETURN_IF_ERROR(m_paths.Cache().Get(resolved.hostPath, &listing).WithPath(resolved.windowsPath));
  entries->clear();
  entries->reserve(listing->Entries().size());
  std::string prefix = resolved.windowsPath;
  if (!prefix.ends_with('\\')) prefix += '\\';
  int dirFd = m_paths.Cache().DirectoryFd(resolved.hostPath);
  for (const CachedEntry& cached : listing->Entries()) {
    DirEntry entry{cached.name, cached.shortName, cached.type == DT_DIR, 0, FILE_ATTRIBUTE_ARCHIVE};
    struct stat st {};
    auto statEntry = [&] {
      return dirFd >= 0 ? ::fstatat(dirFd, cached.name.c_str(), &st, AT_SYMLINK_NOFOLLOW)
                        : ::lstat((resolved.hostPath + "/" + cached.name).c_str(), &st);
    };
    bool known = cached.type != DT_LNK ? statEntry() == 0 : [&] {
      // A link is reported as what it points to while that stays in the machine, and as an
      // empty file otherwise: a search never looks outside.
      ResolvedPath link;
      return m_paths.Resolve(prefix + cached.name, &link).IsOk() && !link.leavesMachine &&
             ::stat(link.hostPath.c_str(), &st) == 0;
    }();
    if (known) {
      entry.isDirectory = S_ISDIR(st.st_mode);
      entry.size = entry.isDirectory ? 0 : static_cast<std::uint64_t>(st.st_size);
      entry.attributes = entry.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
      if (IsReadOnly(st)) entry.attributes |= FILE_ATTRIBUTE_READONLY;
    }
    entries->push_back(std::move(entry));
  }
  return Status::Ok();
}

Status CHostMachine::DeleteFile(std::string_view path) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (!resolved.exists) return Status::Error(ERROR_FILE_NOT_FOUND, resolved.windowsPath);
  CHostItem item(m_paths.Cache(), resolved);
  if (!resolved.isLink) {
    struct stat st {};
    if (item.StatEntry(&st) != 0) return Fail(resolved.windowsPath);
    if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  } else if (resolved.isDirectory) {
    return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  }
  // Unlinking the name removes a link itself, never what it points to.
  if (item.RemoveEntry(0) != 0) return Fail(resolved.windowsPath);
  m_paths.Cache().NoteRemoved(resolved.hostDir, resolved.name);
  return Status::Ok();
}

Status CHostMachine::RemoveDirectory(std::string_view path) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (!resolved.exists) return Status::Error(ERROR_FILE_NOT_FOUND, resolved.windowsPath);
  if (resolved.isDriveRoot) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  if (!resolved.isDirectory) return Status::Error(ERROR_DIRECTORY, resolved.windowsPath);
  if (CHostItem(m_paths.Cache(), resolved).RemoveEntry(resolved.isLink ? 0 : AT_REMOVEDIR) != 0)
    return Fail(resolved.windowsPath);
  m_paths.Cache().NoteRemoved(resolved.hostDir, resolved.name);
  if (!resolved.isLink) m_paths.Cache().Forget(resolved.hostDir + "/" + resolved.name);
  return Status::Ok();
}

Status CHostMachine::MoveFile(std::string_view from, std::string_view to) {
  ResolvedPath source;
  ResolvedPath target;
  RETURN_IF_ERROR(m_paths.Resolve(from, &source));
  RETURN_IF_ERROR(m_paths.Resolve(to, &target));
  if (!source.exists) return Status::Error(ERROR_FILE_NOT_FOUND, source.windowsPath);
  if (target.exists) return Status::Error(ERROR_ALREADY_EXISTS, target.windowsPath);
  if (source.isDriveRoot) return Status::Error(ERROR_ACCESS_DENIED, source.windowsPath);
  std::string sourceItem = source.hostDir + "/" + source.name;
  std::string targetItem = target.hostDir + "/" + target.name;
  if (::renameat2(AT_FDCWD, sourceItem.c_str(), AT_FDCWD, targetItem.c_str(), RENAME_NOREPLACE) != 0)
    return Fail(source.windowsPath);
  unsigned char type = source.isLink ? DT_LNK : source.isDirectory ? DT_DIR : DT_REG;
  m_paths.Cache().NoteRemoved(source.hostDir, source.name);
  m_paths.Cache().NoteCreated(target.hostDir, target.name, type);
  if (source.isDirectory && !source.isLink) m_paths.Cache().Forget(sourceItem);
  return Status::Ok();
}
