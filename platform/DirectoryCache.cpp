// Cached directory listings with their short names.
#include "platform/DirectoryCache.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/DirectoryScope.h"
#include "platform/ShortNames.h"
#include "platform/TextCase.h"

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ELOOP: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EBUSY:
    case ETXTBSY: return ERROR_SHARING_VIOLATION;
    case ENOSPC:
    case EDQUOT: return 112;  // ERROR_DISK_FULL
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_WRITE_FAULT;
  }
}

namespace {

bool SortsBefore(const CachedEntry& a, const CachedEntry& b) {
  return a.upper != b.upper ? a.upper < b.upper : a.name < b.name;
}

}  // namespace

CDirectoryListing::CDirectoryListing(std::vector<CachedEntry> entries) : m_entries(std::move(entries)) {
  std::sort(m_entries.begin(), m_entries.end(), SortsBefore);
}

const std::vector<CachedEntry>& CDirectoryListing::Entries() const {
  if (m_removed > 0) Compact();
  EnsureShortNames();
  return m_entries;
}

const std::string& CDirectoryListing::ShortNameOf(const CachedEntry& entry) const {
  EnsureShortNames();
  return entry.shortName;
}

void CDirectoryListing::Compact() const {
  std::erase_if(m_entries, [](const CachedEntry& entry) { return entry.removed; });
  m_removed = 0;
}

void CDirectoryListing::EnsureShortNames() const {
  if (m_shortNamesValid) return;
  std::vector<std::string> names;
  std::vector<CachedEntry*> live;
  names.reserve(m_entries.size());
  for (CachedEntry& entry : m_entries) {
    if (entry.removed) continue;
    names.push_back(entry.name);
    live.push_back(&entry);
  }
  std::vector<std::string> shortNames = GenerateShortNames(names);
  m_byShortName.clear();
  for (size_t i = 0; i < live.size(); ++i) {
    live[i]->shortName = std::move(shortNames[i]);
    if (!live[i]->shortName.empty()) m_byShortName.emplace(live[i]->shortName, live[i]->name);
  }
  m_shortNamesValid = true;
}

const CachedEntry* CDirectoryListing::Find(std::string_view name) const {
  std::string upper = AsciiUpper(name);
  auto first = std::lower_bound(m_entries.begin(), m_entries.end(), upper,
                                [](const CachedEntry& e, const std::string& key) { return e.upper < key; });
  const CachedEntry* caseMatch = nullptr;
  for (auto it = first; it != m_entries.end() && it->upper == upper; ++it) {
    if (it->removed) continue;
    if (it->name == name) return &*it;
    if (!caseMatch) caseMatch = &*it;
  }
  if (caseMatch) return caseMatch;
  EnsureShortNames();
  auto byShort = m_byShortName.find(upper);
  if (byShort == m_byShortName.end()) return nullptr;
  const std::string& longName = byShort->second;
  CachedEntry key{longName, AsciiUpper(longName), {}, 0, false};
  auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key, SortsBefore);
  return it != m_entries.end() && it->name == longName && !it->removed ? &*it : nullptr;
}

bool CDirectoryListing::ShortNameTaken(const std::string& shortName) const {
  if (m_byShortName.contains(shortName)) return true;
  // A long name that is itself a short name holds that name.
  auto it = std::lower_bound(m_entries.begin(), m_entries.end(), shortName,
                             [](const CachedEntry& e, const std::string& key) { return e.upper < key; });
  for (; it != m_entries.end() && it->upper == shortName; ++it)
    if (it->name == shortName && !it->removed) return true;
  return false;
}

void CDirectoryListing::Add(CachedEntry entry) {
  auto at = std::lower_bound(m_entries.begin(), m_entries.end(), entry, SortsBefore);
  bool revived = at != m_entries.end() && at->name == entry.name;
  if (revived && !at->removed) return;
  if (m_shortNamesValid) {
    entry.shortName = ShortNameFor(entry.name, [this](const std::string& name) { return ShortNameTaken(name); });
    if (!entry.shortName.empty()) m_byShortName.emplace(entry.shortName, entry.name);
  }
  if (revived) {
    *at = std::move(entry);
    --m_removed;
  } else {
    m_entries.insert(at, std::move(entry));
  }
}

void CDirectoryListing::KeepShortNamesOf(const CDirectoryListing& earlier) {
  if (!earlier.m_shortNamesValid) return;
  m_byShortName.clear();
  std::vector<CachedEntry*> added;
  for (CachedEntry& entry : m_entries) {
    auto it = std::lower_bound(earlier.m_entries.begin(), earlier.m_entries.end(), entry, SortsBefore);
    bool known = it != earlier.m_entries.end() && it->name == entry.name && !it->removed;
    // A kept short name that a new long name now spells is that entry's name, not a short one.
    if (known && (it->shortName.empty() || !ShortNameTaken(it->shortName))) {
      entry.shortName = it->shortName;
      if (!entry.shortName.empty()) m_byShortName.emplace(entry.shortName, entry.name);
    } else {
      added.push_back(&entry);
    }
  }
  m_shortNamesValid = true;
  for (CachedEntry* entry : added) {
    entry->shortName = ShortNameFor(entry->name, [this](const std::string& name) { return ShortNameTaken(name); });
    if (!entry->shortName.empty()) m_byShortName.emplace(entry->shortName, entry->name);
  }
}

void CDirectoryListing::Remove(std::string_view name) {
  CachedEntry key{std::string(name), AsciiUpper(name), {}, 0, false};
  auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key, SortsBefore);
  if (it == m_entries.end() || it->name != name || it->removed) return;
  if (!it->shortName.empty()) m_byShortName.erase(it->shortName);
  it->shortName.clear();
  it->removed = true;
  ++m_removed;
}

Status CDirectoryCache::StampOf(const std::string& dir, DirStamp* stamp) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return Status::Error(ErrorFromErrno(errno));
  if (!S_ISDIR(st.st_mode)) return Status::Error(ERROR_DIRECTORY);
  stamp->inode = st.st_ino;
  stamp->mtimeNs = st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
  stamp->ctimeNs = st.st_ctim.tv_sec * 1'000'000'000LL + st.st_ctim.tv_nsec;
  return Status::Ok();
}

Status CDirectoryCache::Read(const std::string& dir, CDirectoryListing* listing) {
  std::unique_ptr<DIR, int (*)(DIR*)> handle(::opendir(dir.c_str()), ::closedir);
  if (!handle) return Status::Error(ErrorFromErrno(errno));
  ++m_listings;
  std::vector<CachedEntry> entries;
  while (const dirent* d = ::readdir(handle.get())) {
    std::string_view name = d->d_name;
    if (name == "." || name == "..") continue;
    unsigned char type = d->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st {};
      if (::fstatat(::dirfd(handle.get()), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
    }
    entries.push_back({std::string(name), AsciiUpper(name), {}, type, false});
  }
  *listing = CDirectoryListing(std::move(entries));
  return Status::Ok();
}

Status CDirectoryCache::Get(const std::string& dir, const CDirectoryListing** listing) {
  std::uint64_t scope = CDirectoryScope::Current();
  auto it = m_dirs.find(dir);
  if (scope != 0 && it != m_dirs.end() && it->second.checkedInScope == scope) {
    *listing = &it->second.listing;
    return Status::Ok();
  }
  DirStamp stamp;
  RETURN_IF_ERROR(StampOf(dir, &stamp));
  if (it == m_dirs.end() || !(it->second.stamp == stamp)) {
    Cached fresh;
    RETURN_IF_ERROR(Read(dir, &fresh.listing));
    if (it != m_dirs.end()) fresh.listing.KeepShortNamesOf(it->second.listing);
    // Stamped before the read began: a change during the read shows as a stale stamp later.
    fresh.stamp = stamp;
    it = m_dirs.insert_or_assign(dir, std::move(fresh)).first;
  }
  it->second.checkedInScope = scope;
  *listing = &it->second.listing;
  return Status::Ok();
}

void CDirectoryCache::Restamp(const std::string& dir, Cached& cached) {
  // Checked once in the scope, the directory is trusted until it ends; the next check after it
  // reads the directory again.
  if (cached.checkedInScope != 0 && cached.checkedInScope == CDirectoryScope::Current()) return;
  DirStamp stamp;
  if (StampOf(dir, &stamp).IsOk())
    cached.stamp = stamp;
  else
    m_dirs.erase(dir);
}

void CDirectoryCache::NoteCreated(const std::string& dir, const std::string& name, unsigned char type) {
  auto it = m_dirs.find(dir);
  if (it == m_dirs.end()) return;
  it->second.listing.Add({name, AsciiUpper(name), {}, type, false});
  Restamp(dir, it->second);
}

void CDirectoryCache::NoteRemoved(const std::string& dir, std::string_view name) {
  auto it = m_dirs.find(dir);
  if (it == m_dirs.end()) return;
  it->second.listing.Remove(name);
  Restamp(dir, it->second);
}

void CDirectoryCache::Forget(const std::string& dir) {
  m_dirs.erase(dir);
  m_fds.erase(dir);
}

int CDirectoryCache::DirectoryFd(const std::string& dir) {
  constexpr size_t kMaxHeldFds = 64;
  auto listed = m_dirs.find(dir);
  if (listed == m_dirs.end()) return -1;
  ino_t inode = listed->second.stamp.inode;
  auto held = m_fds.find(dir);
  if (held != m_fds.end() && held->second.inode == inode) return held->second.fd.Fd();
  // Work moves from folder to folder, so dropping every held descriptor costs little.
  if (m_fds.size() >= kMaxHeldFds) m_fds.clear();
  CHostFile fd(::open(dir.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st {};
  if (!fd.IsOpen() || ::fstat(fd.Fd(), &st) != 0 || st.st_ino != inode) return -1;
  HeldFd& slot = m_fds[dir];
  slot = {inode, std::move(fd)};
  return slot.fd.Fd();
}
