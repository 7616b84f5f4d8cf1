// Matching of file-search patterns ("*.lnk", "oem*.inf", "a?c.txt") against file names.
#pragma once

#include <string_view>

// True when `text` holds a wildcard character of file searches (* or ?).
bool HasWildcards(std::string_view text);

// True when `name` matches `pattern`, letters compared without regard to case. `*` stands for
// any run of characters (none included), `?` for exactly one. As in DOS, a pattern that ends
// in a period followed only by stars also matches a name without any extension, so `*.*`
// matches every name and `readme.*` matches `README`.
bool MatchesWildcard(std::string_view pattern, std::string_view name);
