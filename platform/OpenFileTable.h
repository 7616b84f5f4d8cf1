// The files that other processes hold open, as one scan of /proc finds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>

// A file on the host, as the kernel knows it.
struct HostFileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const HostFileId&) const = default;
};

class COpenFileTable {
 public:
  // Scans the open descriptors (/proc/PID/fd) and the mapped files (/proc/PID/maps, which keep
  // a running program's file in use after its descriptor is closed) of every process but this
  // one. Processes that end meanwhile, or whose entries this user may not read, are passed over.
  static COpenFileTable Scan();

  bool Contains(const HostFileId& file) const { return m_files.contains(file); }
  std::size_t Size() const { return m_files.size(); }

 private:
  struct Hash {
    std::size_t operator()(const HostFileId& f) const noexcept { return f.inode * 31 + f.device; }
  };
  void ScanProcess(int procFd, const char* pid);
  void ScanDescriptors(int procFd, const char* pid);
  void ScanMaps(int procFd, const char* pid);

  std::unordered_set<HostFileId, Hash> m_files;
};
