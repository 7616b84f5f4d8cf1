// The entries that a rewrite of a profile file removes and adds, found by comparing its text
// before and after.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct IniChange {
  enum class Kind { EntryRemoved, EntryAdded, SectionRemoved };
  Kind kind = Kind::EntryRemoved;
  std::string section;  // as its header spells it
  std::string line;     // "key=value" (trimmed), or a line without "="; empty for SectionRemoved
};

// Compares the sections as the profile functions see them (the first of duplicate sections,
// names without regard to case): a section that is gone is one SectionRemoved; otherwise each
// line that is no longer there (as often as it is no longer there) is removed, each new one
// added, in the order of the texts.
std::vector<IniChange> DiffIniTexts(std::string_view before, std::string_view after);
