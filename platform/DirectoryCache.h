// The listings of host directories that path resolution has read, kept for the run.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/HostFile.h"
#include "platform/Status.h"

struct CachedEntry {
  std::string name;       // as the host spells it
  std::string upper;      // upper-cased, the sort key
  std::string shortName;  // generated 8.3 name; empty where the name is one already
  unsigned char type = 0; // DT_DIR, DT_REG, DT_LNK... as readdir reports it (DT_UNKNOWN resolved)
  bool removed = false;   // gone: found by no lookup, dropped when the listing is next walked
};

class CDirectoryListing {
 public:
  CDirectoryListing() = default;
  explicit CDirectoryListing(std::vector<CachedEntry> entries);

  // Sorted by upper-cased name, then by name, each with its short name; no removed entries.
  const std::vector<CachedEntry>& Entries() const;
  // The short name of an entry that Find returned.
  const std::string& ShortNameOf(const CachedEntry& entry) const;
  // The entry that `name` names: the exact spelling first, else the first in sorted order that
  // differs only in case, else the entry whose short name it is. Null when there is none.
  const CachedEntry* Find(std::string_view name) const;

  void Add(CachedEntry entry);
  void Remove(std::string_view name);
  // This listing is a new reading of the directory `earlier` was read from: entries still there
  // keep the short names they had, and new ones take free names, as on FAT.
  void KeepShortNamesOf(const CDirectoryListing& earlier);

 private:
  // Short names are given to a whole listing when first asked for; after that, as on FAT,
  // an entry keeps its short name while others come and go, and a new entry gets one that
  // is free. A search result's short name therefore still names its file later in the run.
  void EnsureShortNames() const;
  bool ShortNameTaken(const std::string& shortName) const;
  // Drops the removed entries. A removal only marks its entry, so that a pass removing every
  // file of a large folder one by one does not move the rest of the listing each time.
  void Compact() const;

  mutable std::vector<CachedEntry> m_entries;
  mutable std::unordered_map<std::string, std::string> m_byShortName;  // short name -> long name
  mutable bool m_shortNamesValid = false;
  mutable size_t m_removed = 0;  // entries marked removed, not yet dropped
};

class CDirectoryCache {
 public:
  // The listing of the host directory `dir` (a real path without symbolic links). The directory
  // is read again only when it changed since it was last read (its inode, change and
  // modification times), so repeated lookups in it cost one listing. Inside a CDirectoryScope
  // a directory is checked against the host once.
  Status Get(const std::string& dir, const CDirectoryListing** listing);

  // This process made or removed `name` in `dir`: the cached listing follows without reading the
  // directory again. Inside a CDirectoryScope the directory is not even checked again; after the
  // scope it is read once more, its entries keeping their short names.
  void NoteCreated(const std::string& dir, const std::string& name, unsigned char type);
  void NoteRemoved(const std::string& dir, std::string_view name);
  // Drops what is known of `dir` (a directory that was removed).
  void Forget(const std::string& dir);

  // A descriptor (O_PATH) of the directory `dir` whose listing is cached, for calls relative to
  // it: they look up one name instead of walking the whole host path again. -1 when there is
  // no listing or the directory at that path is no longer the one listed.
  int DirectoryFd(const std::string& dir);

  // How many times a directory was read from the host, for tests and benchmarks.
  std::uint64_t ListingCount() const { return m_listings; }

 private:
  struct DirStamp {
    ino_t inode = 0;
    std::int64_t mtimeNs = 0;
    std::int64_t ctimeNs = 0;
    bool operator==(const DirStamp&) const = default;
  };
  struct Cached {
    DirStamp stamp;
    CDirectoryListing listing;
    std::uint64_t checkedInScope = 0;  // the CDirectoryScope in which the stamp was last checked
  };
  struct HeldFd {
    ino_t inode = 0;  // of the directory when it was opened
    CHostFile fd;
  };
  static Status StampOf(const std::string& dir, DirStamp* stamp);
  Status Read(const std::string& dir, CDirectoryListing* listing);
  void Restamp(const std::string& dir, Cached& cached);

  std::unordered_map<std::string, Cached> m_dirs;
  std::uint64_t m_listings = 0;
  std::unordered_map<std::string, HeldFd> m_fds;  // a few, far below the process's limit
};

// The Windows error for a failed host call's errno.
DWORD ErrorFromErrno(int error);
