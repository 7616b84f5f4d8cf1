// CHostMachine::OpenNoShare: whether a file could now be opened for reading with no sharing,
// which Windows refuses while any other process has the file open.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileUseScan.h"
#include "platform/HostFile.h"
#include "platform/HostMachine.h"

namespace {

enum class KernelAnswer { Free, Held, Unknown };

// A write lease is granted only while no other descriptor of the file is open anywhere (and no
// process runs it), so taking one and dropping it again answers in one call. It needs the file
// to be ours (or CAP_LEASE) and a file system that has leases; otherwise the kernel cannot say.
KernelAnswer AskKernel(int fd) {
  // Another process opening the file in the instant the lease is held breaks it, and the break
  // is signalled to us; SIGURG is ignored unless handled, where the default SIGIO would end
  // the program.
  if (::fcntl(fd, F_SETSIG, SIGURG) != 0) return KernelAnswer::Unknown;
  if (::fcntl(fd, F_SETLEASE, F_WRLCK) == 0) {
    (void)::fcntl(fd, F_SETLEASE, F_UNLCK);
    return KernelAnswer::Free;
  }
  return errno == EAGAIN ? KernelAnswer::Held : KernelAnswer::Unknown;
}

}  // namespace

Status CHostMachine::OpenNoShare(std::string_view path) {
  ResolvedPath resolved;
  RETURN_IF_ERROR(m_paths.Resolve(path, &resolved));
  if (!resolved.exists) return Status::Error(ERROR_FILE_NOT_FOUND, resolved.windowsPath);
  if (resolved.leavesMachine || resolved.isDirectory) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  // Non-blocking, so that a FIFO planted in the machine cannot hang the pass.
  CHostFile file(::open(resolved.hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW));
  if (!file.IsOpen()) return Status::Error(ErrorFromErrno(errno), resolved.windowsPath);
  struct stat st {};
  if (::fstat(file.Fd(), &st) != 0) return Status::Error(ErrorFromErrno(errno), resolved.windowsPath);
  if (!S_ISREG(st.st_mode)) return Status::Error(ERROR_ACCESS_DENIED, resolved.windowsPath);
  KernelAnswer answer = AskKernel(file.Fd());
  bool held = answer == KernelAnswer::Unknown
                  ? CFileUseScan::IsOpenElsewhere({static_cast<std::uint64_t>(st.st_dev),
                                                   static_cast<std::uint64_t>(st.st_ino)})
                  : answer == KernelAnswer::Held;
  if (held) return Status::Error(ERROR_SHARING_VIOLATION, resolved.windowsPath);
  return Status::Ok();
}
