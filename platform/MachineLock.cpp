// Taking a machine's run lock.
#include "platform/MachineLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/DirectoryCache.h"

Status CMachineLock::Take(const std::string& root, Mode mode, CMachineLock* lock) {
  int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Status::Error(errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno), root);
  FileLock held(fd);
  int operation = mode == Mode::Try ? LOCK_EX | LOCK_NB : LOCK_EX;
  while (::flock(fd, operation) != 0) {
    if (errno == EWOULDBLOCK) return Status::Error(ERROR_LOCK_VIOLATION, root);
    if (errno != EINTR) return Status::Error(ErrorFromErrno(errno), root);
  }
  lock->m_lock = std::move(held);
  return Status::Ok();
}
