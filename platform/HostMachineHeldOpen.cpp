// CHostMachine::OpenNoShare: whether a file could now be opened for reading with no sharing,
// which Windows refuses while any other process has the file open.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileUseScan.h"
#include "platform/HostFile.h"
#include "platform/HostItem.h"
#include "platform/HostMachine.h"

namespace {

enum class KernelAnswer { Free, Held, Unknown };

// Another process opening the file in the instant a lease is held breaks it, and the break is
// signalled with SIGIO, whose default action would end the program. Nothing here uses SIGIO, so
// it is ignored once for the process rather than redirected on every descriptor.
void IgnoreLeaseBreaks() {
  static const bool ignored = [] {
    struct sigaction current {};
    if (::sigaction(SIGIO, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) ::signal(SIGIO, SIG_IGN);
    return true;
  }();
  (void)ignored;
}

// A write lease is granted only while no other descriptor of the file is open anywhere (and no
// process runs it), so asking for one answers in one call; closing the descriptor, as the
// caller does at once, drops it again. It needs the file to be ours (or CAP_LEASE) and a file
// system that has leases; otherwise the kernel cannot say.
KernelAnswer AskKernel(int fd) {
  IgnoreLeaseBreaks();
  if (::fcntl(fd, F_SETLEASE, F_WRLCK) == 0) return KernelAnswer::Free;
  return errno == EAGAIN ? KernelAnswer::Held : KernelAnswer::Unknown;
}

}  // namespace

Status CHostMachine::OpenNoShare(std::string_view path) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (!resolved.exists) return Status::Error(ERROR_FILE_NOT_FOUND, resolved.windowsPath);
  if (resolved.leavesMachine || resolved.isDirectory) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  // Non-blocking, so that a FIFO planted in the machine cannot hang the pass.
  CHostFile file(CHostItem(m_paths.Cache(), resolved).OpenTarget(O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.IsOpen()) return Status::Error(ErrorFromErrno(errno), resolved.windowsPath);
  // A lease is granted on regular files only, so a granted or refused one already says what
  // the file is; only a file the kernel cannot answer for needs looking at.
  KernelAnswer answer = AskKernel(file.Fd());
  if (answer == KernelAnswer::Unknown) {
    struct stat st {};
    if (::fstat(file.Fd(), &st) != 0) return Status::Error(ErrorFromErrno(errno), resolved.windowsPath);
    if (!S_ISREG(st.st_mode)) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
    if (CFileUseScan::IsOpenElsewhere({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)}))
      return Status::Error(ERROR_SHARING_VIOLATION, resolved.windowsPath);
    return Status::Ok();
  }
  if (answer == KernelAnswer::Held) return Status::Error(ERROR_SHARING_VIOLATION, resolved.windowsPath);
  return Status::Ok();
}
