// An exclusive advisory lock on the host, held for as long as the object lives.
#pragma once

#include <utility>

class FileLock {
 public:
  FileLock() = default;
  explicit FileLock(int fd) : m_fd(fd) {}
  FileLock(FileLock&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
  FileLock& operator=(FileLock&& other) noexcept {
    if (this != &other) {
      Release();
      m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { Release(); }

  bool IsHeld() const { return m_fd >= 0; }
  void Release();

 private:
  int m_fd = -1;
};
