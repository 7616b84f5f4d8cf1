// AddFileEntries: the files that a DeleteFiles section names.
#include <string>
#include <string_view>

#include "engine/ActionLines.h"
#include "engine/Actions.h"
#include "engine/FileSearch.h"
#include "engine/TextRoom.h"

FileLine ParseFileLine(std::string_view line, const PathDirectories& dirs) {
  FileLine parsed;
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    parsed.step = LineStep::EndOfSection;
    return parsed;
  }
  std::string_view keyText = line.substr(0, equals);
  if (ExpandPathVariable(dirs, keyText, &parsed.pattern) == Expansion::Stop) {
    parsed.step = LineStep::EndOfSection;
    return parsed;
  }
  if (!FitsTextRoom(keyText) || !FitsTextRoom(parsed.pattern)) return parsed;
  // The search splits at the last separator of either kind; the entries must name the folder it
  // searched. A pattern without one names no folder, and is passed over.
  size_t slash = parsed.pattern.find_last_of("\\/");
  if (slash == std::string::npos) return parsed;
  parsed.folder = parsed.pattern.substr(0, slash) + '\\';
  parsed.step = LineStep::Act;
  return parsed;
}

void AddFileEntries(const SectionLines& lines, const PathDirectories& dirs, RemovalList& list) {
  for (const std::string& line : lines) {
    const FileLine parsed = ParseFileLine(line, dirs);
    if (parsed.step == LineStep::EndOfSection) return;
    if (parsed.step != LineStep::Act) continue;
    ForEachMatch(parsed.pattern, [&](const WIN32_FIND_DATAA& match) {
      if (match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
      list.Add(CString(parsed.folder + match.cFileName), match.nFileSizeLow, RemovalKind::File);
    });
  }
}
