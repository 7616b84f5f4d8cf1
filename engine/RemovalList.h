// The removal list of one run: the files and folders the gathering actions found, in the order
// they found them, with the running total of their sizes.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/String.h"

enum class RemovalKind { File = 1, Directory = 2 };

struct RemovalEntry {
  CString strPath;           // full path of the file or folder
  std::uint32_t nSize = 0;   // a file's size (its low 32 bits, as the search reports it); 1 for a folder
  RemovalKind nKind = RemovalKind::File;
};

// The list has no fixed room and no end marker: every entry an action finds is kept, and a
// file whose size has all 32 low bits set is an entry like any other.
class RemovalList {
 public:
  void Add(CString strPath, std::uint32_t nSize, RemovalKind nKind) {
    m_nTotal += nSize;
    m_entries.push_back({std::move(strPath), nSize, nKind});
  }

  const std::vector<RemovalEntry>& Entries() const { return m_entries; }
  // The sum of every entry's nSize; 64 bits, so no number of large files can wrap it.
  std::uint64_t Total() const { return m_nTotal; }

 private:
  std::vector<RemovalEntry> m_entries;
  std::uint64_t m_nTotal = 0;
};
