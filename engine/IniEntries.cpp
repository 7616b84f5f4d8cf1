// RemoveIniEntries: the profile keys and sections that a DeleteIniEntries section names.
#include <string>
#include <string_view>

#include "engine/Actions.h"
#include "engine/HashLine.h"
#include "engine/ProfileText.h"
#include "engine/TextRoom.h"
#include "platform/Profile.h"
#include "platform/TextCase.h"

namespace {

enum class LineResult { Next, EndOfSection };

void RemoveEntry(const std::string& file, const HashLine& fields) {
  const std::string section(fields.second);
  const std::string key(fields.third);
  if (key.empty()) {
    WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
    return;
  }
  if (!fields.fourth.empty()) {
    // Compared whole: a current value cut to the room could equal the condition while the
    // key holds something else.
    std::string current = ReadProfileString(section.c_str(), key.c_str(), "", file.c_str());
    if (!EqualsNoCase(current, fields.fourth)) return;
  }
  WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str());
}

LineResult RemoveLineEntry(std::string_view line, const PathDirectories& dirs) {
  HashLine fields;
  HashLineShape shape = SplitHashLine(line, &fields);
  if (shape == HashLineShape::NoSeparator) return LineResult::Next;
  std::string file;
  if (ExpandPathVariable(dirs, fields.first, &file) == Expansion::Stop) return LineResult::EndOfSection;
  if (shape != HashLineShape::Complete) return LineResult::Next;
  if (!FitsTextRoom(fields.first) || !FitsTextRoom(file) || !FitsTextRoom(fields.second) ||
      !FitsTextRoom(fields.third))
    return LineResult::Next;
  RemoveEntry(file, fields);
  return LineResult::Next;
}

}  // namespace

void RemoveIniEntries(const SectionLines& lines, const PathDirectories& dirs) {
  for (const std::string& line : lines)
    if (RemoveLineEntry(line, dirs) == LineResult::EndOfSection) return;
}
