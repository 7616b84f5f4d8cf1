// CChangeLog: a host text file to which a run appends one timed line per change as it happens.
// Each line goes out in one write of its own, so a crash leaves every line written before it,
// and two runs appending to one file never mix within a line.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/HostFile.h"
#include "platform/Status.h"

class CChangeLog {
 public:
  // Opens `hostPath` for appending, creating it when missing.
  static Status Open(const std::string& hostPath, std::unique_ptr<CChangeLog>* log);
  // A log on a file opened for appending.
  CChangeLog(std::string path, CHostFile file) : m_path(std::move(path)), m_file(std::move(file)) {}

  // Appends "<local time> <text>" and a line end.
  Status Write(std::string_view text);

  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
  CHostFile m_file;
};

// The local time now in ISO 8601 with milliseconds and the offset from UTC:
// "2024-05-01T09:30:15.042+02:00".
std::string LocalTimeStamp();
