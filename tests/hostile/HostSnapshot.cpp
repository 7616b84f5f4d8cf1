// Snapshots of host directory trees.
#include "tests/hostile/HostSnapshot.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

std::int64_t Nanoseconds(const timespec& time) { return time.tv_sec * 1'000'000'000LL + time.tv_nsec; }

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string LinkTarget(const std::string& path) {
  std::array<char, 4096> target{};
  ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
  return length < 0 ? std::string("<unreadable>") : std::string(target.data(), static_cast<size_t>(length));
}

void Add(const std::string& path, std::map<std::string, HostItem>* items) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return;
  HostItem item;
  item.type = S_ISREG(st.st_mode) ? 'f' : S_ISDIR(st.st_mode) ? 'd' : S_ISLNK(st.st_mode) ? 'l' : '?';
  item.mode = st.st_mode;
  item.size = static_cast<std::uint64_t>(st.st_size);
  item.inode = st.st_ino;
  item.links = st.st_nlink;
  item.mtimeNs = Nanoseconds(st.st_mtim);
  item.ctimeNs = Nanoseconds(st.st_ctim);
  if (item.type == 'f') item.contents = FileBytes(path);
  if (item.type == 'l') item.contents = LinkTarget(path);
  (*items)[path] = item;
  if (item.type != 'd') return;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(path.c_str()), ::closedir);
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") Add(path + "/" + name, items);
  }
}

std::string Describe(const HostItem& item) {
  std::ostringstream text;
  text << item.type << " mode " << std::oct << item.mode << std::dec << " size " << item.size << " inode "
       << item.inode << " links " << item.links << " mtime " << item.mtimeNs << " ctime " << item.ctimeNs;
  return text.str();
}

}  // namespace

CHostSnapshot CHostSnapshot::Take(const std::string& root) {
  CHostSnapshot snapshot;
  Add(root, &snapshot.m_items);
  return snapshot;
}

std::vector<std::string> CHostSnapshot::ChangesSince(const CHostSnapshot& before) const {
  std::vector<std::string> changes;
  for (const auto& [path, was] : before.m_items) {
    auto now = m_items.find(path);
    if (now == m_items.end())
      changes.push_back("gone: " + path);
    else if (now->second != was)
      changes.push_back("changed: " + path + " (was " + Describe(was) + "; now " + Describe(now->second) +
                        (was.contents != now->second.contents ? "; other contents)" : ")"));
  }
  for (const auto& [path, item] : m_items)
    if (!before.m_items.contains(path)) changes.push_back("new: " + path);
  return changes;
}
