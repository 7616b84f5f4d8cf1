// The child process that holds a file for the held-open tests.
#include "tests/files/HeldOpenChild.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs in the child: only calls that are safe after fork.
[[noreturn]] void HoldInChild(const char* path, CHoldingChild::Hold hold, uid_t user, int ready, int release) {
  if (user != CHoldingChild::kSameUser && (::setresgid(user, user, user) != 0 || ::setresuid(user, user, user) != 0))
    ::_exit(1);
  // A change of user makes a process undumpable, which hides its /proc entries from that user;
  // a program that user started would not be.
  if (user != CHoldingChild::kSameUser) ::prctl(PR_SET_DUMPABLE, 1);
  int fd = ::open(path, hold == CHoldingChild::Hold::ReadWrite ? O_RDWR : O_RDONLY);
  char ok = fd >= 0 ? 1 : 0;
  if (fd >= 0 && hold == CHoldingChild::Hold::MappedOnly) {
    void* map = ::mmap(nullptr, 1, PROT_READ, MAP_SHARED, fd, 0);
    ok = map != MAP_FAILED;
    ::close(fd);  // the mapping alone keeps the file in use
  }
  (void)!::write(ready, &ok, 1);
  char byte;
  (void)!::read(release, &byte, 1);
  ::_exit(0);
}

}  // namespace

CHoldingChild::CHoldingChild(const std::string& hostPath, Hold hold, uid_t asUser) {
  int ready[2], release[2];
  if (::pipe(ready) != 0) return;
  if (::pipe(release) != 0) {
    ::close(ready[0]);
    ::close(ready[1]);
    return;
  }
  m_pid = ::fork();
  if (m_pid == 0) {
    ::close(ready[0]);
    ::close(release[1]);
    HoldInChild(hostPath.c_str(), hold, asUser, ready[1], release[0]);
  }
  ::close(ready[1]);
  ::close(release[0]);
  m_release = release[1];
  char ok = 0;
  m_holding = m_pid > 0 && ::read(ready[0], &ok, 1) == 1 && ok == 1;
  ::close(ready[0]);
}

CHoldingChild::~CHoldingChild() { Release(); }

void CHoldingChild::Release() {
  if (m_release >= 0) ::close(m_release);  // the child's read returns and it exits
  m_release = -1;
  if (m_pid > 0) ::waitpid(m_pid, nullptr, 0);
  m_pid = -1;
  m_holding = false;
}
