// CFileOverlay: the files and folders of a machine as a run would leave them, kept in memory
// over the real ones, which it never changes. What the run wrote is read back, what it deleted
// is no longer found, listings show both, and each change fails where the real machine would
// refuse it (a read-only file, a folder that is not empty, a missing folder).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Machine.h"

class CFileOverlay {
 public:
  // Reads and resolves paths through `base`, which must outlive the overlay.
  explicit CFileOverlay(IMachine& base) : m_base(base) {}

  Status GetFileInfo(std::string_view path, FileInfo* info);
  Status ReadFile(std::string_view path, std::string* bytes, FileStamp* stamp);
  Status WriteFile(std::string_view path, std::string_view bytes);
  // Whether an update of the file at `path` could be locked: its folder must exist.
  Status CheckFolderOf(std::string_view path);
  Status CreateDirectory(std::string_view path);
  Status ListDirectory(std::string_view path, std::vector<DirEntry>* entries);
  Status DeleteFile(std::string_view path);
  Status RemoveDirectory(std::string_view path);
  Status MoveFile(std::string_view from, std::string_view to);
  Status OpenNoShare(std::string_view path);

 private:
  enum class State { Gone, File, Folder };
  struct Entry {
    State state = State::Gone;
    std::string name;                    // the last component, as the run spelled it
    std::string bytes;                   // a file's content, unless it is read from `backing`
    std::optional<std::string> backing;  // a file moved here: the real file that holds its bytes
    FileStamp stamp;
  };
  struct Where {
    std::string full;  // the full Windows path
    std::string key;   // the same upper-cased: the entry's key
  };

  Status Locate(std::string_view path, Where* where);
  const Entry* Find(const std::string& key) const;
  Status RequireFolder(const std::string& full);
  FileStamp NextStamp(std::uint64_t size);
  bool ListedAsFile(const Where& where);
  void MoveEntry(const Where& from, const Where& to, const FileInfo& info);

  IMachine& m_base;
  std::map<std::string, Entry> m_entries;
  std::uint64_t m_version = 0;
};
