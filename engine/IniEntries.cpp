// RemoveIniEntries: the profile keys and sections that a DeleteIniEntries section names.
#include <string>
#include <string_view>

#include "engine/ActionLines.h"
#include "engine/Actions.h"
#include "engine/ProfileText.h"
#include "engine/TextRoom.h"
#include "platform/Profile.h"
#include "platform/TextCase.h"

namespace {

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

}  // namespace

IniEntryLine ParseIniEntryLine(std::string_view line, const PathDirectories& dirs) {
  IniEntryLine parsed;
  HashLineShape shape = SplitHashLine(line, &parsed.fields);
  if (shape == HashLineShape::NoSeparator) return parsed;
  if (ExpandPathVariable(dirs, parsed.fields.first, &parsed.file) == Expansion::Stop) {
    parsed.step = LineStep::EndOfSection;
    return parsed;
  }
  if (shape != HashLineShape::Complete) return parsed;
  const HashLine& fields = parsed.fields;
  if (!FitsTextRoom(fields.first) || !FitsTextRoom(parsed.file) || !FitsTextRoom(fields.second) ||
      !FitsTextRoom(fields.third))
    return parsed;
  parsed.step = LineStep::Act;
  return parsed;
}

void RemoveIniEntries(const SectionLines& lines, const PathDirectories& dirs) {
  for (const std::string& line : lines) {
    const IniEntryLine parsed = ParseIniEntryLine(line, dirs);
    if (parsed.step == LineStep::EndOfSection) return;
    if (parsed.step == LineStep::Act) RemoveEntry(parsed.file, parsed.fields);
  }
}
