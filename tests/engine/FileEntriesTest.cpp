// DeleteFiles sections: what each line adds to the removal list, and what the list holds.
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/engine/EngineFixture.h"

namespace {

class FileEntriesTest : public EngineTest {
 protected:
  void RunFilesSection(const std::string& lines) {
    WriteScript("[Pkg]\r\nDeleteFiles=Files\r\n[Files]\r\n" + lines);
    // A package left installed keeps the uninstaller's own lines off the restart-time list.
    SetPackages({{"Pkg"}, {"Kept", false}});
    Run();
  }
  void MakeSparse(const std::string& windowsPath, off_t size) {
    WriteFile(windowsPath, "");
    ASSERT_EQ(::truncate(HostOf(windowsPath).c_str(), size), 0);
  }
};

TEST_F(FileEntriesTest, StarDotStarTakesEveryFileOfItsFolderInSearchOrderAndNoSubfolder) {
  WriteFile("C:\\Capture\\Lib\\b.dll");
  WriteFile("C:\\Capture\\Lib\\A.dll");
  WriteFile("C:\\Capture\\Lib\\c.txt");
  WriteFile("C:\\Capture\\Lib\\Sub\\d.dll");
  MakeDir("C:\\Capture\\Lib\\Empty");
  RunFilesSection("C:\\Capture\\Lib\\*.*=\r\n");
  EXPECT_EQ(Labels(), (std::vector<std::string>{"C:\\Capture\\Lib\\A.dll", "C:\\Capture\\Lib\\b.dll",
                                                "C:\\Capture\\Lib\\c.txt"}));
  EXPECT_TRUE(Exists("C:\\Capture\\Lib\\Sub\\d.dll"));
  EXPECT_TRUE(Exists("C:\\Capture\\Lib\\Empty"));
  EXPECT_TRUE(RenameLines().empty()) << "\".\", \"..\" and the subfolders are never entries";
}

TEST_F(FileEntriesTest, EachLineFormAddsWhatItNamesAndNothingElse) {
  // Paths of 256 characters and more, which the machine still takes (up to 259).
  const std::string name246(246, 'n');  // "C:\Capture\" and it make 257 characters
  const std::string name245(245, 'w');  // "$windows$\" and it make 255, expanded 256
  WriteFile("C:\\Capture\\one.dll");
  WriteFile("C:\\Capture\\valued.dll");
  WriteFile("C:\\nobackslash.dll");
  WriteFile("C:\\Capture\\" + name246);
  WriteFile("C:\\WINDOWS\\" + name245);
  WriteFile("C:\\Capture\\Lib\\x1.dll");
  WriteFile("C:\\Capture\\x1.dll");
  WriteFile("C:\\Capture\\next.dll");
  WriteFile("C:\\Capture\\afterstop.dll");
  RunFilesSection("C:\\Capture\\one.dll=\r\n"
                  "C:\\Capture\\missing.dll=\r\n"
                  "C:\\Capture\\valued.dll=any value\r\n"
                  "nobackslash.dll=\r\n"
                  "C:\\Capture\\" + name246 + "=\r\n"
                  "$windows$\\" + name245 + "=\r\n"
                  "C:\\Capture\\Lib/x*.dll=\r\n"
                  "C:\\Capture\\next.dll=\r\n"
                  "C:\\Capture\\noequals.dll\r\n"
                  "C:\\Capture\\afterstop.dll=\r\n");
  EXPECT_FALSE(Exists("C:\\Capture\\one.dll"));
  EXPECT_FALSE(Exists("C:\\Capture\\valued.dll")) << "the value plays no part";
  EXPECT_TRUE(Exists("C:\\nobackslash.dll")) << "a pattern without a backslash names no folder: passed over";
  EXPECT_TRUE(Exists("C:\\Capture\\" + name246)) << "a key text of 256 characters or more is passed over";
  EXPECT_TRUE(Exists("C:\\WINDOWS\\" + name245)) << "and so is an expanded path of 256 characters";
  EXPECT_FALSE(Exists("C:\\Capture\\Lib\\x1.dll")) << "the entry names the folder that was searched";
  EXPECT_TRUE(Exists("C:\\Capture\\x1.dll"));
  EXPECT_FALSE(Exists("C:\\Capture\\next.dll")) << "the walk goes on after the lines passed over";
  EXPECT_TRUE(Exists("C:\\Capture\\afterstop.dll")) << "a line without \"=\" ends the section";
  EXPECT_TRUE(RenameLines().empty()) << "a pattern that matches nothing adds nothing";
}

TEST_F(FileEntriesTest, SizesAreTheLowThirtyTwoBitsAndTheTotalDoesNotWrap) {
  // 5 GiB counts as 1 GiB; with the 1 GiB file the total is 2 GiB, past 31 bits.
  MakeSparse("C:\\Capture\\big.avi", (5LL << 30));
  MakeSparse("C:\\Capture\\one.avi", (1LL << 30));
  // A file whose low 32 bits are all set is an entry like any other, not the end of the list.
  MakeSparse("C:\\Capture\\max.avi", 0xFFFFFFFFLL);
  WriteFile("C:\\Capture\\small.dll", std::string(10, 'x'));
  RunFilesSection("C:\\Capture\\big.avi=\r\nC:\\Capture\\one.avi=\r\n");
  EXPECT_EQ(RunPositions(), (std::vector<int>{50, 100, 100}));
  RunFilesSection("C:\\Capture\\max.avi=\r\nC:\\Capture\\small.dll=\r\n");
  EXPECT_FALSE(Exists("C:\\Capture\\max.avi"));
  EXPECT_FALSE(Exists("C:\\Capture\\small.dll"));
}

TEST_F(FileEntriesTest, TheListKeepsEveryEntryPastTheOldRoomOf127) {
  for (int i = 0; i < 300; ++i) WriteFile("C:\\Capture\\Many\\f" + std::to_string(1000 + i) + ".dll");
  RunFilesSection("C:\\Capture\\Many\\*.dll=\r\n");
  EXPECT_EQ(Labels().size(), 300u);
  EXPECT_FALSE(Exists("C:\\Capture\\Many\\f1299.dll")) << "the last one too";
}

TEST_F(FileEntriesTest, ASectionLongerThanTheOldBufferIsReadWhole) {
  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += "C:\\Capture\\Absent\\padding-line-" + std::to_string(i) + ".dll=\r\n";
  ASSERT_GT(lines.size(), 16384u * 4);
  WriteFile("C:\\Capture\\last.dll");
  RunFilesSection(lines + "C:\\Capture\\last.dll=\r\n");
  EXPECT_FALSE(Exists("C:\\Capture\\last.dll")) << "no line of the section is ignored";
}

}  // namespace
