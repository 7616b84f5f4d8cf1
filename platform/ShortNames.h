// The 8.3 short names of a directory's entries, generated the way FAT does it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// True when `name` is a valid 8.3 name as it stands: upper case, one to eight characters, an
// optional extension of one to three, only characters that 8.3 names allow, no spaces.
bool IsUpperShortName(std::string_view name);

// The short names of `longNames`, which are sorted by upper-cased name: an empty text where the
// long name is itself a valid upper-case 8.3 name, otherwise the FAT basis name with numeric
// tails (~1, ~2...) given in that sorted order, so the same directory always gives the same names.
std::vector<std::string> GenerateShortNames(const std::vector<std::string>& longNames);

// The short name a new entry `longName` gets in a directory whose names are already given:
// `taken` says whether a short name is in use there. Empty for a valid upper-case 8.3 name.
std::string ShortNameFor(std::string_view longName, const std::function<bool(const std::string&)>& taken);
