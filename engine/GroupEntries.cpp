// AddGroupEntries: the Start-menu shortcuts, and group folders, that a DeleteGroupEntries
// section names.
#include <optional>
#include <string>
#include <string_view>

#include "engine/Actions.h"
#include "engine/FileSearch.h"
#include "engine/OpenRegKey.h"
#include "engine/TextRoom.h"

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// A prefix line matches the shortcuts whose names begin with this many characters of it.
constexpr size_t kPrefixLength = 5;

std::optional<std::string> ProgramsFolder() {
  std::string folder;
  {
    COpenRegKey key(HKEY_CURRENT_USER, kShellFolders);
    if (!key.QueryText("Programs", &folder)) return std::nullopt;
  }
  if (folder.ends_with('\\')) folder.pop_back();
  return folder;
}

struct GroupLine {
  std::string_view group;
  std::optional<std::string_view> prefix;  // absent for a whole-group line
};

// The line split at its first "#" and at the first "=" after that; nullopt without that "=".
std::optional<GroupLine> SplitGroupLine(std::string_view line) {
  size_t hash = line.find('#');
  size_t equals = line.find('=', hash == std::string_view::npos ? 0 : hash + 1);
  if (equals == std::string_view::npos) return std::nullopt;
  if (hash == std::string_view::npos) return GroupLine{line.substr(0, equals), std::nullopt};
  return GroupLine{line.substr(0, hash), line.substr(hash + 1, equals - hash - 1)};
}

void AddLineShortcuts(const std::string& programs, const GroupLine& line, RemovalList& list) {
  const std::string folder = programs + '\\' + std::string(line.group);
  std::string pattern = folder + '\\';
  if (line.prefix) pattern += line.prefix->substr(0, kPrefixLength);
  pattern += "*.lnk";
  if (!FitsTextRoom(pattern)) return;
  bool found = false;
  ForEachMatch(pattern, [&](const WIN32_FIND_DATAA& match) {
    // A name that is already of the 8.3 form has no short name of its own.
    const char* name = match.cAlternateFileName[0] ? match.cAlternateFileName : match.cFileName;
    list.Add(CString(folder + '\\' + name), match.nFileSizeLow, RemovalKind::File);
    found = true;
  });
  // Only a whole group takes its folder: a prefix line leaves the group's other shortcuts, and
  // the folder with them.
  if (found && !line.prefix) list.Add(CString(folder), 1, RemovalKind::Directory);
}

}  // namespace

void AddGroupEntries(const SectionLines& lines, RemovalList& list) {
  std::optional<std::string> programs = ProgramsFolder();
  if (!programs) return;
  for (const std::string& text : lines) {
    std::optional<GroupLine> line = SplitGroupLine(text);
    if (!line) return;
    AddLineShortcuts(*programs, *line, list);
  }
}
