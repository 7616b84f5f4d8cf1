// One profile (INI) file parsed into lines that keep their bytes, with an index of its
// sections and keys so that a lookup costs the same in a large file as in a small one.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

enum class IniLineKind { Blank, Comment, Header, Entry, Text };

struct IniLine {
  std::string text;  // the line's bytes without its line end
  std::string eol;   // "\r\n", "\n", "\r", or empty for a last line without one
  IniLineKind kind = IniLineKind::Blank;
  std::string name;   // Header: the section name; Entry: the trimmed key; Text: the trimmed text
  std::string value;  // Entry: the trimmed value, quotes kept
};

struct IniSection {
  IniLine header;
  std::vector<IniLine> lines;
  std::unordered_map<std::string, size_t> firstKey;  // upper-cased key -> first Entry line
};

class CIniDocument {
 public:
  static CIniDocument Parse(std::string_view bytes);
  // The file's bytes: what was parsed, with the edits made since.
  std::string Serialize() const;

  // Names are matched without regard to case (ASCII letters), after the caller has dropped
  // the spaces around them. Only the first of duplicate sections and keys is found.
  const IniSection* FindSection(std::string_view name) const;
  static const IniLine* FindKey(const IniSection& section, std::string_view key);

  // Every section header in file order, duplicates included.
  std::vector<std::string> SectionNames() const;
  // Every key of the section in order, duplicates included; lines without `=` are not keys.
  static std::vector<std::string> KeyNames(const IniSection& section);
  // The section's entries as "key=value" (trimmed) and its lines without `=` (trimmed).
  static std::vector<std::string> SectionLines(const IniSection& section);
  // The same lines one at a time, each given as its parts (the key, "=" and the value, or the
  // text) without copying them; the walk stops when `visit` returns false.
  static void ForEachSectionLine(const IniSection& section,
                                 const std::function<bool(std::span<const std::string_view> parts)>& visit);

  // Edits return whether the document changed. New lines end in CR LF; a line that had no
  // line end and gets a successor is given one.
  bool SetValue(std::string_view section, std::string_view key, std::string_view value);
  bool DeleteKey(std::string_view section, std::string_view key);
  // Removes the header, the entries and the lines without `=`; comments and blank lines stay
  // where they were.
  bool DeleteSection(std::string_view section);
  // Replaces the section's entries and lines without `=` by `lines`, placed where the first of
  // them stood (or under the header); a missing section is added at the end.
  bool ReplaceSection(std::string_view section, const std::vector<std::string>& lines);

 private:
  IniSection* Find(std::string_view name);
  void AppendSection(std::string_view name, const std::vector<std::string>& lines);
  void IndexSections();
  IniLine* LastLine();
  // Text with a line break in it, or a new line that reads as a section header, changes the
  // lines themselves, so the document is read back whole.
  void ReparseIfBroken(std::string_view text, bool addsHeader);

  std::vector<IniLine> m_preamble;  // lines before the first header: no call reaches them
  std::vector<IniSection> m_sections;
  std::unordered_map<std::string, size_t> m_firstSection;  // upper-cased name -> index
};

// Drops the blanks (space, tab, vertical tab) that surround names and values in a file.
std::string_view TrimIniBlanks(std::string_view text);
