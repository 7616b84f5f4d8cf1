// The line parsers of the five actions on any text. Whatever a line holds, what an action
// then searches for or removes is made of the line's own fields, in their order and with their
// separators, fits the room the program gives it, and the walk ends only where a line says so.
//
// Input: one byte that picks the action, then its section's lines separated by LF; for
// DeleteInfFile instead Section NUL Item NUL Search_ID NUL and the tested value.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ActionLines.h"
#include "engine/TextRoom.h"
#include "platform/TextCase.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

const PathDirectories& Directories() {
  static const PathDirectories dirs{CString("C:\\WINDOWS"), CString("C:\\WINDOWS\\SYSTEM"),
                                    CString("C:\\Win32App\\Premiere"), CString("C:\\MSVE25")};
  return dirs;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (true) {
    size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + 1);
  }
}

// The directory a key text's path variable stands for, and the text after it; false when the
// text begins with "$" but names none of the four.
bool Variable(std::string_view keyText, std::string_view* dir, std::string_view* rest) {
  const PathDirectories& dirs = Directories();
  const std::array<std::pair<std::string_view, const CString*>, 4> variables{{{"windows", &dirs.m_strWindowsDir},
                                                                              {"system", &dirs.m_strSystemDir},
                                                                              {"premiere", &dirs.m_strPremiereDir},
                                                                              {"mstudio", &dirs.m_strMStudioDir}}};
  *dir = {};
  *rest = keyText;
  if (!keyText.starts_with('$')) return true;
  size_t close = keyText.find('$', 1);
  if (close == std::string_view::npos) return false;
  for (const auto& [name, value] : variables)
    if (EqualsNoCase(keyText.substr(1, close - 1), name)) {
      *dir = value->Str();
      *rest = keyText.substr(close + 1);
      return true;
    }
  return false;
}

// `text` stands for `keyText`: its variable's directory followed directly by the rest.
bool Expands(std::string_view keyText, std::string_view text) {
  std::string_view dir, rest;
  return Variable(keyText, &dir, &rest) && text.size() == dir.size() + rest.size() && text.starts_with(dir) &&
         text.ends_with(rest);
}

// The line begins with the fields, each closed by its separator: first#second#third#fourth=.
bool StartsWithFields(std::string_view line, const HashLine& fields) {
  const std::string head = std::string(fields.first) + '#' + std::string(fields.second) + '#' +
                           std::string(fields.third) + '#' + std::string(fields.fourth) + '=';
  return line.starts_with(head) && fields.first.find('#') == std::string_view::npos &&
         fields.second.find('#') == std::string_view::npos && fields.third.find('#') == std::string_view::npos &&
         fields.fourth.find('=') == std::string_view::npos;
}

void FileLines(std::string_view section) {
  for (std::string_view line : Lines(section)) {
    const FileLine parsed = ParseFileLine(line, Directories());
    const std::string where(line);
    const size_t equals = line.find('=');
    const std::string_view keyText = line.substr(0, equals);
    std::string_view dir, rest;
    const bool ends = equals == std::string_view::npos || !Variable(keyText, &dir, &rest);
    FUZZ_CHECK((parsed.step == LineStep::EndOfSection) == ends, where);
    if (parsed.step != LineStep::Act) continue;
    FUZZ_CHECK(Expands(keyText, parsed.pattern), where + " -> " + parsed.pattern);
    FUZZ_CHECK(FitsTextRoom(parsed.pattern) && FitsTextRoom(keyText), where);
    // The folder is the pattern up to its last separator; the search's last element follows.
    const std::string_view folder(parsed.folder);
    FUZZ_CHECK(folder.ends_with('\\') && parsed.pattern.size() >= folder.size() &&
                   std::string_view(parsed.pattern).substr(0, folder.size() - 1) == folder.substr(0, folder.size() - 1) &&
                   std::string_view("\\/").find(parsed.pattern[folder.size() - 1]) != std::string_view::npos &&
                   parsed.pattern.find_first_of("\\/", folder.size()) == std::string::npos,
               where + " -> " + parsed.pattern + " in " + parsed.folder);
  }
}

void GroupLines(std::string_view section) {
  const std::string programs = "C:\\WINDOWS\\Start Menu\\Programs";
  for (std::string_view line : Lines(section)) {
    const std::string where(line);
    const std::optional<GroupLine> parsed = SplitGroupLine(line);
    const size_t hash = line.find('#');
    const size_t equals = line.find('=', hash == std::string_view::npos ? 0 : hash + 1);
    FUZZ_CHECK(parsed.has_value() == (equals != std::string_view::npos), where);
    if (!parsed) continue;
    std::string head(parsed->group);
    if (parsed->prefix) head += '#' + std::string(*parsed->prefix);
    FUZZ_CHECK(line.starts_with(head + '=') && parsed->prefix.has_value() == (hash != std::string_view::npos), where);
    FUZZ_CHECK(!parsed->prefix || parsed->group.find('#') == std::string_view::npos, where);
    const std::optional<GroupSearch> search = GroupLineSearch(programs, *parsed);
    // "%s\%s\%.5s*.lnk" of the Programs folder, the group and the prefix; refused only when
    // it does not fit the room.
    const std::string folder = programs + '\\' + std::string(parsed->group);
    const std::string_view prefix = parsed->prefix ? parsed->prefix->substr(0, kGroupPrefixLength) : std::string_view();
    const std::string pattern = folder + '\\' + std::string(prefix) + "*.lnk";
    FUZZ_CHECK(search.has_value() == FitsTextRoom(pattern), where);
    if (search) FUZZ_CHECK(search->folder == folder && search->pattern == pattern, where + " -> " + search->pattern);
  }
}

void IniLines(std::string_view section) {
  for (std::string_view line : Lines(section)) {
    const std::string where(line);
    const IniEntryLine parsed = ParseIniEntryLine(line, Directories());
    const size_t hash = line.find('#');
    std::string_view dir, rest;
    // Only the file field of a line with a "#" can end the walk.
    const bool ends = hash != std::string_view::npos && !Variable(line.substr(0, hash), &dir, &rest);
    FUZZ_CHECK((parsed.step == LineStep::EndOfSection) == ends, where);
    if (parsed.step != LineStep::Act) continue;
    FUZZ_CHECK(StartsWithFields(line, parsed.fields), where);
    FUZZ_CHECK(Expands(parsed.fields.first, parsed.file), where + " -> " + parsed.file);
    FUZZ_CHECK(FitsTextRoom(parsed.file) && FitsTextRoom(parsed.fields.second) && FitsTextRoom(parsed.fields.third),
               where);
  }
}

bool NamesRoot(std::string_view name) {
  for (std::string_view root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT", "HKEY_USERS",
                                "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"})
    if (EqualsNoCase(name, root)) return true;
  return false;
}

void RegLines(std::string_view section) {
  const std::array<HKEY, 6> roots{HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT,
                                  HKEY_USERS,          HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
  HKEY currentRoot = nullptr;
  for (std::string_view line : Lines(section)) {
    const std::string where(line);
    const HKEY before = currentRoot;
    const RegEntryLine parsed = ParseRegEntryLine(line, currentRoot);
    const size_t hash = line.find('#');
    const bool named = hash != std::string_view::npos && NamesRoot(line.substr(0, hash));
    FUZZ_CHECK(named || currentRoot == before, where + ": the root changed without a root name");
    if (named) FUZZ_CHECK(std::find(roots.begin(), roots.end(), currentRoot) != roots.end(), where);
    if (parsed.step != LineStep::Act) continue;
    FUZZ_CHECK(parsed.root == currentRoot && currentRoot != nullptr, where);
    FUZZ_CHECK(StartsWithFields(line, parsed.fields), where);
    FUZZ_CHECK(FitsTextRoom(parsed.fields.second) && FitsTextRoom(parsed.fields.third), where);
    const KeyDeletion deletion = SplitKeyDeletion(parsed.fields.second);
    const std::string joined = deletion.child ? deletion.parent + '\\' + *deletion.child : deletion.parent;
    FUZZ_CHECK(joined == parsed.fields.second, where);
    FUZZ_CHECK(!deletion.child || deletion.child->find('\\') == std::string::npos, where);
  }
}

// The test looks at the value's text, not at its letter case, and at a part of it: what holds
// a matching value matches too.
void InfTestOf(std::string_view input) {
  const std::vector<std::string_view> fields = SplitFields(input, 4);
  const std::optional<InfTest> test =
      MakeInfTest(std::string(fields[0]), std::string(fields[1]), std::string(fields[2]));
  const bool usable = !fields[2].empty() && FitsTextRoom(fields[0]) && FitsTextRoom(fields[1]) &&
                      FitsTextRoom(fields[2]);
  FUZZ_CHECK(test.has_value() == usable, std::string(input));
  if (!test) return;
  const std::string value(fields[3]);
  const bool matches = InfValueMatches(value, *test);
  std::string lower = value;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  FUZZ_CHECK(InfValueMatches(lower, *test) == matches, value);
  FUZZ_CHECK(InfValueMatches(AsciiUpper(value), *test) == matches, value);
  if (matches) FUZZ_CHECK(InfValueMatches("x" + value + "y", *test), value);
  // A Search_ID with a lower-case letter never matches: the value is upper-cased first.
  if (test->searchId != AsciiUpper(test->searchId)) FUZZ_CHECK(!matches, test->searchId);
  if (test->searchId == AsciiUpper(value)) FUZZ_CHECK(matches, value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest = AsText(data + 1, size - 1);
  switch (data[0] % 5) {
    case 0:
      FileLines(rest);
      break;
    case 1:
      GroupLines(rest);
      break;
    case 2:
      IniLines(rest);
      break;
    case 3:
      RegLines(rest);
      break;
    default:
      InfTestOf(rest);
      break;
  }
  return 0;
}
