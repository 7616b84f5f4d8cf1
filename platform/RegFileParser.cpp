// Parsing of .reg text into the changes it asks for.
#include "platform/RegFile.h"
#include "platform/RegKeyPath.h"
#include "platform/Registry.h"
#include "platform/TextCase.h"

namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

void SkipSpace(std::string_view* text) {
  std::size_t first = text->find_first_not_of(" \t");
  text->remove_prefix(first == std::string_view::npos ? text->size() : first);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiUpper(c);
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

// Reads up to `maxDigits` hexadecimal digits; false when there is none.
bool TakeHex(std::string_view* text, std::size_t maxDigits, DWORD* number) {
  std::size_t count = 0;
  *number = 0;
  while (count < text->size() && count < maxDigits && HexDigit((*text)[count]) >= 0)
    *number = *number * 16 + static_cast<DWORD>(HexDigit((*text)[count++]));
  text->remove_prefix(count);
  return count > 0;
}

// The 8-bit text of the file: UTF-16LE (after its byte-order mark) narrowed, a UTF-8
// byte-order mark dropped, anything else as it is.
bool DecodeText(std::string_view bytes, std::string* text, RegFileError* error) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  if (!bytes.starts_with("\xFF\xFE")) {
    text->assign(bytes);
    return true;
  }
  if (bytes.size() % 2 != 0) {
    *error = {{}, 0, "a UTF-16 file of an odd number of bytes"};
    return false;
  }
  int line = 1;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    auto unit = static_cast<unsigned>(static_cast<unsigned char>(bytes[i]) |
                                      static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit > 0xFF) {
      *error = {{}, line, "a character that the ANSI code page does not have"};
      return false;
    }
    line += unit == '\n' ? 1 : 0;
    text->push_back(static_cast<char>(unit));
  }
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

class CRegFileParser {
 public:
  CRegFileParser(std::vector<std::string_view> lines, std::vector<RegFileChange>* changes,
                 RegFileError* error)
      : m_lines(std::move(lines)), m_changes(changes), m_error(error) {}

  bool Parse();

 private:
  bool Fail(std::string text) {
    *m_error = {{}, m_line, std::move(text)};
    return false;
  }
  bool ParseHeader();
  bool ParseKeyLine(std::string_view rest);
  bool ParseValueLine(std::string_view rest);
  bool ParseData(std::string_view rest, RegFileChange* change);
  bool ParseQuoted(std::string_view* rest, std::string* text);
  bool ParseTail(std::string_view rest);
  bool ParseHexData(std::string_view rest, RegFileChange* change);
  bool ParseHexList(std::string_view rest, std::string* bytes);
  bool NextContinuationLine(std::string_view* rest);
  bool NarrowUtf16(std::string* bytes);

  std::vector<std::string_view> m_lines;
  std::vector<RegFileChange>* m_changes;
  RegFileError* m_error;
  std::size_t m_next = 0;  // index of the next line to read
  int m_line = 0;          // number of the line being read
  bool m_unicode = false;  // a version 5.00 file: hex(2) and hex(7) data are UTF-16LE
  bool m_inKey = false;
};

bool CRegFileParser::Parse() {
  if (!ParseHeader()) return false;
  while (m_next < m_lines.size()) {
    m_line = static_cast<int>(++m_next);
    std::string_view rest = m_lines[m_next - 1];
    SkipSpace(&rest);
    if (rest.empty() || rest[0] == ';' || rest[0] == '#') continue;
    if (rest[0] == '[') {
      if (!ParseKeyLine(rest.substr(1))) return false;
    } else if (rest[0] == '"' || rest[0] == '@') {
      if (!m_inKey) return Fail("a value line outside a key (no key line before it)");
      if (!ParseValueLine(rest)) return false;
    } else {
      return Fail("neither a key line, a value line nor a comment");
    }
  }
  return true;
}

bool CRegFileParser::ParseHeader() {
  m_line = 1;
  if (m_lines.empty()) return Fail("an empty file, not a .reg file");
  std::string_view header = m_lines[m_next++];
  SkipSpace(&header);
  while (header.ends_with(' ') || header.ends_with('\t')) header.remove_suffix(1);
  if (header != kHeader4 && header != kHeader5)
    return Fail("not a .reg file: the first line must be REGEDIT4 or " + std::string(kHeader5));
  m_unicode = header == kHeader5;
  return true;
}

bool CRegFileParser::ParseKeyLine(std::string_view rest) {
  bool remove = rest.starts_with('-');
  if (remove) rest.remove_prefix(1);
  if (rest.empty() || rest[0] == ' ' || rest[0] == '\t') return Fail("a key name must follow '[' directly");
  std::size_t close = rest.rfind(']');
  if (close == std::string_view::npos) return Fail("a key line without its closing ']'");
  std::string_view after = rest.substr(close + 1);
  SkipSpace(&after);
  if (!after.empty()) return Fail("text after the key line's closing ']'");
  std::string_view keyText = rest.substr(0, close);
  // Lines end at LF; a CR inside one would give a name that no .reg line can write back.
  if (keyText.find('\r') != std::string_view::npos) return Fail("a key name with a line break");
  RegFileChange change;
  std::string_view below;
  if (!SplitRootedKeyPath(keyText, &change.root, &below))
    return Fail("unknown root key \"" + std::string(keyText.substr(0, keyText.find('\\'))) + "\"");
  std::vector<std::string_view> parts;
  Status valid = below.starts_with('\\') ? Status::Error(ERROR_FILE_NOT_FOUND)
                                         : SplitKeyPath(below, KeyPathUse::Create, &parts);
  if (!valid)
    return Fail(valid.Code() == ERROR_INVALID_PARAMETER ? "a key name longer than 255 characters"
                                                        : "an empty key name (a doubled backslash)");
  if (remove && parts.empty()) return Fail("a root key cannot be deleted");
  change.kind = remove ? RegFileChange::Kind::DeleteKey : RegFileChange::Kind::CreateKey;
  change.path = below;
  change.line = m_line;
  m_changes->push_back(std::move(change));
  m_inKey = !remove;
  return true;
}

bool CRegFileParser::ParseValueLine(std::string_view rest) {
  RegFileChange change;
  change.kind = RegFileChange::Kind::SetValue;
  change.line = m_line;
  if (rest[0] == '@') {
    rest.remove_prefix(1);
  } else if (!ParseQuoted(&rest, &change.name)) {
    return false;
  } else if (change.name.find('\r') != std::string::npos) {
    return Fail("a value name with a line break");
  }
  SkipSpace(&rest);
  if (!rest.starts_with('=')) return Fail("'=' must follow the value's name");
  rest.remove_prefix(1);
  SkipSpace(&rest);
  if (!ParseData(rest, &change)) return false;
  m_changes->push_back(std::move(change));
  return true;
}

bool CRegFileParser::ParseData(std::string_view rest, RegFileChange* change) {
  if (rest.starts_with('-')) {
    change->kind = RegFileChange::Kind::DeleteValue;
    return ParseTail(rest.substr(1));
  }
  if (rest.starts_with('"')) {
    change->value.type = REG_SZ;
    if (!ParseQuoted(&rest, &change->value.data)) return false;
    change->value.data.push_back('\0');
    return ParseTail(rest);
  }
  if (StartsWithNoCase(rest, "dword:")) {
    rest.remove_prefix(6);
    DWORD number = 0;
    if (!TakeHex(&rest, 8, &number)) return Fail("dword: must be followed by 1 to 8 hexadecimal digits");
    if (!rest.empty() && HexDigit(rest[0]) >= 0) return Fail("a dword has at most 8 hexadecimal digits");
    change->value.type = REG_DWORD;
    for (int shift = 0; shift < 32; shift += 8)
      change->value.data.push_back(static_cast<char>(number >> shift));
    return ParseTail(rest);
  }
  if (StartsWithNoCase(rest, "hex")) return ParseHexData(rest.substr(3), change);
  return Fail("unknown value data: expected \"text\", dword:, hex:, hex(N): or -");
}

bool CRegFileParser::ParseQuoted(std::string_view* rest, std::string* text) {
  // Only \\ and \" are escapes in .reg strings; any other backslash sequence is refused.
  for (std::size_t i = 1; i < rest->size(); ++i) {
    char c = (*rest)[i];
    if (c == '"') {
      rest->remove_prefix(i + 1);
      return true;
    }
    if (c == '\\') {
      char next = i + 1 < rest->size() ? (*rest)[i + 1] : '\0';
      if (next != '\\' && next != '"')
        return Fail("an unknown escape in a string (only \\\\ and \\\" are allowed)");
      c = next;
      ++i;
    }
    text->push_back(c);
  }
  return Fail("a string without its closing quote");
}

bool CRegFileParser::ParseTail(std::string_view rest) {
  SkipSpace(&rest);
  if (rest.empty() || rest[0] == ';') return true;
  return Fail("text after the value's data");
}

bool CRegFileParser::ParseHexData(std::string_view rest, RegFileChange* change) {
  change->value.type = REG_BINARY;
  if (rest.starts_with('(')) {
    rest.remove_prefix(1);
    DWORD type = 0;
    if (!TakeHex(&rest, 8, &type) || !rest.starts_with(')'))
      return Fail("hex( must be followed by a type of 1 to 8 hexadecimal digits and ')'");
    rest.remove_prefix(1);
    change->value.type = type;
  }
  if (!rest.starts_with(':')) return Fail("':' must follow hex or hex(N)");
  if (!ParseHexList(rest.substr(1), &change->value.data)) return false;
  bool wide = change->value.type == REG_EXPAND_SZ || change->value.type == REG_MULTI_SZ;
  return !(m_unicode && wide) || NarrowUtf16(&change->value.data);
}

bool CRegFileParser::ParseHexList(std::string_view rest, std::string* bytes) {
  bool afterComma = true;  // a byte may come next
  for (;;) {
    SkipSpace(&rest);
    if (rest.empty() || rest[0] == ';') return true;
    if (rest[0] == '\\') {
      if (bytes->empty() || !afterComma) return Fail("a continuation backslash must follow a comma");
      rest.remove_prefix(1);
      if (!ParseTail(rest) || !NextContinuationLine(&rest)) return false;
    } else if (rest[0] == ',') {
      if (afterComma) return Fail("a comma without a byte before it");
      afterComma = true;
      rest.remove_prefix(1);
    } else {
      DWORD byte = 0;
      if (!afterComma) return Fail("bytes must be separated by commas");
      if (!TakeHex(&rest, 2, &byte)) return Fail("a byte must be 1 or 2 hexadecimal digits");
      bytes->push_back(static_cast<char>(byte));
      afterComma = false;
    }
  }
}

bool CRegFileParser::NextContinuationLine(std::string_view* rest) {
  // Blank lines and comment lines may stand between the lines of a continued value.
  while (m_next < m_lines.size()) {
    m_line = static_cast<int>(++m_next);
    *rest = m_lines[m_next - 1];
    SkipSpace(rest);
    if (!rest->empty() && (*rest)[0] != ';' && (*rest)[0] != '#') return true;
  }
  return Fail("the file ends inside a continued value");
}

bool CRegFileParser::NarrowUtf16(std::string* bytes) {
  if (bytes->size() % 2 != 0) return Fail("UTF-16 text data of an odd number of bytes");
  std::string narrow;
  for (std::size_t i = 0; i < bytes->size(); i += 2) {
    if ((*bytes)[i + 1] != '\0') return Fail("a character that the ANSI code page does not have");
    narrow.push_back((*bytes)[i]);
  }
  *bytes = std::move(narrow);
  return true;
}

}  // namespace

std::string RegFileError::ToString() const {
  std::string where = file;
  if (line > 0) where += (where.empty() ? "line " : ":") + std::to_string(line);
  return where.empty() ? text : where + ": " + text;
}

bool ParseRegFile(std::string_view bytes, std::vector<RegFileChange>* changes, RegFileError* error) {
  std::string text;
  if (!DecodeText(bytes, &text, error)) return false;
  return CRegFileParser(SplitLines(text), changes, error).Parse();
}
