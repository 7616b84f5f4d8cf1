// The wildcard matcher: the patterns the uninstaller searches with, against tricky names.
#include <gtest/gtest.h>

#include <string>

#include "platform/Wildcard.h"

namespace {

struct Case {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(Wildcard, MatchesAsDosDoes) {
  const Case cases[] = {
      // *.* matches every name, with or without a period.
      {"*.*", "readme.txt", true},
      {"*.*", "README", true},
      {"*.*", ".profile", true},
      {"*.*", "a.b.c", true},
      {"*", "a.b", true},
      // Extensions match whole: longer extensions do not slip through.
      {"*.lnk", "Capture.lnk", true},
      {"*.lnk", "CAPTURE.LNK", true},
      {"*.lnk", "x.lnkx", false},
      {"*.lnk", "x.lnk.bak", false},
      {"*.lnk", "lnk", false},
      {"*.inf", "x.info", false},
      {"*.inf", "oem1.inf", true},
      {"oem*.inf", "OEM12.INF", true},
      {"oem*.inf", "oem.inf", true},
      {"oem*.inf", "xoem1.inf", false},
      {"oem*.inf", "oem1.info", false},
      // A five-letter prefix, as group-entry lines search.
      {"Captu*.lnk", "Capture Tool.lnk", true},
      {"Captu*.lnk", "captu.lnk", true},
      {"Captu*.lnk", "Capt.lnk", false},
      {"Captu*.lnk", "Capture.lnkx", false},
      // ? stands for exactly one character.
      {"a?c.txt", "abc.txt", true},
      {"a?c.txt", "ac.txt", false},
      {"a?c.txt", "abbc.txt", false},
      {"?", "a", true},
      {"?", "ab", false},
      {"??.*", "ab", true},
      // Stars backtrack.
      {"*a*b", "xaxxb", true},
      {"*a*b", "xaxxbc", false},
      {"a*a", "a", false},
      // A trailing ".*" also matches a name without extension; a lone trailing period does not.
      {"readme.*", "README", true},
      {"readme.*", "readmes", false},
      {"*.", "a.b", false},
      // Case never matters, for letters only.
      {"ABC.TXT", "abc.txt", true},
      {"abc.txt", "abd.txt", false},
      {"", "", true},
      {"", "a", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
}

TEST(Wildcard, LongPatternsStayFast) {
  // A star-heavy pattern against a long name that nearly matches: with one backtrack point
  // this is quadratic at worst, never exponential.
  std::string name(250, 'a');
  EXPECT_FALSE(MatchesWildcard("*a*a*a*a*a*a*a*a*a*a*a*b", name));
  EXPECT_TRUE(MatchesWildcard("*a*a*a*a*a*a*a*a*a*a*a*", name));
}

TEST(Wildcard, HasWildcards) {
  EXPECT_TRUE(HasWildcards("*.lnk"));
  EXPECT_TRUE(HasWildcards("a?.txt"));
  EXPECT_FALSE(HasWildcards("C:\\WINDOWS\\win.ini"));
}

}  // namespace
