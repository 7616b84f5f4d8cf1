// Writing and reading the change journal of a run.
#include "tests/crash/ChangeJournal.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "platform/HostFile.h"

namespace {

// In the order of ChangeCall.
constexpr const char* kCallNames[] = {"WriteFile",    "CreateDirectory", "DeleteFile",   "RemoveDirectory", "MoveFile",
                                      "RegCreateKey", "RegSetValue",     "RegDeleteKey", "RegDeleteValue",  "RegBegin",
                                      "RegCommit",    "RegSync",         "ExitWindows"};
static_assert(std::size(kCallNames) == static_cast<size_t>(ChangeCall::ExitWindows) + 1);

// Fields are separated by tabs and entries by newlines; a path may hold neither unescaped.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

std::string Unescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char next = text[++i];
    out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
  }
  return out;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::string BytesPath(const std::string& journal, unsigned index) { return journal + "." + std::to_string(index); }

bool CallOfName(const std::string& name, ChangeCall* call) {
  for (size_t i = 0; i < std::size(kCallNames); ++i) {
    if (name == kCallNames[i]) {
      *call = static_cast<ChangeCall>(i);
      return true;
    }
  }
  return false;
}

}  // namespace

const char* ChangeCallName(ChangeCall call) { return kCallNames[static_cast<size_t>(call)]; }

std::string JournalEntry::Describe() const {
  std::string text = std::to_string(index) + " " + ChangeCallName(call) + " " + path;
  if (!target.empty()) text += " to " + target;
  text += " -> " + std::to_string(result);
  if (injected) text += " (injected)";
  return text;
}

Status CChangeJournal::Create(const std::string& path, CChangeJournal* journal) {
  CHostFile file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644));
  if (!file.IsOpen()) return Status::Error(ERROR_WRITE_FAULT, path);
  journal->m_path = path;
  journal->m_file = std::move(file);
  return Status::Ok();
}

void CChangeJournal::Add(const JournalEntry& entry) {
  if (!m_file.IsOpen()) return;
  if (entry.call == ChangeCall::WriteFile && entry.result == ERROR_SUCCESS) {
    CHostFile bytes(::open(BytesPath(m_path, entry.index).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (bytes.IsOpen()) (void)bytes.WriteAll(entry.bytes);
  }
  std::string line = std::to_string(entry.index) + '\t' + ChangeCallName(entry.call) + '\t' +
                     std::to_string(entry.result) + '\t' + (entry.injected ? "1" : "0") + '\t' + Escaped(entry.path) +
                     '\t' + Escaped(entry.target) + '\n';
  // One write: the line is in the journal whole or not at all when the process dies.
  (void)m_file.WriteAll(line);
}

Status CChangeJournal::Read(const std::string& path, std::vector<JournalEntry>* entries) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Status::Error(ERROR_FILE_NOT_FOUND, path);
  entries->clear();
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields = Fields(line);
    JournalEntry entry;
    if (fields.size() != 6 || !CallOfName(fields[1], &entry.call))
      return Status::Error(ERROR_READ_FAULT, path + ": " + line);
    entry.index = static_cast<unsigned>(std::stoul(fields[0]));
    entry.result = static_cast<DWORD>(std::stoul(fields[2]));
    entry.injected = fields[3] == "1";
    entry.path = Unescaped(fields[4]);
    entry.target = Unescaped(fields[5]);
    if (entry.call == ChangeCall::WriteFile && entry.result == ERROR_SUCCESS) {
      std::ifstream bytes(BytesPath(path, entry.index), std::ios::binary);
      if (!bytes) return Status::Error(ERROR_FILE_NOT_FOUND, BytesPath(path, entry.index));
      std::ostringstream text;
      text << bytes.rdbuf();
      entry.bytes = text.str();
    }
    entries->push_back(std::move(entry));
  }
  return Status::Ok();
}
