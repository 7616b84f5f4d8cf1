// The state of a host directory tree, taken before and after a run to prove the run left it alone.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One file, folder or link as lstat and a read see it; a change of any field is a touch.
struct HostItem {
  char type = '?';  // 'f' file, 'd' folder, 'l' symbolic link, '?' anything else
  std::uint32_t mode = 0;
  std::uint64_t size = 0;
  std::uint64_t inode = 0;
  std::uint64_t links = 0;
  std::int64_t mtimeNs = 0;
  std::int64_t ctimeNs = 0;
  std::string contents;  // a file's bytes, a link's target
  bool operator==(const HostItem&) const = default;
};

class CHostSnapshot {
 public:
  // Every item at and below `root`, read without following links. A folder's listing is the
  // set of its children here, and its times change with the listing.
  static CHostSnapshot Take(const std::string& root);

  // One line for each item that is new, gone or changed since `before`.
  std::vector<std::string> ChangesSince(const CHostSnapshot& before) const;
  bool Holds(const std::string& path) const { return m_items.contains(path); }

 private:
  std::map<std::string, HostItem> m_items;
};
