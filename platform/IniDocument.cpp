// Parsing and in-place editing of profile files.
#include "platform/IniDocument.h"

#include <algorithm>
#include <array>

#include "platform/TextCase.h"

namespace {

bool IsIniBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

IniLine ClassifyLine(std::string text, std::string eol) {
  IniLine line;
  line.text = std::move(text);
  line.eol = std::move(eol);
  std::string_view rest = line.text;
  while (!rest.empty() && IsIniBlank(rest.front())) rest.remove_prefix(1);
  if (rest.empty() || rest.front() == '\0') {
    line.kind = IniLineKind::Blank;
  } else if (rest.front() == ';') {
    line.kind = IniLineKind::Comment;
  } else if (rest.front() == '[') {
    line.kind = IniLineKind::Header;
    std::string_view name = rest.substr(1);
    name = name.substr(0, name.find(']'));
    line.name = TrimIniBlanks(name);
  } else if (size_t equals = rest.find('='); equals != std::string_view::npos) {
    line.kind = IniLineKind::Entry;
    line.name = TrimIniBlanks(rest.substr(0, equals));
    line.value = TrimIniBlanks(rest.substr(equals + 1));
  } else {
    line.kind = IniLineKind::Text;
    line.name = TrimIniBlanks(rest);
  }
  return line;
}

IniLine NewLine(std::string text) { return ClassifyLine(std::move(text), "\r\n"); }

// A written line that begins with "[" (a key "[x" gives the line "[x=value") is a section
// header in the file, and starts a section of its own when the file is read again.
bool ReadsAsHeader(std::string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  return text.starts_with('[');
}

bool IsEntryOrText(const IniLine& line) {
  return line.kind == IniLineKind::Entry || line.kind == IniLineKind::Text;
}

void IndexKeys(IniSection& section) {
  section.firstKey.clear();
  for (size_t i = 0; i < section.lines.size(); ++i)
    if (section.lines[i].kind == IniLineKind::Entry) section.firstKey.try_emplace(AsciiUpper(section.lines[i].name), i);
}

void GiveLineEnd(IniLine& line) {
  if (line.eol.empty()) line.eol = "\r\n";
}

// Where a new entry goes: after the last entry or line without `=`, before trailing comments
// and blank lines.
size_t InsertionPoint(const IniSection& section) {
  for (size_t i = section.lines.size(); i > 0; --i)
    if (IsEntryOrText(section.lines[i - 1])) return i;
  return 0;
}

void InsertLines(IniSection& section, size_t at, const std::vector<std::string>& texts) {
  GiveLineEnd(at == 0 ? section.header : section.lines[at - 1]);
  std::vector<IniLine> lines;
  lines.reserve(texts.size());
  for (const std::string& text : texts) lines.push_back(NewLine(text));
  section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at),
                       std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
}

std::string EntryText(std::string_view key, std::string_view value) {
  std::string text(key);
  text += '=';
  text += value;
  return text;
}

}  // namespace

std::string_view TrimIniBlanks(std::string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

CIniDocument CIniDocument::Parse(std::string_view bytes) {
  CIniDocument doc;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    std::string eol;
    if (end == std::string_view::npos) {
      end = bytes.size();
    } else {
      eol = (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? "\r\n"
                                                                                     : std::string(1, bytes[end]);
    }
    IniLine line = ClassifyLine(std::string(bytes.substr(pos, end - pos)), eol);
    pos = end + eol.size();
    if (line.kind == IniLineKind::Header) {
      doc.m_sections.push_back(IniSection{std::move(line), {}, {}});
    } else if (doc.m_sections.empty()) {
      doc.m_preamble.push_back(std::move(line));
    } else {
      doc.m_sections.back().lines.push_back(std::move(line));
    }
  }
  for (IniSection& section : doc.m_sections) IndexKeys(section);
  doc.IndexSections();
  return doc;
}

std::string CIniDocument::Serialize() const {
  std::string out;
  auto put = [&out](const IniLine& line) {
    out += line.text;
    out += line.eol;
  };
  for (const IniLine& line : m_preamble) put(line);
  for (const IniSection& section : m_sections) {
    put(section.header);
    for (const IniLine& line : section.lines) put(line);
  }
  return out;
}

void CIniDocument::IndexSections() {
  m_firstSection.clear();
  for (size_t i = 0; i < m_sections.size(); ++i) m_firstSection.try_emplace(AsciiUpper(m_sections[i].header.name), i);
}

const IniSection* CIniDocument::FindSection(std::string_view name) const {
  auto it = m_firstSection.find(AsciiUpper(name));
  return it == m_firstSection.end() ? nullptr : &m_sections[it->second];
}

IniSection* CIniDocument::Find(std::string_view name) { return const_cast<IniSection*>(FindSection(name)); }

const IniLine* CIniDocument::FindKey(const IniSection& section, std::string_view key) {
  auto it = section.firstKey.find(AsciiUpper(key));
  return it == section.firstKey.end() ? nullptr : &section.lines[it->second];
}

std::vector<std::string> CIniDocument::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(m_sections.size());
  for (const IniSection& section : m_sections) names.push_back(section.header.name);
  return names;
}

std::vector<std::string> CIniDocument::KeyNames(const IniSection& section) {
  std::vector<std::string> names;
  for (const IniLine& line : section.lines)
    if (line.kind == IniLineKind::Entry) names.push_back(line.name);
  return names;
}

std::vector<std::string> CIniDocument::SectionLines(const IniSection& section) {
  std::vector<std::string> lines;
  ForEachSectionLine(section, [&lines](std::span<const std::string_view> parts) {
    std::string& line = lines.emplace_back();
    for (std::string_view part : parts) line += part;
    return true;
  });
  return lines;
}

void CIniDocument::ForEachSectionLine(const IniSection& section,
                                      const std::function<bool(std::span<const std::string_view> parts)>& visit) {
  for (const IniLine& line : section.lines) {
    if (line.kind == IniLineKind::Entry) {
      const std::array<std::string_view, 3> parts{line.name, "=", line.value};
      if (!visit(parts)) return;
    } else if (line.kind == IniLineKind::Text) {
      const std::array<std::string_view, 1> parts{line.name};
      if (!visit(parts)) return;
    }
  }
}

IniLine* CIniDocument::LastLine() {
  if (!m_sections.empty()) {
    IniSection& last = m_sections.back();
    return last.lines.empty() ? &last.header : &last.lines.back();
  }
  return m_preamble.empty() ? nullptr : &m_preamble.back();
}

void CIniDocument::AppendSection(std::string_view name, const std::vector<std::string>& lines) {
  if (IniLine* last = LastLine()) GiveLineEnd(*last);
  std::string header(1, '[');
  header.append(name).push_back(']');
  IniSection section{NewLine(std::move(header)), {}, {}};
  for (const std::string& text : lines) section.lines.push_back(NewLine(text));
  IndexKeys(section);
  m_sections.push_back(std::move(section));
  m_firstSection.try_emplace(AsciiUpper(m_sections.back().header.name), m_sections.size() - 1);
}

void CIniDocument::ReparseIfBroken(std::string_view text, bool addsHeader) {
  if (addsHeader || text.find_first_of("\r\n") != std::string_view::npos) *this = Parse(Serialize());
}

bool CIniDocument::SetValue(std::string_view sectionName, std::string_view key, std::string_view value) {
  IniSection* section = Find(sectionName);
  std::string text;
  if (!section) {
    AppendSection(sectionName, {EntryText(key, value)});
  } else if (auto it = section->firstKey.find(AsciiUpper(key)); it != section->firstKey.end()) {
    IniLine& line = section->lines[it->second];
    text = EntryText(line.name, value);
    if (line.text == text && !line.eol.empty()) return false;
    line.text = text;
    line.value = TrimIniBlanks(value);
    GiveLineEnd(line);
  } else {
    InsertLines(*section, InsertionPoint(*section), {EntryText(key, value)});
    IndexKeys(*section);
  }
  std::string written(sectionName);
  written.append(key).append(value);
  ReparseIfBroken(written, ReadsAsHeader(EntryText(key, value)));
  return true;
}

bool CIniDocument::DeleteKey(std::string_view sectionName, std::string_view key) {
  IniSection* section = Find(sectionName);
  if (!section) return false;
  auto it = section->firstKey.find(AsciiUpper(key));
  if (it == section->firstKey.end()) return false;
  const size_t removed = it->second;
  section->lines.erase(section->lines.begin() + static_cast<std::ptrdiff_t>(removed));
  // The index follows the removal without being built again: a run that removes many keys of
  // one section would otherwise rebuild it once for every key.
  for (auto& [name, index] : section->firstKey)
    if (index > removed) --index;
  auto duplicate = std::find_if(section->lines.begin() + static_cast<std::ptrdiff_t>(removed), section->lines.end(),
                                [&](const IniLine& line) {
                                  return line.kind == IniLineKind::Entry && EqualsNoCase(line.name, key);
                                });
  if (duplicate == section->lines.end())
    section->firstKey.erase(it);
  else
    it->second = static_cast<size_t>(duplicate - section->lines.begin());
  return true;
}

bool CIniDocument::DeleteSection(std::string_view sectionName) {
  auto it = m_firstSection.find(AsciiUpper(sectionName));
  if (it == m_firstSection.end()) return false;
  size_t index = it->second;
  std::vector<IniLine>& before = index == 0 ? m_preamble : m_sections[index - 1].lines;
  for (IniLine& line : m_sections[index].lines)
    if (!IsEntryOrText(line)) before.push_back(std::move(line));
  m_sections.erase(m_sections.begin() + static_cast<std::ptrdiff_t>(index));
  IndexSections();
  return true;
}

bool CIniDocument::ReplaceSection(std::string_view sectionName, const std::vector<std::string>& lines) {
  IniSection* section = Find(sectionName);
  std::string joined(sectionName);
  for (const std::string& line : lines) joined += line;
  if (!section) {
    AppendSection(sectionName, lines);
  } else {
    std::vector<IniLine>& old = section->lines;
    size_t at = 0;
    while (at < old.size() && !IsEntryOrText(old[at])) ++at;
    if (at == old.size()) at = 0;  // no entries: the new ones go right under the header
    std::vector<IniLine> kept;
    for (IniLine& line : old)
      if (!IsEntryOrText(line)) kept.push_back(std::move(line));
    old = std::move(kept);
    if (!lines.empty()) InsertLines(*section, at, lines);
    IndexKeys(*section);
  }
  ReparseIfBroken(joined, std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
                    return ReadsAsHeader(line);
                  }));
  return true;
}
