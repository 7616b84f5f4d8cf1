// Programs, file trees, replays and registry checks for the crash tests.
#include "tests/crash/CrashMachine.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/HostMachine.h"
#include "platform/RegFile.h"
#include "platform/SqliteDatabase.h"
#include "tests/support/TestMachine.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The host files that are not written through the file calls of the machine.
bool OutsideTheFileCalls(const std::string& relative) {
  return relative == "registry.db" || relative == "registry.db-wal" || relative == "registry.db-shm" ||
         relative == "registry.db-journal" || relative == "exitwindows.log";
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

std::string ProgramEnd::Describe() const {
  std::string text = exited ? "exit " + std::to_string(code) : "killed by signal " + std::to_string(signal);
  if (!err.empty()) text += "; stderr: " + err;
  return text;
}

ProgramEnd RunProgram(const std::vector<std::string>& argv) {
  CTempDir dir;
  const std::string outPath = dir.Path() + "/out";
  const std::string errPath = dir.Path() + "/err";
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    // Only async-signal-safe calls from here to exec.
    int in = ::open("/dev/null", O_RDONLY);
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) ::_exit(127);
    // Other threads of the test may have files of other machines open right now; a program
    // that kept them would hold them open for the run on that machine, which then finds them
    // in use.
    if (::close_range(3, ~0U, 0) != 0)
      for (int fd = 3; fd < 65536; ++fd) ::close(fd);
    ::execv(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) throw std::runtime_error("waitpid failed");
  }
  ProgramEnd end;
  end.exited = WIFEXITED(status);
  end.code = end.exited ? WEXITSTATUS(status) : -1;
  end.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  end.out = ReadAll(outPath);
  end.err = ReadAll(errPath);
  return end;
}

FileTree ReadFileTree(const std::string& root) {
  FileTree tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string relative = fs::relative(entry.path(), root).string();
    if (OutsideTheFileCalls(relative)) continue;
    if (entry.is_directory() && !entry.is_symlink())
      tree.items[relative] = std::nullopt;
    else
      tree.items[relative] = ReadAll(entry.path().string());
  }
  return tree;
}

FileTree Replay(FileTree tree, const std::vector<JournalEntry>& journal, std::vector<std::string>* problems) {
  auto& items = tree.items;
  for (const JournalEntry& entry : journal) {
    bool isFileCall = entry.call == ChangeCall::WriteFile || entry.call == ChangeCall::CreateDirectory ||
                      entry.call == ChangeCall::DeleteFile || entry.call == ChangeCall::RemoveDirectory ||
                      entry.call == ChangeCall::MoveFile;
    if (!isFileCall || entry.result != ERROR_SUCCESS) continue;
    if (entry.path.empty() || (entry.call == ChangeCall::MoveFile && entry.target.empty())) {
      problems->push_back("a change whose path is not in the machine: " + entry.Describe());
      continue;
    }
    switch (entry.call) {
      case ChangeCall::WriteFile:
        items[entry.path] = entry.bytes;
        break;
      case ChangeCall::CreateDirectory:
        items[entry.path] = std::nullopt;
        break;
      case ChangeCall::DeleteFile:
      case ChangeCall::RemoveDirectory:
        if (items.erase(entry.path) == 0) problems->push_back("removed what was not there: " + entry.Describe());
        break;
      case ChangeCall::MoveFile: {
        // A folder goes with everything below it.
        std::map<std::string, std::optional<std::string>> moved;
        for (auto it = items.begin(); it != items.end();) {
          if (it->first == entry.path || it->first.starts_with(entry.path + "/")) {
            moved[entry.target + it->first.substr(entry.path.size())] = it->second;
            it = items.erase(it);
          } else {
            ++it;
          }
        }
        if (moved.empty()) problems->push_back("moved what was not there: " + entry.Describe());
        items.merge(moved);
        break;
      }
      default:
        break;
    }
  }
  return tree;
}

std::vector<std::string> TreeDifferences(const FileTree& expected, const FileTree& actual) {
  std::vector<std::string> differences;
  for (const auto& [path, item] : expected.items) {
    auto found = actual.items.find(path);
    if (found == actual.items.end())
      differences.push_back("missing " + path);
    else if (found->second != item)
      differences.push_back((item && found->second ? "changed " : "file/folder swapped ") + path);
  }
  for (const auto& [path, item] : actual.items)
    if (!expected.items.contains(path)) differences.push_back("unexpected " + path);
  return differences;
}

std::string RegistryIntegrity(const std::string& root) {
  const std::string path = root + "/registry.db";
  if (!fs::exists(path)) return "no registry.db";
  CSqliteDatabase db;
  if (Status opened = db.Open(path, 10000); !opened) return "cannot open: " + opened.ToString();
  std::string result;
  if (Status checked = db.QueryText("PRAGMA integrity_check", &result); !checked)
    return "check failed: " + checked.ToString();
  return result;
}

std::map<std::string, std::string> RegistryKeys(const std::string& root, std::string* error) {
  std::map<std::string, std::string> keys;
  // A machine of its own: the test's threads each look at another machine.
  CHostMachine machine(root);
  std::string text;
  if (Status exported = ExportRegistry(machine, "", &text); !exported) {
    *error = "the registry cannot be exported: " + exported.ToString();
    return keys;
  }
  std::istringstream lines(text);
  std::string* section = nullptr;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      section = &keys[Upper(line.substr(1, line.size() - 2))];
      continue;
    }
    if (section && !line.empty()) *section += line + "\n";
  }
  return keys;
}

std::vector<std::string> KeyDifferences(const std::map<std::string, std::string>& expected,
                                        const std::map<std::string, std::string>& actual) {
  std::vector<std::string> differences;
  for (const auto& [key, values] : expected) {
    auto found = actual.find(key);
    if (found == actual.end()) differences.push_back("removed " + key);
    else if (found->second != values) differences.push_back("values changed " + key);
  }
  for (const auto& [key, values] : actual)
    if (!expected.contains(key)) differences.push_back("added " + key);
  return differences;
}

std::optional<std::string> ReadHostFile(const std::string& path) {
  if (!fs::is_regular_file(path)) return std::nullopt;
  return ReadAll(path);
}

void CopyMachine(const std::string& from, const std::string& to) {
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
}
