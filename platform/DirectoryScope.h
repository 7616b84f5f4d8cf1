// CDirectoryScope: a stretch of work (one engine action) during which the machine's directories
// change only by this process's own hand. Inside it a directory, once checked, is not checked
// against the host again: path resolution then costs no system call per directory on the path,
// and the process's own creates and deletes keep the cached listings true meanwhile. A process
// that changes a directory during the scope is seen as the directory was when first checked.
// Scopes nest; the next outermost scope checks every directory afresh.
#pragma once

#include <cstdint>

class CDirectoryScope {
 public:
  CDirectoryScope();
  ~CDirectoryScope();
  CDirectoryScope(const CDirectoryScope&) = delete;
  CDirectoryScope& operator=(const CDirectoryScope&) = delete;

  // The outermost scope now open, or 0 when none is: every scope gets a new number.
  static std::uint64_t Current();
};
