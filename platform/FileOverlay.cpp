// The in-memory files and folders of a run that changes nothing.
#include "platform/FileOverlay.h"

#include <algorithm>
#include <unordered_set>

#include "platform/ShortNames.h"
#include "platform/TextCase.h"

namespace {

bool IsDriveRoot(const std::string& full) { return full.size() == 3 && full[1] == ':' && full[2] == '\\'; }

// The folder that holds `full`; empty for a drive's root.
std::string FolderOf(const std::string& full) {
  if (IsDriveRoot(full)) return {};
  size_t slash = full.rfind('\\');
  if (slash == std::string::npos) return {};
  return slash == 2 ? full.substr(0, 3) : full.substr(0, slash);
}

std::string LastComponent(const std::string& full) { return full.substr(full.rfind('\\') + 1); }

// The prefix of the keys of a folder's entries.
std::string ChildPrefix(const std::string& key) { return key.ends_with('\\') ? key : key + '\\'; }

Status Error(DWORD code, const std::string& full) { return Status::Error(code, full); }

}  // namespace

Status CFileOverlay::Locate(std::string_view path, Where* where) {
  Status resolved = m_base.FullPath(path, &where->full);
  if (resolved.Code() == ERROR_PATH_NOT_FOUND) {
    // The real machine does not have the folder, but the run may have made it.
    size_t slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    Where folder;
    if (name.empty() || name == "." || name == ".." || !Locate(path.substr(0, slash), &folder).IsOk()) return resolved;
    const Entry* made = Find(folder.key);
    if (!made || made->state != State::Folder) return resolved;
    where->full = folder.full + '\\' + std::string(name);
  } else {
    RETURN_IF_ERROR(resolved);
  }
  while (where->full.size() > 3 && where->full.ends_with('\\')) where->full.pop_back();
  where->key = AsciiUpper(where->full);
  return Status::Ok();
}

const CFileOverlay::Entry* CFileOverlay::Find(const std::string& key) const {
  auto it = m_entries.find(key);
  return it == m_entries.end() ? nullptr : &it->second;
}

FileStamp CFileOverlay::NextStamp(std::uint64_t size) {
  // Device 0 and a counter: never the stamp of a real file, and new with every write, so a
  // reader that caches by stamp reads the new text.
  ++m_version;
  return {0, m_version, size, static_cast<std::int64_t>(m_version)};
}

Status CFileOverlay::RequireFolder(const std::string& full) {
  FileInfo info;
  Status found = full.empty() ? Status::Error(ERROR_PATH_NOT_FOUND) : GetFileInfo(full, &info);
  if (found.IsOk() && info.isDirectory) return Status::Ok();
  return Error(ERROR_PATH_NOT_FOUND, full);
}

Status CFileOverlay::GetFileInfo(std::string_view path, FileInfo* info) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  const Entry* entry = Find(where.key);
  if (!entry) return m_base.GetFileInfo(path, info);
  if (entry->state == State::Gone) return Error(ERROR_FILE_NOT_FOUND, where.full);
  // A file the run rewrote keeps its real names; one it made has only its own.
  FileInfo real;
  bool wasThere = m_base.GetFileInfo(where.full, &real).IsOk();
  *info = FileInfo{};
  info->name = wasThere ? real.name : entry->name;
  info->shortName = wasThere ? real.shortName : std::string();
  info->isDirectory = entry->state == State::Folder;
  info->size = entry->state == State::File ? entry->stamp.size : 0;
  info->stamp = entry->stamp;
  return Status::Ok();
}

Status CFileOverlay::ReadFile(std::string_view path, std::string* bytes, FileStamp* stamp) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  const Entry* entry = Find(where.key);
  if (!entry) return m_base.ReadFile(path, bytes, stamp);
  if (entry->state == State::Gone) return Error(ERROR_FILE_NOT_FOUND, where.full);
  if (entry->state == State::Folder) return Error(ERROR_ACCESS_DENIED, where.full);
  if (entry->backing) {
    RETURN_IF_ERROR(m_base.ReadFile(*entry->backing, bytes, nullptr));
  } else {
    *bytes = entry->bytes;
  }
  if (stamp) *stamp = entry->stamp;
  return Status::Ok();
}

Status CFileOverlay::WriteFile(std::string_view path, std::string_view bytes) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  FileInfo info;
  Status current = GetFileInfo(where.full, &info);
  if (current.IsOk() && (info.isDirectory || info.isReadOnly)) return Error(ERROR_ACCESS_DENIED, where.full);
  if (!current.IsOk() && !current.IsNotFound()) return current;
  if (!current.IsOk()) RETURN_IF_ERROR(RequireFolder(FolderOf(where.full)));
  Entry& entry = m_entries[where.key];
  entry = Entry{State::File, LastComponent(where.full), std::string(bytes), std::nullopt, NextStamp(bytes.size())};
  return Status::Ok();
}

Status CFileOverlay::CheckFolderOf(std::string_view path) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  if (IsDriveRoot(where.full)) return Error(ERROR_ACCESS_DENIED, where.full);
  return RequireFolder(FolderOf(where.full));
}

Status CFileOverlay::CreateDirectory(std::string_view path) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  FileInfo info;
  Status current = GetFileInfo(where.full, &info);
  if (current.IsOk()) return Error(ERROR_ALREADY_EXISTS, where.full);
  if (!current.IsNotFound()) return current;
  RETURN_IF_ERROR(RequireFolder(FolderOf(where.full)));
  m_entries[where.key] = Entry{State::Folder, LastComponent(where.full), {}, std::nullopt, NextStamp(0)};
  return Status::Ok();
}

Status CFileOverlay::ListDirectory(std::string_view path, std::vector<DirEntry>* entries) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  FileInfo info;
  Status found = GetFileInfo(where.full, &info);
  if (found.IsNotFound()) return Error(ERROR_PATH_NOT_FOUND, where.full);
  RETURN_IF_ERROR(found);
  if (!info.isDirectory) return Error(ERROR_DIRECTORY, where.full);
  std::vector<DirEntry> listed;
  Status real = m_base.ListDirectory(where.full, &listed);
  // A folder the run made has no real listing.
  const Entry* own = Find(where.key);
  if (!real.IsOk() && !(own && own->state == State::Folder && real.IsNotFound())) return real;
  const std::string prefix = ChildPrefix(where.key);
  std::vector<DirEntry> result;
  std::unordered_set<std::string> names;
  for (DirEntry& entry : listed) {
    std::string key = prefix + AsciiUpper(entry.name);
    if (const Entry* changed = Find(key)) {
      if (changed->state == State::Gone) continue;
      entry.isDirectory = changed->state == State::Folder;
      entry.size = changed->state == State::File ? changed->stamp.size : 0;
      entry.attributes = entry.isDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    }
    names.insert(AsciiUpper(entry.name));
    result.push_back(std::move(entry));
  }
  // The keys of a folder's entries follow one another in the map's order.
  for (auto it = m_entries.lower_bound(prefix); it != m_entries.end() && it->first.starts_with(prefix); ++it) {
    const Entry& entry = it->second;
    std::string_view rest = std::string_view(it->first).substr(prefix.size());
    if (entry.state == State::Gone || rest.empty() || rest.find('\\') != std::string_view::npos) continue;
    if (!names.insert(std::string(rest)).second) continue;
    DirEntry added{entry.name, {}, entry.state == State::Folder, entry.state == State::File ? entry.stamp.size : 0,
                   entry.state == State::Folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE};
    added.shortName = ShortNameFor(entry.name, [&result](const std::string& shortName) {
      return std::any_of(result.begin(), result.end(), [&](const DirEntry& other) {
        return other.shortName.empty() ? AsciiUpper(other.name) == shortName : other.shortName == shortName;
      });
    });
    result.push_back(std::move(added));
  }
  std::sort(result.begin(), result.end(),
            [](const DirEntry& a, const DirEntry& b) { return AsciiUpper(a.name) < AsciiUpper(b.name); });
  *entries = std::move(result);
  return Status::Ok();
}

bool CFileOverlay::ListedAsFile(const Where& where) {
  std::vector<DirEntry> siblings;
  if (!ListDirectory(FolderOf(where.full), &siblings).IsOk()) return false;
  const std::string name = AsciiUpper(LastComponent(where.full));
  return std::any_of(siblings.begin(), siblings.end(),
                     [&](const DirEntry& entry) { return !entry.isDirectory && AsciiUpper(entry.name) == name; });
}

Status CFileOverlay::DeleteFile(std::string_view path) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  FileInfo info;
  Status current = GetFileInfo(where.full, &info);
  if (current.IsNotFound()) return current;
  // A link that leaves the machine cannot be looked at, but deleting the link itself is fine.
  bool outsideLink = current.Code() == ERROR_ACCESS_DENIED && ListedAsFile(where);
  if (!current.IsOk() && !outsideLink) return current;
  if (current.IsOk() && (info.isDirectory || info.isReadOnly)) return Error(ERROR_ACCESS_DENIED, where.full);
  m_entries[where.key] = Entry{State::Gone, LastComponent(where.full), {}, std::nullopt, {}};
  return Status::Ok();
}

Status CFileOverlay::RemoveDirectory(std::string_view path) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  FileInfo info;
  RETURN_IF_ERROR(GetFileInfo(where.full, &info));
  if (IsDriveRoot(where.full)) return Error(ERROR_ACCESS_DENIED, where.full);
  if (!info.isDirectory) return Error(ERROR_DIRECTORY, where.full);
  std::vector<DirEntry> inside;
  RETURN_IF_ERROR(ListDirectory(where.full, &inside));
  if (!inside.empty()) return Error(ERROR_DIR_NOT_EMPTY, where.full);
  m_entries[where.key] = Entry{State::Gone, LastComponent(where.full), {}, std::nullopt, {}};
  return Status::Ok();
}

void CFileOverlay::MoveEntry(const Where& from, const Where& to, const FileInfo& info) {
  if (info.isDirectory) {
    m_entries[to.key] = Entry{State::Folder, LastComponent(to.full), {}, std::nullopt, NextStamp(0)};
    std::vector<DirEntry> inside;
    if (ListDirectory(from.full, &inside).IsOk()) {
      for (const DirEntry& child : inside) {
        Where childFrom{from.full + '\\' + child.name, ChildPrefix(from.key) + AsciiUpper(child.name)};
        Where childTo{to.full + '\\' + child.name, ChildPrefix(to.key) + AsciiUpper(child.name)};
        FileInfo childInfo;
        childInfo.isDirectory = child.isDirectory;
        childInfo.size = child.size;
        MoveEntry(childFrom, childTo, childInfo);
      }
    }
  } else {
    Entry moved{State::File, LastComponent(to.full), {}, from.full, NextStamp(info.size)};
    if (const Entry* own = Find(from.key); own && own->state == State::File) {
      moved.bytes = own->bytes;
      moved.backing = own->backing;
    }
    m_entries[to.key] = std::move(moved);
  }
  m_entries[from.key] = Entry{State::Gone, LastComponent(from.full), {}, std::nullopt, {}};
}

Status CFileOverlay::MoveFile(std::string_view from, std::string_view to) {
  Where source;
  Where target;
  RETURN_IF_ERROR(Locate(from, &source));
  RETURN_IF_ERROR(Locate(to, &target));
  FileInfo info;
  RETURN_IF_ERROR(GetFileInfo(source.full, &info));
  FileInfo existing;
  Status there = GetFileInfo(target.full, &existing);
  if (there.IsOk()) return Error(ERROR_ALREADY_EXISTS, target.full);
  if (!there.IsNotFound()) return there;
  if (IsDriveRoot(source.full)) return Error(ERROR_ACCESS_DENIED, source.full);
  // A folder cannot go inside itself.
  if (target.key.starts_with(ChildPrefix(source.key))) return Error(ERROR_INVALID_PARAMETER, target.full);
  RETURN_IF_ERROR(RequireFolder(FolderOf(target.full)));
  MoveEntry(source, target, info);
  return Status::Ok();
}

Status CFileOverlay::OpenNoShare(std::string_view path) {
  Where where;
  RETURN_IF_ERROR(Locate(path, &where));
  const Entry* entry = Find(where.key);
  if (!entry) return m_base.OpenNoShare(path);
  if (entry->state == State::Gone) return Error(ERROR_FILE_NOT_FOUND, where.full);
  if (entry->state == State::Folder) return Error(ERROR_ACCESS_DENIED, where.full);
  return entry->backing ? m_base.OpenNoShare(*entry->backing) : Status::Ok();
}
