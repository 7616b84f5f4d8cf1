// CHostItem: the host file or folder that a resolved path names, reached through its folder's
// descriptor where the directory cache holds one: a call then looks up one name instead of
// walking the whole host path again, and no component on the way can be swapped meanwhile.
#pragma once

#include <sys/stat.h>

#include <string>

#include "platform/DirectoryCache.h"
#include "platform/PathResolver.h"

class CHostItem {
 public:
  CHostItem(CDirectoryCache& cache, const ResolvedPath& resolved);

  // The entry itself, a symbolic link not followed (lstat).
  int StatEntry(struct stat* st) const;
  // What the path names: a link that stays in the machine followed (stat).
  int StatTarget(struct stat* st) const;
  // Opens what the path names; a link is never followed by the open itself (O_NOFOLLOW).
  int OpenTarget(int flags) const;
  // Removes the entry itself (unlink, or rmdir with AT_REMOVEDIR).
  int RemoveEntry(int flags) const;

 private:
  int m_dirFd;                 // -1: the calls use the host paths
  const ResolvedPath& m_path;
  std::string m_entryPath;     // host path of the entry itself
};
