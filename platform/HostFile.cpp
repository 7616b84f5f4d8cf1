// Host file descriptors and atomic replacement.
#include "platform/HostFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>

#include "platform/DirectoryCache.h"

namespace {
std::function<void()>& BeforeReplaceHook() {
  static std::function<void()> hook;
  return hook;
}
}  // namespace

void SetBeforeReplaceHookForTesting(std::function<void()> hook) { BeforeReplaceHook() = std::move(hook); }

CHostFile& CHostFile::operator=(CHostFile&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = std::exchange(other.m_fd, -1);
  }
  return *this;
}

CHostFile::~CHostFile() {
  if (m_fd >= 0) ::close(m_fd);
}

bool CHostFile::ReadAll(std::string* bytes) {
  bytes->clear();
  std::array<char, 65536> chunk{};
  for (;;) {
    ssize_t n = ::read(m_fd, chunk.data(), chunk.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes->append(chunk.data(), static_cast<size_t>(n));
  }
}

bool CHostFile::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

Status ReplaceHostFile(const std::string& path, std::string_view bytes, mode_t mode) {
  size_t slash = path.rfind('/');
  std::string dir = path.substr(0, slash);
  std::string temp = dir + "/." + path.substr(slash + 1) + ".XXXXXX";
  CHostFile file(::mkostemp(temp.data(), O_CLOEXEC));
  if (!file.IsOpen()) return Status::Error(ErrorFromErrno(errno));
  auto fail = [&] {
    int error = errno;
    ::unlink(temp.c_str());
    return Status::Error(ErrorFromErrno(error));
  };
  if (!file.WriteAll(bytes) || ::fchmod(file.Fd(), mode) != 0 || ::fsync(file.Fd()) != 0) return fail();
  if (BeforeReplaceHook()) BeforeReplaceHook()();
  if (::rename(temp.c_str(), path.c_str()) != 0) return fail();
  CHostFile directory(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.IsOpen()) ::fsync(directory.Fd());
  return Status::Ok();
}
