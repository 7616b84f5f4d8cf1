// The lines of profile-entry and registry-entry sections: first#second#third#fourth=rest, each
// field ending at the next separator searched from the end of the one before.
#pragma once

#include <string_view>

struct HashLine {
  std::string_view first;   // before the first "#": the file, or the registry root's name
  std::string_view second;  // the section, or the subkey
  std::string_view third;   // the key, or the value name; empty: the whole section or key
  std::string_view fourth;  // the value to compare with; empty: no condition
};

enum class HashLineShape {
  NoSeparator,  // no "#" at all: nothing is known of the line
  Incomplete,   // only `first` is known: a "#", "#" or "=" after it is missing
  Complete,     // every field is known; the rest after the "=" is not used
};

HashLineShape SplitHashLine(std::string_view line, HashLine* fields);
