// A child process that holds a file open (or mapped) until the test lets it go.
#pragma once

#include <sys/types.h>

#include <string>

class CHoldingChild {
 public:
  enum class Hold { Read, ReadWrite, MappedOnly };

  // Forks a child that opens `hostPath` and keeps it until Release(); returns once it holds it.
  // With `asUser`, the child first becomes that user (the caller must be root).
  CHoldingChild(const std::string& hostPath, Hold hold, uid_t asUser = kSameUser);
  static constexpr uid_t kSameUser = static_cast<uid_t>(-1);
  ~CHoldingChild();
  CHoldingChild(const CHoldingChild&) = delete;
  CHoldingChild& operator=(const CHoldingChild&) = delete;

  bool Holds() const { return m_holding; }
  // Lets the child close the file and exit, and waits for it.
  void Release();

 private:
  pid_t m_pid = -1;
  int m_release = -1;  // the write end of the pipe the child waits on
  bool m_holding = false;
};
