// CHostMachine::ExitWindows: a shutdown or restart request, recorded in MACHINE/exitwindows.log.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <sstream>

#include "platform/Boot.h"
#include "platform/ExitWindows.h"
#include "platform/HostFile.h"
#include "platform/HostMachine.h"

namespace {

// "2024-05-01T09:30:15.042Z": UTC, so records of machines on different hosts compare.
std::string TimeStamp() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  std::ostringstream text;
  text << std::put_time(&utc, "%Y-%m-%dT%H:%M:%S") << '.' << std::setw(3) << std::setfill('0') << millis << 'Z';
  return text.str();
}

// Runs the boot step on the installed machine, which is this one or forwards to it; a machine
// asked directly while none is installed is installed for the step.
BootReport Restart(CHostMachine& machine) {
  bool installedHere = !HasMachine();
  if (installedHere) InstallMachine(&machine);
  BootReport report;
  if (Status status = RunBootStep(&report); !status)
    report.lines.push_back("boot step failed: " + status.ToString());
  if (installedHere) InstallMachine(nullptr);
  return report;
}

}  // namespace

Status CHostMachine::ExitWindows(UINT flags) {
  bool restart = (flags & EWX_REBOOT) != 0;
  if (!restart && (flags & (EWX_SHUTDOWN | EWX_POWEROFF)) == 0) return Status::Error(ERROR_INVALID_PARAMETER);
  std::string logPath = m_root + "/exitwindows.log";
  CHostFile log(::open(logPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
  if (!log.IsOpen()) return Status::Error(ErrorFromErrno(errno), logPath);
  std::ostringstream record;
  record << TimeStamp() << (restart ? " restart" : " shutdown") << " (flags 0x" << std::hex << flags << ")\n";
  if (restart) {
    for (const std::string& line : Restart(*this).lines) record << "  " << line << '\n';
  }
  // One write, so records of two processes never interleave within a line.
  if (!log.WriteAll(record.str()) || ::fsync(log.Fd()) != 0) return Status::Error(ErrorFromErrno(errno), logPath);
  return Status::Ok();
}
