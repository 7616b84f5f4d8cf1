// Parsed profile copies and their write-out.
#include "platform/ProfileCache.h"

#include "platform/DirectoryScope.h"

namespace {

// A profile file is read whole and parsed into lines; one larger than this is refused instead,
// so that a huge or sparse file cannot exhaust the memory of the run.
constexpr std::uint64_t kMaxProfileBytes = std::uint64_t{256} << 20;

Status ReadCopy(IMachine& machine, const std::string& path, CIniDocument* doc, FileStamp* stamp, bool* exists) {
  FileInfo info;
  if (machine.GetFileInfo(path, &info).IsOk() && info.size > kMaxProfileBytes)
    return Status::Error(ERROR_NOT_ENOUGH_MEMORY, path + " (a profile file larger than 256 MiB)");
  std::string bytes;
  Status read = machine.ReadFile(path, &bytes, stamp);
  if (read.Code() == ERROR_FILE_NOT_FOUND) {
    *doc = CIniDocument();
    *stamp = FileStamp();
    *exists = false;
    return Status::Ok();
  }
  RETURN_IF_ERROR(read);
  *doc = CIniDocument::Parse(bytes);
  *exists = true;
  return Status::Ok();
}

}  // namespace

CProfileCache& TheProfileCache() {
  static CProfileCache cache;
  return cache;
}

Status CProfileCache::Refresh(IMachine& machine, const std::string& path, Copy& copy, bool always) {
  // Within one action only this process changes the machine; every line of the action that
  // reads the file would otherwise look at the disk again.
  std::uint64_t scope = CDirectoryScope::Current();
  if (!always && scope != 0 && copy.checkedInScope == scope) return Status::Ok();
  copy.checkedInScope = scope;
  FileInfo info;
  Status stat = machine.GetFileInfo(path, &info);
  if (stat.IsOk() && copy.exists && info.stamp == copy.stamp) return Status::Ok();
  if (!stat.IsOk() && stat.Code() == ERROR_FILE_NOT_FOUND && !copy.exists && copy.stamp == FileStamp())
    return Status::Ok();
  if (!stat.IsOk() && stat.Code() != ERROR_FILE_NOT_FOUND) return stat;
  RETURN_IF_ERROR(ReadCopy(machine, path, &copy.doc, &copy.stamp, &copy.exists));
  for (const Edit& edit : copy.pending) edit(copy.doc);
  return Status::Ok();
}

Status CProfileCache::Load(IMachine& machine, const std::string& path, const CIniDocument** doc, bool* exists) {
  auto [it, added] = m_copies.try_emplace(path);
  if (added) {
    Status read = ReadCopy(machine, path, &it->second.doc, &it->second.stamp, &it->second.exists);
    if (!read.IsOk()) {
      m_copies.erase(it);
      return read;
    }
    it->second.checkedInScope = CDirectoryScope::Current();
  } else {
    RETURN_IF_ERROR(Refresh(machine, path, it->second));
  }
  *doc = &it->second.doc;
  *exists = it->second.exists || !it->second.pending.empty();
  return Status::Ok();
}

Status CProfileCache::WriteOut(IMachine& machine, const std::string& path, Copy& copy) {
  FileLock lock;
  RETURN_IF_ERROR(machine.LockFileForUpdate(path, &lock));
  RETURN_IF_ERROR(Refresh(machine, path, copy, true));
  copy.pending.clear();
  RETURN_IF_ERROR(machine.WriteFileAtomic(path, copy.doc.Serialize()));
  FileInfo info;
  RETURN_IF_ERROR(machine.GetFileInfo(path, &info));
  copy.stamp = info.stamp;
  copy.exists = true;
  return Status::Ok();
}

Status CProfileCache::Update(IMachine& machine, const std::string& path, const Edit& edit) {
  const CIniDocument* doc = nullptr;
  bool exists = false;
  RETURN_IF_ERROR(Load(machine, path, &doc, &exists));
  Copy& copy = m_copies[path];
  if (m_batchDepth > 0) {
    if (edit(copy.doc) || !exists) copy.pending.push_back(edit);
    return Status::Ok();
  }
  FileLock lock;
  RETURN_IF_ERROR(machine.LockFileForUpdate(path, &lock));
  // Another process may have written the file since it was read: edit what is on disk now.
  RETURN_IF_ERROR(Refresh(machine, path, copy, true));
  if (!edit(copy.doc) && copy.exists) return Status::Ok();
  Status written = machine.WriteFileAtomic(path, copy.doc.Serialize());
  if (!written.IsOk()) {
    m_copies.erase(path);
    return written;
  }
  FileInfo info;
  RETURN_IF_ERROR(machine.GetFileInfo(path, &info));
  copy.stamp = info.stamp;
  copy.exists = true;
  return Status::Ok();
}

Status CProfileCache::Flush(IMachine& machine) {
  Status first;
  for (auto it = m_copies.begin(); it != m_copies.end();) {
    if (it->second.pending.empty()) {
      ++it;
      continue;
    }
    Status written = WriteOut(machine, it->first, it->second);
    if (!written.IsOk()) {
      if (first.IsOk()) first = written;
      it = m_copies.erase(it);
    } else {
      ++it;
    }
  }
  return first;
}

Status CProfileCache::EndBatch(IMachine& machine) {
  if (m_batchDepth > 0 && --m_batchDepth > 0) return Status::Ok();
  return Flush(machine);
}

void CProfileCache::Clear() {
  m_copies.clear();
  m_batchDepth = 0;
}
