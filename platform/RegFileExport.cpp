// Export of a machine's registry as REGEDIT4 text.
#include "platform/RegFile.h"
#include "platform/RegKeyPath.h"
#include "platform/Registry.h"

namespace {

constexpr std::string_view kNewline = "\r\n";
// Hex lines are wrapped to stay within 80 columns, continued by ",\" and two spaces.
constexpr std::size_t kHexLineWidth = 77;

bool FitsOnALine(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

std::string Quote(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted.push_back('\\');
    quoted.push_back(c);
  }
  return quoted + '"';
}

// A REG_SZ that a quoted string gives back exactly: one closing NUL and no other, no line break.
bool IsPlainString(std::string_view data) {
  return data.ends_with('\0') && data.find('\0') == data.size() - 1 && FitsOnALine(data);
}

std::string HexByte(unsigned char byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  return {kDigits[byte >> 4], kDigits[byte & 0xF]};
}

std::string HexNumber(DWORD number, int width) {
  std::string digits;
  do {
    digits.insert(digits.begin(), "0123456789abcdef"[number & 0xF]);
    number >>= 4;
  } while (number != 0);
  if (static_cast<int>(digits.size()) < width)
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

std::string HexList(std::string text, std::string_view bytes) {
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::string piece = HexByte(static_cast<unsigned char>(bytes[i])) + (i + 1 < bytes.size() ? "," : "");
    if (text.size() - lineStart + piece.size() > kHexLineWidth && text.ends_with(',')) {
      text += "\\";
      text += kNewline;
      lineStart = text.size();
      text += "  ";
    }
    text += piece;
  }
  return text;
}

DWORD LittleEndianDword(std::string_view bytes) {
  DWORD number = 0;
  for (std::size_t i = 4; i-- > 0;) number = number << 8 | static_cast<unsigned char>(bytes[i]);
  return number;
}

std::string ValueLine(const std::string& name, const RegValue& value) {
  std::string line = (name.empty() ? std::string("@") : Quote(name)) + "=";
  if (value.type == REG_SZ && IsPlainString(value.data))
    line += Quote(std::string_view(value.data).substr(0, value.data.size() - 1));
  else if (value.type == REG_DWORD && value.data.size() == 4)
    line += "dword:" + HexNumber(LittleEndianDword(value.data), 8);
  else
    line = HexList(line + (value.type == REG_BINARY ? "hex:" : "hex(" + HexNumber(value.type, 1) + "):"),
                   value.data);
  return line + std::string(kNewline);
}

class CRegExporter {
 public:
  CRegExporter(IMachine& machine, std::string* text) : m_machine(machine), m_text(text) {}

  // The block of `key` (named `path`), then the blocks of its subkeys.
  Status WriteKey(RegKeyId key, const std::string& path, bool isRoot) {
    if (!FitsOnALine(path))
      return Status::Error(ERROR_INVALID_NAME, path + " (a key name with a line break)");
    std::string block;
    RETURN_IF_ERROR(ValueLines(key, path, &block));
    if (!isRoot || !block.empty())
      *m_text += "[" + path + "]" + std::string(kNewline) + block + std::string(kNewline);
    std::string name;
    for (DWORD i = 0;; ++i) {
      Status status = m_machine.RegEnumKey(key, i, &name);
      if (status.Code() == ERROR_NO_MORE_ITEMS) return Status::Ok();
      RETURN_IF_ERROR(status);
      RegKeyId child = 0;
      RETURN_IF_ERROR(m_machine.RegOpenKey(key, name, &child));
      RETURN_IF_ERROR(WriteKey(child, path + "\\" + name, false));
    }
  }

 private:
  Status ValueLines(RegKeyId key, const std::string& path, std::string* lines) {
    std::string name;
    RegValue value;
    for (DWORD i = 0;; ++i) {
      Status status = m_machine.RegEnumValue(key, i, &name, &value);
      if (status.Code() == ERROR_NO_MORE_ITEMS) return Status::Ok();
      RETURN_IF_ERROR(status);
      if (!FitsOnALine(name))
        return Status::Error(ERROR_INVALID_NAME, path + " (a value name with a line break)");
      *lines += ValueLine(name, value);
    }
  }

  IMachine& m_machine;
  std::string* m_text;
};

}  // namespace

Status ExportRegistry(IMachine& machine, std::string_view key, std::string* text) {
  *text = "REGEDIT4";
  *text += kNewline;
  *text += kNewline;
  CRegExporter exporter(machine, text);
  if (key.empty()) {
    for (const RegRoot& root : kRegRoots)
      RETURN_IF_ERROR(exporter.WriteKey(root.id, std::string(root.name), true));
    return Status::Ok();
  }
  const RegRoot* root = nullptr;
  std::string_view below;
  if (!SplitRootedKeyPath(key, &root, &below)) return Status::Error(ERROR_FILE_NOT_FOUND, std::string(key));
  while (below.ends_with('\\')) below.remove_suffix(1);
  RegKeyId id = root->id;
  if (!below.empty()) RETURN_IF_ERROR(machine.RegOpenKey(root->id, below, &id));
  return exporter.WriteKey(
      id, below.empty() ? std::string(root->name) : std::string(root->name) + "\\" + std::string(below),
      below.empty());
}
