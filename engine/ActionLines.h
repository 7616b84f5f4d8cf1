// What one line of each action section asks for, read from the line alone before anything on
// the machine is looked at. The actions (Actions.h) walk their sections with these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/HashLine.h"
#include "engine/PathVariables.h"
#include "platform/Registry.h"

// What a walk does with a line.
enum class LineStep {
  Act,           // the line names something to look for or remove
  PassOver,      // the line asks for nothing; the walk goes on
  EndOfSection,  // the walk of the section ends at this line
};

// DeleteFiles: "pattern=value". A line without "=" or with a path variable that does not expand
// ends the walk; a pattern or key text too long for the room, or a pattern that names no
// folder, is passed over.
struct FileLine {
  LineStep step = LineStep::PassOver;
  std::string pattern;  // the key text with its path variable expanded: what is searched
  std::string folder;   // the pattern up to its last separator, closed by a backslash
};
FileLine ParseFileLine(std::string_view line, const PathDirectories& dirs);

// DeleteGroupEntries: "group=value" or "group#prefix=value", split at the first "#" and at the
// first "=" after it; nullopt without that "=", which ends the walk.
struct GroupLine {
  std::string_view group;
  std::optional<std::string_view> prefix;  // absent for a whole-group line
};
std::optional<GroupLine> SplitGroupLine(std::string_view line);

// A prefix line matches the shortcuts whose names begin with this many characters of it.
inline constexpr std::size_t kGroupPrefixLength = 5;

// The search of a group line below the Programs folder (without a closing backslash); nullopt
// when the pattern does not fit the room.
struct GroupSearch {
  std::string folder;   // the group's folder
  std::string pattern;  // its shortcuts: "*.lnk", after the prefix's first characters
};
std::optional<GroupSearch> GroupLineSearch(std::string_view programs, const GroupLine& line);

// DeleteIniEntries: "file#section#key#value=rest". A line without "#", or without its other
// separators, or with a field too long for the room, is passed over; a file field whose path
// variable does not expand ends the walk.
struct IniEntryLine {
  LineStep step = LineStep::PassOver;
  std::string file;  // the file field with its path variable expanded
  HashLine fields;   // second: the section; third: the key (empty: the section); fourth: the value
};
IniEntryLine ParseIniEntryLine(std::string_view line, const PathDirectories& dirs);

// DeleteRegEntries: "root#subkey#name#value=rest". A root name that is one of the six sets
// `currentRoot` before anything else of the line is looked at; the line acts below the root then
// in force, and is passed over when it is malformed, has a field too long for the room, or no
// root has been named yet.
struct RegEntryLine {
  LineStep step = LineStep::PassOver;
  HKEY root = nullptr;  // the root the line acts below
  HashLine fields;      // second: the subkey; third: the value name (empty: the key; "@": the default)
};
RegEntryLine ParseRegEntryLine(std::string_view line, HKEY& currentRoot);

// A key deletion opens the subkey's parent and deletes its last part from it; a subkey without
// a backslash is opened whole and given no child name.
struct KeyDeletion {
  std::string parent;
  std::optional<std::string> child;
};
KeyDeletion SplitKeyDeletion(std::string_view subKey);

// DeleteInfFile: the entry of each INF file that is tested, and the text that must occur in it.
struct InfTest {
  std::string section;
  std::string item;
  std::string searchId;
};
// nullopt when the test would take no file on purpose: an empty Search_ID (it occurs in every
// value) or a name too long for the room.
std::optional<InfTest> MakeInfTest(std::string section, std::string item, std::string searchId);
// Whether the tested value, as read from an INF file, holds the Search_ID once upper-cased.
bool InfValueMatches(std::string_view value, const InfTest& test);
