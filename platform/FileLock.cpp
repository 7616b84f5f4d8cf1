// Release of a held host lock.
#include "platform/FileLock.h"

#include <sys/file.h>
#include <unistd.h>

void FileLock::Release() {
  if (m_fd < 0) return;
  ::flock(m_fd, LOCK_UN);
  ::close(m_fd);
  m_fd = -1;
}
