// CMachineLock: the run lock of a machine. One uninstallation at a time holds it for its whole
// run, and the commands that change a machine wait for it, so two of them never interleave
// their changes. It is an exclusive flock on the machine's directory itself: taking it creates
// and writes nothing, so a preview that takes it leaves every byte of the machine as it was,
// and a process that dies leaves no stale lock behind.
#pragma once

#include <string>

#include "platform/FileLock.h"
#include "platform/Status.h"

class CMachineLock {
 public:
  enum class Mode {
    Try,   // fail with ERROR_LOCK_VIOLATION while another process holds the lock
    Wait,  // block until the other process lets it go
  };

  CMachineLock() = default;

  // Takes the lock of the machine at host directory `root`. ERROR_PATH_NOT_FOUND (with the
  // path) when `root` is not a directory.
  static Status Take(const std::string& root, Mode mode, CMachineLock* lock);

  bool IsHeld() const { return m_lock.IsHeld(); }
  void Release() { m_lock.Release(); }

 private:
  FileLock m_lock;
};
