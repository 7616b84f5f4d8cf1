// The parsed copies of the profile files that this process reads and writes, with the writes
// still to go out to disk.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/IniDocument.h"
#include "platform/Machine.h"

class CProfileCache {
 public:
  // An edit of a document; returns whether it changed anything.
  using Edit = std::function<bool(CIniDocument&)>;

  // The document of the file at `path` (a full Windows path), parsed again only when the file
  // changed on disk since (size, modification time, inode). A missing file reads as empty and
  // sets `*exists` to false.
  Status Load(IMachine& machine, const std::string& path, const CIniDocument** doc, bool* exists);
  // Applies `edit` under the file's update lock to an up-to-date copy and writes the file out,
  // or, inside a batch, keeps it pending. A file that does not exist is created even when the
  // edit changes nothing, as Windows does.
  Status Update(IMachine& machine, const std::string& path, const Edit& edit);

  void BeginBatch() { ++m_batchDepth; }
  // Ends a batch; the outermost end writes out every pending file.
  Status EndBatch(IMachine& machine);
  // Writes out every pending file now.
  Status Flush(IMachine& machine);
  // Forgets every copy (the machine changed); pending writes are dropped.
  void Clear();

 private:
  struct Copy {
    CIniDocument doc;
    FileStamp stamp;
    bool exists = false;
    std::vector<Edit> pending;  // applied to `doc` already; applied again if the disk changed
    std::uint64_t checkedInScope = 0;  // the CDirectoryScope in which it was last compared with the disk
  };
  // Brings the copy up to date with the disk, keeping its pending edits. Inside a CDirectoryScope
  // a copy is compared with the disk once, unless `always` (before a write-out, under the lock).
  Status Refresh(IMachine& machine, const std::string& path, Copy& copy, bool always = false);
  Status WriteOut(IMachine& machine, const std::string& path, Copy& copy);

  std::unordered_map<std::string, Copy> m_copies;
  int m_batchDepth = 0;
};

// The one cache of the process, tied to the installed machine.
CProfileCache& TheProfileCache();
