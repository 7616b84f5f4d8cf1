// Calls on a resolved path's host item.
#include "platform/HostItem.h"

#include <fcntl.h>
#include <unistd.h>

CHostItem::CHostItem(CDirectoryCache& cache, const ResolvedPath& resolved)
    : m_dirFd(resolved.isDriveRoot ? -1 : cache.DirectoryFd(resolved.hostDir)),
      m_path(resolved),
      m_entryPath(resolved.hostDir + "/" + resolved.name) {}

int CHostItem::StatEntry(struct stat* st) const {
  return m_dirFd >= 0 ? ::fstatat(m_dirFd, m_path.name.c_str(), st, AT_SYMLINK_NOFOLLOW)
                      : ::lstat(m_entryPath.c_str(), st);
}

int CHostItem::StatTarget(struct stat* st) const {
  // A followed link's target lies in another folder; only the entry's own folder is held.
  if (m_dirFd >= 0 && !m_path.isLink) return ::fstatat(m_dirFd, m_path.name.c_str(), st, 0);
  return ::stat(m_path.hostPath.c_str(), st);
}

int CHostItem::OpenTarget(int flags) const {
  if (m_dirFd >= 0 && !m_path.isLink) return ::openat(m_dirFd, m_path.name.c_str(), flags | O_NOFOLLOW);
  return ::open(m_path.hostPath.c_str(), flags | O_NOFOLLOW);
}

int CHostItem::RemoveEntry(int flags) const {
  return m_dirFd >= 0 ? ::unlinkat(m_dirFd, m_path.name.c_str(), flags)
                      : ::unlinkat(AT_FDCWD, m_entryPath.c_str(), flags);
}
