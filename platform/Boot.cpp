// The boot step: deletions and renames of [Rename] in wininit.ini, then wininit.bak.
#include "platform/Boot.h"

#include <string_view>

#include "platform/LastError.h"
#include "platform/Machine.h"
#include "platform/Profile.h"
#include "platform/TextCase.h"

namespace {

constexpr const char* kWininit = "wininit.ini";
constexpr const char* kSection = "Rename";

std::string WindowsFile(std::string_view name) { return std::string(kWindowsDirectory) + "\\" + std::string(name); }

// The section's lines as the profile functions give them, however long the section is.
std::vector<std::string> ReadRenameLines() {
  std::vector<char> buffer(16384);
  DWORD count = 0;
  for (;;) {
    count = GetPrivateProfileSectionA(kSection, buffer.data(), static_cast<DWORD>(buffer.size()), kWininit);
    if (count + 2 < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<std::string> lines;
  for (size_t pos = 0; pos < count;) {
    std::string line(buffer.data() + pos);
    pos += line.size() + 1;
    if (!line.empty() && line[0] != ';') lines.push_back(std::move(line));
  }
  return lines;
}

bool IsFullPath(std::string_view path) {
  return path.size() >= 3 && AsciiUpper(path[0]) >= 'A' && AsciiUpper(path[0]) <= 'Z' && path[1] == ':' &&
         (path[2] == '\\' || path[2] == '/');
}

class CBootLines {
 public:
  CBootLines(IMachine& machine, BootReport& report) : m_machine(machine), m_report(report) {}

  void Run(const std::string& line) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) return NotDone(line, "no '=' in the line");
    std::string key = line.substr(0, equals);
    std::string value = line.substr(equals + 1);
    if (!IsFullPath(value) || (!IsKeyDelete(key) && !IsFullPath(key)))
      return NotDone(line, "not a full path");
    if (IsKeyDelete(key)) return Delete(line, value);
    Rename(line, value, key);
  }

 private:
  static bool IsKeyDelete(std::string_view key) { return EqualsNoCase(key, "NUL") || EqualsNoCase(key, "NULL"); }

  // The file at `path`, or why the line cannot touch it.
  bool CheckFile(const std::string& line, const std::string& path) {
    FileInfo info;
    if (Status status = m_machine.GetFileInfo(path, &info); !status) {
      NotDone(line, std::string(ErrorCodeName(status.Code())) + ": " + path);
      return false;
    }
    if (info.isDirectory) {
      NotDone(line, "directories are not touched: " + path);
      return false;
    }
    return true;
  }

  void Delete(const std::string& line, const std::string& path) {
    if (!CheckFile(line, path)) return;
    if (Status status = m_machine.DeleteFile(path); !status)
      return NotDone(line, std::string(ErrorCodeName(status.Code())) + ": " + path);
    m_report.lines.push_back("deleted " + path);
  }

  void Rename(const std::string& line, const std::string& from, const std::string& to) {
    if (!CheckFile(line, from)) return;
    if (Status status = m_machine.MoveFile(from, to); !status)
      return NotDone(line, std::string(ErrorCodeName(status.Code())) + ": " + status.Path());
    m_report.lines.push_back("renamed " + from + " to " + to);
  }

  void NotDone(const std::string& line, const std::string& why) {
    m_report.lines.push_back("not done: " + line + " (" + why + ")");
    ++m_report.notCarriedOut;
  }

  IMachine& m_machine;
  BootReport& m_report;
};

Status LastError(std::string path) { return Status::Error(GetLastError(), std::move(path)); }

}  // namespace

Status RunBootStep(BootReport* report) {
  IMachine& machine = TheMachine();
  std::string wininit = WindowsFile(kWininit);
  // Windows writes its cached profile writes out before it restarts.
  if (!FlushProfileWrites()) return LastError(wininit);
  std::string oldText;
  if (Status status = machine.ReadFile(wininit, &oldText, nullptr); !status) {
    if (!status.IsNotFound()) return status;
    report->lines.push_back("no " + wininit + ": nothing to do");
    return Status::Ok();
  }
  std::vector<std::string> lines = ReadRenameLines();
  if (lines.empty()) {
    report->lines.push_back("no [Rename] lines in " + wininit + ": nothing to do");
    return Status::Ok();
  }
  RETURN_IF_ERROR(machine.WriteFileAtomic(WindowsFile("wininit.bak"), oldText));
  CBootLines boot(machine, *report);
  for (const std::string& line : lines) boot.Run(line);
  if (!WritePrivateProfileSectionA(kSection, "\0", kWininit) || !FlushProfileWrites()) return LastError(wininit);
  return Status::Ok();
}
