// AddGroupEntries: the Start-menu shortcuts, and group folders, that a DeleteGroupEntries
// section names.
#include <optional>
#include <string>
#include <string_view>

#include "engine/ActionLines.h"
#include "engine/Actions.h"
#include "engine/FileSearch.h"
#include "engine/OpenRegKey.h"
#include "engine/TextRoom.h"

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::optional<std::string> ProgramsFolder() {
  std::string folder;
  {
    COpenRegKey key(HKEY_CURRENT_USER, kShellFolders);
    if (!key.QueryText("Programs", &folder)) return std::nullopt;
  }
  if (folder.ends_with('\\')) folder.pop_back();
  return folder;
}

void AddLineShortcuts(const std::string& programs, const GroupLine& line, RemovalList& list) {
  std::optional<GroupSearch> search = GroupLineSearch(programs, line);
  if (!search) return;
  bool found = false;
  ForEachMatch(search->pattern, [&](const WIN32_FIND_DATAA& match) {
    // A name that is already of the 8.3 form has no short name of its own.
    const char* name = match.cAlternateFileName[0] ? match.cAlternateFileName : match.cFileName;
    list.Add(CString(search->folder + '\\' + name), match.nFileSizeLow, RemovalKind::File);
    found = true;
  });
  // Only a whole group takes its folder: a prefix line leaves the group's other shortcuts, and
  // the folder with them.
  if (found && !line.prefix) list.Add(CString(search->folder), 1, RemovalKind::Directory);
}

}  // namespace

std::optional<GroupLine> SplitGroupLine(std::string_view line) {
  size_t hash = line.find('#');
  size_t equals = line.find('=', hash == std::string_view::npos ? 0 : hash + 1);
  if (equals == std::string_view::npos) return std::nullopt;
  if (hash == std::string_view::npos) return GroupLine{line.substr(0, equals), std::nullopt};
  return GroupLine{line.substr(0, hash), line.substr(hash + 1, equals - hash - 1)};
}

std::optional<GroupSearch> GroupLineSearch(std::string_view programs, const GroupLine& line) {
  GroupSearch search;
  search.folder.append(programs).append(1, '\\').append(line.group);
  search.pattern = search.folder + '\\';
  if (line.prefix) search.pattern.append(line.prefix->substr(0, kGroupPrefixLength));
  search.pattern += "*.lnk";
  if (!FitsTextRoom(search.pattern)) return std::nullopt;
  return search;
}

void AddGroupEntries(const SectionLines& lines, RemovalList& list) {
  std::optional<std::string> programs = ProgramsFolder();
  if (!programs) return;
  for (const std::string& text : lines) {
    std::optional<GroupLine> line = SplitGroupLine(text);
    if (!line) return;
    AddLineShortcuts(*programs, *line, list);
  }
}
