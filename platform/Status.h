// The small result value that the platform's internals return: a Windows error code and the
// Windows path it concerns.
#pragma once

#include <string>
#include <utility>

#include "platform/WinTypes.h"

class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(DWORD code, std::string path = {}) { return Status(code, std::move(path)); }

  bool IsOk() const { return m_code == ERROR_SUCCESS; }
  explicit operator bool() const { return IsOk(); }
  // "Not found" in either of its Windows forms: an expected outcome for lookups.
  bool IsNotFound() const { return m_code == ERROR_FILE_NOT_FOUND || m_code == ERROR_PATH_NOT_FOUND; }
  DWORD Code() const { return m_code; }
  const std::string& Path() const { return m_path; }
  // The same failure, naming `path` when it names nothing yet.
  Status WithPath(std::string path) && {
    if (!IsOk() && m_path.empty()) m_path = std::move(path);
    return std::move(*this);
  }
  // "error 2 (file not found): C:\x" for messages on standard error.
  std::string ToString() const;

 private:
  Status(DWORD code, std::string path) : m_code(code), m_path(std::move(path)) {}
  DWORD m_code = ERROR_SUCCESS;
  std::string m_path;
};

// Returns from the calling function when an expression gives a failed Status.
#define RETURN_IF_ERROR(expr)            \
  do {                                   \
    Status status_ = (expr);             \
    if (!status_.IsOk()) return status_; \
  } while (0)

// The Windows name of an error code ("file not found"), for messages.
const char* ErrorCodeName(DWORD code);
