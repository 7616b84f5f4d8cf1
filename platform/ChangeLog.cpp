// The run's change log on the host.
#include "platform/ChangeLog.h"

#include <fcntl.h>
#include <time.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/DirectoryCache.h"

Status CChangeLog::Open(const std::string& hostPath, std::unique_ptr<CChangeLog>* log) {
  CHostFile file(::open(hostPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644));
  if (!file.IsOpen()) return Status::Error(ErrorFromErrno(errno), hostPath);
  *log = std::make_unique<CChangeLog>(hostPath, std::move(file));
  return Status::Ok();
}

Status CChangeLog::Write(std::string_view text) {
  std::string line = LocalTimeStamp();
  line += ' ';
  line += text;
  line += '\n';
  if (!m_file.WriteAll(line)) return Status::Error(ErrorFromErrno(errno), m_path);
  return Status::Ok();
}

std::string LocalTimeStamp() {
  auto now = std::chrono::system_clock::now();
  auto sinceEpoch = now.time_since_epoch();
  std::time_t seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch).count();
  int millis = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  long offset = local.tm_gmtoff / 60;
  char zone[40];
  std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+', std::labs(offset) / 60, std::labs(offset) % 60);
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "%s.%03d%s", date, millis, zone);
  return stamp;
}
