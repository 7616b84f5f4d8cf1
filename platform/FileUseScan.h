// CFileUseScan: the scope of one deletion pass, within which the held-open tests that cannot
// ask the kernel share one scan of /proc.
#pragma once

#include <cstdint>

#include "platform/OpenFileTable.h"

// While a scan scope lives, the first held-open test that needs a scan takes it and every later
// one in the scope reuses it, so a pass over a long list costs at most one scan. Scopes nest;
// the outermost one's end drops the scan. A process that opens or closes a file during the
// pass is seen as it was at the scan.
class CFileUseScan {
 public:
  CFileUseScan();
  ~CFileUseScan();
  CFileUseScan(const CFileUseScan&) = delete;
  CFileUseScan& operator=(const CFileUseScan&) = delete;

  // True when a process other than this one has `file` open or mapped: from the scope's scan
  // inside a scope, from a scan of its own outside one.
  static bool IsOpenElsewhere(const HostFileId& file);

  // How many scans of /proc this process has taken, for tests and benchmarks.
  static std::uint64_t ScanCount();
};
