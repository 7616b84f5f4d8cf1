// Temporary machines and directories for tests.
#include "tests/support/TestMachine.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

CTempDir::CTempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/uninst-test-XXXXXX";
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

CTempDir::~CTempDir() {
  std::error_code error;
  // Tests make files read-only on purpose; give write bits back so everything goes.
  for (auto it = fs::recursive_directory_iterator(m_path, error); it != fs::recursive_directory_iterator();
       it.increment(error)) {
    if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(m_path, error);
}

CTestMachine::CTestMachine(bool install) : m_installed(install) {
  MakeDir("drive_c/WINDOWS/SYSTEM");
  m_machine = std::make_unique<CHostMachine>(Root());
  if (install) InstallMachine(m_machine.get());
}

CTestMachine::~CTestMachine() {
  if (m_installed) InstallMachine(nullptr);
}

std::string CTestMachine::Host(std::string_view relative) const { return Root() + "/" + std::string(relative); }

void CTestMachine::Write(std::string_view relative, std::string_view bytes) const {
  fs::path path = Host(relative);
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string CTestMachine::Read(std::string_view relative) const {
  std::ifstream in(Host(relative), std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool CTestMachine::Exists(std::string_view relative) const {
  std::error_code error;
  return fs::exists(fs::symlink_status(Host(relative), error));
}

void CTestMachine::MakeDir(std::string_view relative) const { fs::create_directories(Host(relative)); }

std::string ToolPath(std::string_view name) {
  const char* dir = std::getenv("UNINST_BIN_DIR");
  return std::string(dir && *dir ? dir : UNINST_BIN_DIR) + "/" + std::string(name);
}

std::string SourcePath(std::string_view relative) {
  const char* dir = std::getenv("UNINST_SOURCE_DIR");
  return std::string(dir && *dir ? dir : UNINST_SOURCE_DIR) + "/" + std::string(relative);
}

int RunCommand(const std::string& command, std::string* output) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::array<char, 4096> chunk{};
  std::string text;
  size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) text.append(chunk.data(), n);
  int status = ::pclose(pipe);
  if (output) *output = std::move(text);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
