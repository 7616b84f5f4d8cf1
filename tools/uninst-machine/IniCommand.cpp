// uninst-machine ini: the five profile functions, called exactly, for people and tests.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Json.h"
#include "platform/Profile.h"
#include "tools/uninst-machine/Commands.h"
#include "tools/uninst-machine/MachineSession.h"

namespace {

struct IniArgs {
  std::string machine;
  std::string file;
  std::string section;
  std::vector<std::string> rest;  // KEY [VALUE], or the LINEs of write-section
  std::string fallback;
  int defaultInt = 0;
  unsigned size = 256;
};

CLI::App* AddCall(CLI::App& ini, const char* name, const char* help, IniArgs& args) {
  CLI::App* call = ini.add_subcommand(name, help);
  call->add_option("MACHINE", args.machine, "the machine's directory")->required();
  call->add_option("FILE", args.file, "the profile file, a Windows path (system.ini is in C:\\WINDOWS)")->required();
  call->add_option("SECTION", args.section, "the section name")->required();
  return call;
}

// The bytes a read left in its buffer: a value without its closing NUL; a list with every NUL
// it wrote, the two that close a cut or empty list included.
std::string ReadBytes(const std::vector<char>& buffer, DWORD ret, unsigned size, bool list) {
  if (!list) return std::string(buffer.data(), ret);
  bool closedByTwo = ret == 0 || GetLastError() == ERROR_MORE_DATA;
  size_t count = std::min<size_t>(size, ret + (closedByTwo ? 2 : 1));
  return std::string(buffer.data(), count);
}

void PrintRead(DWORD ret, const std::string& bytes) {
  std::printf("{\"ret\": %u, \"buffer\": %s}\n", ret, JsonBytes(bytes).c_str());
}

void RunGet(const IniArgs& a) {
  CMachineSession session(a.machine, "ini get");
  if (!session.IsOpen()) return;
  std::vector<char> buffer(std::max(1u, a.size), '\0');
  const char* key = a.rest.empty() ? nullptr : a.rest[0].c_str();
  DWORD ret = GetPrivateProfileStringA(a.section.c_str(), key, a.fallback.c_str(), buffer.data(), a.size,
                                       a.file.c_str());
  PrintRead(ret, ReadBytes(buffer, ret, a.size, key == nullptr));
}

void RunSection(const IniArgs& a) {
  CMachineSession session(a.machine, "ini section");
  if (!session.IsOpen()) return;
  std::vector<char> buffer(std::max(1u, a.size), '\0');
  DWORD ret = GetPrivateProfileSectionA(a.section.c_str(), buffer.data(), a.size, a.file.c_str());
  PrintRead(ret, ReadBytes(buffer, ret, a.size, true));
}

void RunInt(const IniArgs& a) {
  CMachineSession session(a.machine, "ini int");
  if (!session.IsOpen()) return;
  UINT ret = GetPrivateProfileIntA(a.section.c_str(), a.rest[0].c_str(), a.defaultInt, a.file.c_str());
  std::printf("{\"ret\": %u}\n", ret);
}

void PrintWrite(BOOL ret, const char* function) {
  if (!ret) std::fprintf(stderr, "uninst-machine: %s failed: error %u\n", function, GetLastError());
  std::printf("{\"ret\": %d}\n", ret);
}

void RunWrite(const IniArgs& a) {
  CMachineSession session(a.machine, "ini write", MachineUse::Change);
  if (!session.IsOpen()) return;
  const char* key = a.rest.empty() ? nullptr : a.rest[0].c_str();
  const char* value = a.rest.size() < 2 ? nullptr : a.rest[1].c_str();
  PrintWrite(WritePrivateProfileStringA(a.section.c_str(), key, value, a.file.c_str()), "WritePrivateProfileStringA");
}

void RunWriteSection(const IniArgs& a) {
  CMachineSession session(a.machine, "ini write-section", MachineUse::Change);
  if (!session.IsOpen()) return;
  std::string lines;
  for (const std::string& line : a.rest) {
    lines += line;
    lines += '\0';
  }
  lines += '\0';
  PrintWrite(WritePrivateProfileSectionA(a.section.c_str(), lines.c_str(), a.file.c_str()),
             "WritePrivateProfileSectionA");
}

}  // namespace

void AddIniCommand(CLI::App& app) {
  auto args = std::make_shared<IniArgs>();
  CLI::App* ini = app.add_subcommand("ini", "Call the profile (INI) functions on a machine's file");
  ini->require_subcommand(1);

  CLI::App* get = AddCall(*ini, "get", "GetPrivateProfileStringA; without KEY, the list of keys", *args);
  get->add_option("KEY", args->rest, "the key (missing: list the keys)")->expected(0, 1);
  get->add_option("--default", args->fallback, "the default text");
  get->add_option("--size", args->size, "the buffer size")->capture_default_str();
  get->callback([args] { RunGet(*args); });

  CLI::App* section = AddCall(*ini, "section", "GetPrivateProfileSectionA", *args);
  section->add_option("--size", args->size, "the buffer size")->capture_default_str();
  section->callback([args] { RunSection(*args); });

  CLI::App* integer = AddCall(*ini, "int", "GetPrivateProfileIntA", *args);
  integer->add_option("KEY", args->rest, "the key")->required()->expected(1);
  integer->add_option("--default", args->defaultInt, "the default number");
  integer->callback([args] { RunInt(*args); });

  CLI::App* write = AddCall(*ini, "write", "WritePrivateProfileStringA; without VALUE deletes the key, "
                                           "without KEY the section", *args);
  write->add_option("KEY", args->rest, "the key, then its value")->expected(0, 2);
  write->callback([args] { RunWrite(*args); });

  CLI::App* writeSection = AddCall(*ini, "write-section", "WritePrivateProfileSectionA", *args);
  writeSection->add_option("LINE", args->rest, "the section's new lines, key=value")->expected(0, -1);
  writeSection->callback([args] { RunWriteSection(*args); });
}
