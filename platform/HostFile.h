// Host file descriptors and the atomic replacement of a host file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include <sys/types.h>

#include "platform/Status.h"

class CHostFile {
 public:
  explicit CHostFile(int fd = -1) : m_fd(fd) {}
  CHostFile(CHostFile&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  CHostFile& operator=(CHostFile&& other) noexcept;
  CHostFile(const CHostFile&) = delete;
  CHostFile& operator=(const CHostFile&) = delete;
  ~CHostFile();

  bool IsOpen() const { return m_fd >= 0; }
  int Fd() const { return m_fd; }
  // Reads from the current position to the end; false with errno set on failure.
  bool ReadAll(std::string* bytes);
  bool WriteAll(std::string_view bytes);

 private:
  int m_fd;
};

// Replaces (or creates) the host file `path` with `bytes`: written to a temporary file in the
// same directory, synced, renamed over the old one, and the directory synced. A crash at any
// point leaves the old file or the new one whole.
Status ReplaceHostFile(const std::string& path, std::string_view bytes, mode_t mode);

// Called between the sync of the temporary file and the rename, so a test can kill the
// process at the one moment that matters. Null outside tests.
void SetBeforeReplaceHookForTesting(std::function<void()> hook);
