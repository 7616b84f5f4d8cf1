// 8.3 short names as a FAT directory gives them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ShortNames.h"

namespace {

TEST(ShortNames, DirectoryTable) {
  // Sorted by upper-cased name, as a listing gives them.
  const std::vector<std::string> names = {
      ".abc",        "A file.doc",   "A_FILE.DOC",  "Capture Board.lnk", "Capture Player.lnk",
      "config.sys",  "CONFIG.SYS",   "LONG FILE NAME.TXT", "README",  "x.html",  "x+y;z=[1].txt",
  };
  const std::vector<std::string> expected = {
      "ABC~1",       "AFILE~1.DOC",  "",            "CAPTUR~1.LNK",      "CAPTUR~2.LNK",
      "CONFIG~1.SYS", "",            "LONGFI~1.TXT", "",       "X~1.HTM", "X_Y_Z_~1.TXT",
  };
  EXPECT_EQ(GenerateShortNames(names), expected);
}

TEST(ShortNames, LowerCaseEightThreeNameGetsItsUpperCaseAlias) {
  EXPECT_EQ(GenerateShortNames({"readme.txt"}), std::vector<std::string>{"README.TXT"});
}

TEST(ShortNames, TailsGrowAndShortenTheBase) {
  std::vector<std::string> names;
  for (int i = 0; i < 12; ++i) names.push_back("Capture Clip " + std::to_string(100 + i) + ".avi");
  std::vector<std::string> shortNames = GenerateShortNames(names);
  EXPECT_EQ(shortNames[0], "CAPTUR~1.AVI");
  EXPECT_EQ(shortNames[8], "CAPTUR~9.AVI");
  EXPECT_EQ(shortNames[9], "CAPTU~10.AVI");
  EXPECT_EQ(shortNames[11], "CAPTU~12.AVI");
}

TEST(ShortNames, ValidUpperCaseNames) {
  for (const char* name : {"A", "ABCDEFGH", "ABCDEFGH.TXT", "A.B", "~$X.TMP", "OEM12.INF"})
    EXPECT_TRUE(IsUpperShortName(name)) << name;
  for (const char* name : {"abc", "ABCDEFGHI", "A.TEXT", "A B", "A.B.C", ".ABC", "A+B", ""})
    EXPECT_FALSE(IsUpperShortName(name)) << name;
}

}  // namespace
