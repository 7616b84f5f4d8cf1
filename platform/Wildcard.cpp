// The wildcard matcher of file searches.
#include "platform/Wildcard.h"

#include "platform/TextCase.h"

namespace {

// What is left of the pattern once the name is used up matches nothing only when it is a run
// of stars, optionally followed by a period and at least one more star (the DOS "*.*" rule).
bool MatchesEndOfName(std::string_view rest) {
  size_t i = rest.find_first_not_of('*');
  if (i == std::string_view::npos) return true;
  if (rest[i] != '.' || i + 1 == rest.size()) return false;
  return rest.find_first_not_of('*', i + 1) == std::string_view::npos;
}

}  // namespace

bool HasWildcards(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  // Greedy matching with one backtrack point, the last star seen: linear in practice and
  // never worse than pattern length times name length.
  size_t p = 0, n = 0;
  size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || AsciiUpper(pattern[p]) == AsciiUpper(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  return MatchesEndOfName(pattern.substr(p));
}
