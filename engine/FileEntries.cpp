// AddFileEntries: the files that a DeleteFiles section names.
#include <string>
#include <string_view>

#include "engine/Actions.h"
#include "engine/FileSearch.h"
#include "engine/TextRoom.h"

namespace {

enum class LineResult { Next, EndOfSection };

LineResult AddLineFiles(std::string_view line, const PathDirectories& dirs, RemovalList& list) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return LineResult::EndOfSection;
  std::string_view keyText = line.substr(0, equals);
  std::string pattern;
  if (ExpandPathVariable(dirs, keyText, &pattern) == Expansion::Stop) return LineResult::EndOfSection;
  if (!FitsTextRoom(keyText) || !FitsTextRoom(pattern)) return LineResult::Next;
  // The search splits at the last separator of either kind; the entries must name the folder it
  // searched. A pattern without one names no folder, and is passed over.
  size_t slash = pattern.find_last_of("\\/");
  if (slash == std::string::npos) return LineResult::Next;
  const std::string folder = pattern.substr(0, slash) + '\\';
  ForEachMatch(pattern, [&](const WIN32_FIND_DATAA& match) {
    if (match.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    list.Add(CString(folder + match.cFileName), match.nFileSizeLow, RemovalKind::File);
  });
  return LineResult::Next;
}

}  // namespace

void AddFileEntries(const SectionLines& lines, const PathDirectories& dirs, RemovalList& list) {
  for (const std::string& line : lines)
    if (AddLineFiles(line, dirs, list) == LineResult::EndOfSection) return;
}
