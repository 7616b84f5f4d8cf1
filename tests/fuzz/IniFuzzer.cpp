// Profile files: parsing keeps every byte, each edit changes only the lines it is about, the
// edited copy answers lookups as a fresh parse of its bytes does, and the profile functions
// on a machine write what the document computes and read back what was written.
//
// Input: an operation byte, then SECTION NUL KEY NUL VALUE NUL and the file's bytes.
//   'k' deletes KEY, 's' deletes SECTION, 'S' replaces SECTION by the lines of VALUE (split at
//   LF), 'b' sets KEY to VALUE inside a write batch; any other byte sets KEY to VALUE.
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniDocument.h"
#include "platform/Profile.h"
#include "platform/ProfileCache.h"
#include "platform/TextCase.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/TestMachine.h"

namespace {

constexpr const char* kProfile = "C:\\WINDOWS\\fuzz.ini";
constexpr const char* kProfileHost = "drive_c/WINDOWS/fuzz.ini";

struct RawLine {
  std::string_view text;
  std::string_view eol;
  bool operator==(const RawLine&) const = default;
};

// The lines of a file as bytes: CR LF, LF and CR each end one.
std::vector<RawLine> SplitRawLines(std::string_view bytes) {
  std::vector<RawLine> lines;
  while (!bytes.empty()) {
    size_t end = bytes.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      lines.push_back({bytes, {}});
      break;
    }
    size_t eol = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
    lines.push_back({bytes.substr(0, end), bytes.substr(end, eol)});
    bytes.remove_prefix(end + eol);
  }
  return lines;
}

// The lines in which two versions of a file differ, after their common first and last lines.
struct LineDiff {
  std::vector<RawLine> before;
  std::vector<RawLine> after;
  size_t linesAfter = 0;  // unchanged lines that follow the difference
};

LineDiff Diff(const std::vector<RawLine>& before, const std::vector<RawLine>& after) {
  size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  return {{before.begin() + static_cast<std::ptrdiff_t>(head), before.end() - static_cast<std::ptrdiff_t>(tail)},
          {after.begin() + static_cast<std::ptrdiff_t>(head), after.end() - static_cast<std::ptrdiff_t>(tail)},
          tail};
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }
bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }
bool HasBlankEnds(std::string_view text) { return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back())); }

// What the profile functions do to the names a call gives.
std::string_view DropSpaces(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

// Names that a line of the file can carry as they are, so that a write of them can be read
// back by them.
bool IsPlainSection(std::string_view name) {
  return !HasLineBreak(name) && name.find(']') == std::string_view::npos && !HasBlankEnds(name);
}
bool IsPlainKey(std::string_view key) {
  return !HasLineBreak(key) && key.find('=') == std::string_view::npos && !HasBlankEnds(key) &&
         !key.starts_with(';') && !key.starts_with('[');
}
// A section line that reads back unchanged: no blanks at its ends or around its first `=`,
// and no comment, header or empty line.
bool IsPlainSectionLine(std::string_view line) {
  if (line.empty() || HasLineBreak(line) || HasBlankEnds(line) || line.starts_with(';') || line.starts_with('['))
    return false;
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return true;
  return !(equals > 0 && IsBlank(line[equals - 1])) && !(equals + 1 < line.size() && IsBlank(line[equals + 1]));
}

// Everything the lookups of a document answer, as text.
std::string Observe(const CIniDocument& doc) {
  std::string out;
  for (const std::string& name : doc.SectionNames()) {
    out += "[" + name + "]\n";
    const IniSection* section = doc.FindSection(name);
    if (!section) {
      out += "(section not found)\n";
      continue;
    }
    for (const std::string& line : CIniDocument::SectionLines(*section)) out += "  " + line + "\n";
    for (const std::string& key : CIniDocument::KeyNames(*section)) {
      const IniLine* line = CIniDocument::FindKey(*section, key);
      out += "  " + key + " -> " + (line ? "'" + line->value + "'" : std::string("(key not found)")) + "\n";
    }
  }
  return out;
}

void CheckConsistent(const CIniDocument& doc, std::string_view what) {
  const std::string bytes = doc.Serialize();
  const std::string edited = Observe(doc);
  const std::string fresh = Observe(CIniDocument::Parse(bytes));
  FUZZ_CHECK(edited == fresh, std::string(what) + ": the edited copy reads\n" + edited + "a fresh parse of its bytes\n" +
                                  fresh + "bytes: " + bytes);
}

std::string Describe(const LineDiff& diff) {
  std::string out = "removed:";
  for (const RawLine& line : diff.before) out += " [" + std::string(line.text) + "|" + std::string(line.eol) + "]";
  out += " added:";
  for (const RawLine& line : diff.after) out += " [" + std::string(line.text) + "|" + std::string(line.eol) + "]";
  return out;
}

// A line that got the line end it lacked, being last and followed now by a new one.
bool GotLineEnd(const RawLine& before, const RawLine& after) {
  return before.text == after.text && before.eol.empty() && after.eol == "\r\n";
}

void CheckSetValue(std::string_view file, std::string_view section, std::string_view key, std::string_view value) {
  CIniDocument doc = CIniDocument::Parse(file);
  const IniSection* oldSection = doc.FindSection(section);
  const IniLine* oldLine = oldSection ? CIniDocument::FindKey(*oldSection, key) : nullptr;
  const std::string expectedLine = (oldLine ? oldLine->name : std::string(key)) + "=" + std::string(value);
  doc.SetValue(section, key, value);
  CheckConsistent(doc, "set");
  if (!IsPlainSection(section) || !IsPlainKey(key) || HasLineBreak(value)) return;

  const std::string bytes = doc.Serialize();
  const IniSection* found = doc.FindSection(section);
  const IniLine* line = found ? CIniDocument::FindKey(*found, key) : nullptr;
  FUZZ_CHECK(line && line->value == TrimIniBlanks(value), "the written value does not read back: " + bytes);

  std::vector<RawLine> before = SplitRawLines(file);
  std::vector<RawLine> after = SplitRawLines(bytes);
  LineDiff diff = Diff(before, after);
  const RawLine entry{expectedLine, "\r\n"};
  if (oldLine) {
    // The key's line is rewritten in place and nothing else moves.
    if (diff.before.empty() && diff.after.empty()) {
      FUZZ_CHECK(oldLine->text == expectedLine, "a changed value left the file alone: " + bytes);
      return;
    }
    FUZZ_CHECK(diff.before.size() == 1 && diff.after.size() == 1, Describe(diff));
    FUZZ_CHECK(diff.after[0].text == expectedLine, Describe(diff));
    // A last line without a line end gets one when it is rewritten.
    const bool sameEnd = diff.after[0].eol == diff.before[0].eol;
    FUZZ_CHECK(sameEnd || (diff.before[0].eol.empty() && diff.after[0].eol == "\r\n"), Describe(diff));
    return;
  }
  // A new line, and a new header when the section is new; the line before them may get a
  // line end.
  const size_t added = oldSection ? 1 : 2;
  FUZZ_CHECK(diff.before.size() <= 1 && diff.after.size() == diff.before.size() + added, Describe(diff));
  if (diff.before.size() == 1) FUZZ_CHECK(GotLineEnd(diff.before[0], diff.after[0]), Describe(diff));
  FUZZ_CHECK(diff.after.back() == entry, Describe(diff));
  if (!oldSection) {
    FUZZ_CHECK(diff.linesAfter == 0, "a new section does not go at the end: " + Describe(diff));
    const std::string header = "[" + std::string(section) + "]";
    FUZZ_CHECK(diff.after[diff.after.size() - 2] == (RawLine{header, "\r\n"}), Describe(diff));
  }
}

void CheckDeleteKey(std::string_view file, std::string_view section, std::string_view key) {
  CIniDocument doc = CIniDocument::Parse(file);
  const IniSection* oldSection = doc.FindSection(section);
  const IniLine* oldLine = oldSection ? CIniDocument::FindKey(*oldSection, key) : nullptr;
  const std::string removedText = oldLine ? oldLine->text : std::string();
  const size_t keysBefore = oldSection ? CIniDocument::KeyNames(*oldSection).size() : 0;
  bool changed = doc.DeleteKey(section, key);
  CheckConsistent(doc, "delete key");
  FUZZ_CHECK(changed == (oldLine != nullptr), "delete key reports a change that did not happen, or none");
  LineDiff diff = Diff(SplitRawLines(file), SplitRawLines(doc.Serialize()));
  if (!oldLine) {
    FUZZ_CHECK(diff.before.empty() && diff.after.empty(), Describe(diff));
    return;
  }
  FUZZ_CHECK(diff.before.size() == 1 && diff.after.empty() && diff.before[0].text == removedText, Describe(diff));
  const IniSection* found = doc.FindSection(section);
  FUZZ_CHECK(found && CIniDocument::KeyNames(*found).size() + 1 == keysBefore, "the section lost more than the key");
}

// What a line is, told apart from its first character after the blanks, as a profile file
// reads: the model against which a deleted section is checked.
enum class LineClass { Blank, Comment, Header, Other };

LineClass ClassOf(std::string_view text, std::string_view* headerName) {
  text = TrimIniBlanks(text);
  if (text.empty() || text.front() == '\0') return LineClass::Blank;
  if (text.front() == ';') return LineClass::Comment;
  if (text.front() != '[') return LineClass::Other;
  std::string_view name = text.substr(1);
  *headerName = TrimIniBlanks(name.substr(0, name.find(']')));
  return LineClass::Header;
}

// The file without the header of the first section of that name and the section's lines,
// its comments and blank lines kept where they stand.
std::string WithoutSection(std::string_view file, std::string_view section) {
  std::string out;
  enum { Before, Inside, After } where = Before;
  for (const RawLine& line : SplitRawLines(file)) {
    std::string_view name;
    LineClass kind = ClassOf(line.text, &name);
    if (kind == LineClass::Header && where != Before) where = After;
    if (kind == LineClass::Header && where == Before && EqualsNoCase(name, section)) {
      where = Inside;
      continue;
    }
    if (where == Inside && kind == LineClass::Other) continue;
    out.append(line.text).append(line.eol);
  }
  return out;
}

void CheckDeleteSection(std::string_view file, std::string_view section) {
  CIniDocument doc = CIniDocument::Parse(file);
  std::vector<std::string> names = doc.SectionNames();
  const bool existed = doc.FindSection(section) != nullptr;
  bool changed = doc.DeleteSection(section);
  CheckConsistent(doc, "delete section");
  FUZZ_CHECK(changed == existed, "delete section reports a change that did not happen, or none");
  const std::string bytes = doc.Serialize();
  const std::string expected = WithoutSection(file, section);
  FUZZ_CHECK(bytes == expected, "deleting the section gave\n" + bytes + "\ninstead of\n" + expected);
  for (size_t i = 0; i < names.size(); ++i)
    if (EqualsNoCase(names[i], section)) {
      names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  FUZZ_CHECK(doc.SectionNames() == names, "deleting a section changed the other sections: " + bytes);
}

std::vector<std::string> SectionLinesOf(std::string_view value) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at <= value.size()) {
    size_t end = value.find('\n', at);
    if (end == std::string_view::npos) end = value.size();
    // An empty line would end the list that the profile function is given.
    if (end > at) lines.emplace_back(value.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

void CheckReplaceSection(std::string_view file, std::string_view section, const std::vector<std::string>& lines) {
  CIniDocument doc = CIniDocument::Parse(file);
  doc.ReplaceSection(section, lines);
  CheckConsistent(doc, "replace section");
  if (!IsPlainSection(section)) return;
  for (const std::string& line : lines)
    if (!IsPlainSectionLine(line)) return;
  const IniSection* found = doc.FindSection(section);
  FUZZ_CHECK(found && CIniDocument::SectionLines(*found) == lines,
             "the section's lines do not read back: " + doc.Serialize());
}

CTestMachine& Machine() {
  static CTestMachine machine;
  return machine;
}

// The profile functions on a machine: what they write is what the document computes, and a
// value written reads back (quotes around it dropped, as every read does).
void CheckProfileFunctions(char op, std::string_view file, const std::string& section, const std::string& key,
                           const std::string& value, const std::vector<std::string>& lines) {
  CTestMachine& machine = Machine();
  machine.Write(kProfileHost, file);
  TheProfileCache().Clear();
  CIniDocument doc = CIniDocument::Parse(file);
  const std::string_view sectionName = DropSpaces(section);
  const std::string_view keyName = DropSpaces(key);
  BOOL written = FALSE;
  if (op == 'k') {
    doc.DeleteKey(sectionName, keyName);
    written = WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, kProfile);
  } else if (op == 's') {
    doc.DeleteSection(sectionName);
    written = WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, kProfile);
  } else if (op == 'S') {
    doc.ReplaceSection(sectionName, lines);
    std::string list;
    for (const std::string& line : lines) list += line + '\0';
    list += '\0';
    written = WritePrivateProfileSectionA(section.c_str(), list.c_str(), kProfile);
  } else {
    doc.SetValue(sectionName, keyName, value);
    if (op == 'b') {
      CProfileWriteBatch batch;
      written = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), kProfile);
      FUZZ_CHECK(machine.Read(kProfileHost) == file, "a write inside a batch went to disk before the batch ended");
    } else {
      written = WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), kProfile);
    }
  }
  FUZZ_CHECK(written, "a profile write failed");
  const std::string onDisk = machine.Read(kProfileHost);
  FUZZ_CHECK(onDisk == doc.Serialize(), "the file on disk\n" + onDisk + "\nthe document\n" + doc.Serialize());
  if (op == 'k' || op == 's' || op == 'S') return;
  if (!IsPlainSection(sectionName) || !IsPlainKey(keyName) || HasLineBreak(value)) return;
  std::string buffer(value.size() + 2, '\0');
  DWORD count = GetPrivateProfileStringA(section.c_str(), key.c_str(), "\x01", buffer.data(),
                                         static_cast<DWORD>(buffer.size()), kProfile);
  std::string_view expected = TrimIniBlanks(value);
  if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') && expected.back() == expected.front())
    expected = expected.substr(1, expected.size() - 2);
  FUZZ_CHECK(std::string_view(buffer.data(), count) == expected,
             "read back '" + std::string(buffer.data(), count) + "' after writing '" + value + "'");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  PreferMemoryTempDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input = AsText(data, size);
  if (input.empty()) return 0;
  const char op = input.front();
  std::vector<std::string_view> fields = SplitFields(input.substr(1), 4);
  const std::string section(fields[0]);
  const std::string key(fields[1]);
  const std::string value(fields[2]);
  const std::string_view file = fields[3];

  CIniDocument parsed = CIniDocument::Parse(file);
  FUZZ_CHECK(parsed.Serialize() == file, "parse and write lost bytes of the file");
  const std::vector<std::string> lines = SectionLinesOf(value);
  if (op == 'k')
    CheckDeleteKey(file, DropSpaces(section), DropSpaces(key));
  else if (op == 's')
    CheckDeleteSection(file, DropSpaces(section));
  else if (op == 'S')
    CheckReplaceSection(file, DropSpaces(section), lines);
  else
    CheckSetValue(file, DropSpaces(section), DropSpaces(key), value);
  CheckProfileFunctions(op, file, section, key, value, lines);
  return 0;
}
