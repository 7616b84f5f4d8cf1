// What one action sees of the machine's folders and profile files while it runs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "platform/DirectoryScope.h"
#include "platform/FileApi.h"
#include "platform/Profile.h"
#include "tests/support/TestMachine.h"

namespace {

bool Exists(IMachine& machine, const std::string& path) {
  FileInfo info;
  return machine.GetFileInfo(path, &info).IsOk();
}

// Inside a scope a folder is checked once; the next scope checks it again.
TEST(DirectoryScope, FolderIsCheckedOncePerScope) {
  CTestMachine machine;
  machine.Write("drive_c/Big/a.dll", "");
  IMachine& pc = machine.Machine();
  {
    CDirectoryScope scope;
    ASSERT_TRUE(Exists(pc, "C:\\Big\\a.dll"));
    ::usleep(20000);  // past the file system's timestamp granularity
    machine.Write("drive_c/Big/b.dll", "");
    EXPECT_FALSE(Exists(pc, "C:\\Big\\b.dll")) << "the folder as it was when first checked";
    // The process's own changes show at once.
    ASSERT_TRUE(pc.DeleteFile("C:\\Big\\a.dll").IsOk());
    EXPECT_FALSE(Exists(pc, "C:\\Big\\a.dll"));
  }
  EXPECT_TRUE(Exists(pc, "C:\\Big\\b.dll"));
  CDirectoryScope next;
  EXPECT_TRUE(Exists(pc, "C:\\Big\\b.dll"));
  EXPECT_FALSE(Exists(pc, "C:\\Big\\a.dll"));
}

// Deletions inside a scope leave the folder to be read again after it: the entries that stay
// keep the short names a search gave them, so a name taken from a search still names its file.
TEST(DirectoryScope, ShortNamesStayWhenTheFolderIsReadAgain) {
  CTestMachine machine;
  for (const char* name : {"Capture Board.lnk", "Capture Help.lnk", "Capture Player.lnk"})
    machine.Write(std::string("drive_c/Menu/") + name, "");
  IMachine& pc = machine.Machine();
  std::vector<DirEntry> entries;
  {
    CDirectoryScope scope;
    ASSERT_TRUE(pc.ListDirectory("C:\\Menu", &entries).IsOk());
    ASSERT_EQ(entries[2].shortName, "CAPTUR~3.LNK");
    ASSERT_TRUE(pc.DeleteFile("C:\\Menu\\CAPTUR~1.LNK").IsOk());
    ASSERT_TRUE(pc.DeleteFile("C:\\Menu\\CAPTUR~2.LNK").IsOk());
  }
  ::usleep(20000);
  machine.Write("drive_c/Menu/Capture Clip.lnk", "");  // by another process: a new reading
  std::string full;
  ASSERT_TRUE(pc.FullPath("C:\\Menu\\CAPTUR~3.LNK", &full).IsOk());
  EXPECT_EQ(full, "C:\\Menu\\Capture Player.lnk");
  ASSERT_TRUE(pc.ListDirectory("C:\\Menu", &entries).IsOk());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "Capture Clip.lnk");
  EXPECT_EQ(entries[0].shortName, "CAPTUR~1.LNK") << "a new entry takes a free short name";
  EXPECT_EQ(entries[1].shortName, "CAPTUR~3.LNK");
}

// Reads inside a scope use the copy checked once, but a write always goes onto what is on disk
// under the lock: another writer's change is never lost.
TEST(DirectoryScope, ProfileWritesKeepAnotherWritersChange) {
  CTestMachine machine;
  machine.Write("drive_c/WINDOWS/app.ini", "[a]\r\nx=1\r\n");
  CDirectoryScope scope;
  char value[16] = {};
  ASSERT_EQ(GetPrivateProfileStringA("a", "x", "", value, sizeof value, "app.ini"), 1u);
  ::usleep(20000);
  machine.Write("drive_c/WINDOWS/app.ini", "[a]\r\nx=1\r\nother=2\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "x", nullptr, "app.ini"));
  EXPECT_EQ(machine.Read("drive_c/WINDOWS/app.ini"), "[a]\r\nother=2\r\n");
}

}  // namespace

namespace {

// A pass that removes every file of a large folder one at a time (a removal only marks its
// entry until the listing is next walked): every lookup stays right meanwhile.
TEST(DirectoryScope, RemovingAFolderFileByFileStaysRight) {
  constexpr int kFiles = 3000;
  CTestMachine machine;
  for (int i = 0; i < kFiles; ++i) machine.Write("drive_c/Many/clip" + std::to_string(i) + ".tkv", "x");
  IMachine& pc = machine.Machine();
  std::vector<DirEntry> entries;
  ASSERT_TRUE(pc.ListDirectory("C:\\Many", &entries).IsOk());
  ASSERT_EQ(entries.size(), static_cast<size_t>(kFiles));
  const std::string lastShort = entries.back().shortName;
  const std::string lastName = entries.back().name;
  CDirectoryScope scope;
  for (size_t i = 0; i + 1 < entries.size(); ++i) {
    ASSERT_TRUE(pc.DeleteFile("C:\\Many\\" + entries[i].shortName).IsOk()) << entries[i].name;
    ASSERT_FALSE(Exists(pc, "C:\\Many\\" + entries[i].name));
  }
  std::string full;
  ASSERT_TRUE(pc.FullPath("C:\\Many\\" + lastShort, &full).IsOk());
  EXPECT_EQ(full, "C:\\Many\\" + lastName) << "the last file keeps its short name";
  // Made again, a removed name is a new entry with a short name of its own.
  ASSERT_TRUE(pc.WriteFileAtomic("C:\\Many\\" + entries[0].name, "y").IsOk());
  ASSERT_TRUE(pc.ListDirectory("C:\\Many", &entries).IsOk());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_NE(entries[0].shortName, entries[1].shortName);
}

}  // namespace
