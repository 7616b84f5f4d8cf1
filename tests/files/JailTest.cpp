// The jail: links to host files outside the machine are never deleted, opened or listed through.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/File.h"
#include "platform/FileApi.h"
#include "platform/LastError.h"
#include "tests/support/TestMachine.h"

namespace {

std::vector<std::string> Names(const char* pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileA(search, &data));
  FindClose(search);
  return names;
}

class JailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_outside = m_host.Path() + "/secret.txt";
    m.Write("drive_c/Capture/app.exe", "MZ");
    ASSERT_EQ(::symlink(m_outside.c_str(), m.Host("drive_c/Capture/link.dll").c_str()), 0);
    ASSERT_EQ(::symlink(m_host.Path().c_str(), m.Host("drive_c/Capture/Outside").c_str()), 0);
    FILE* f = std::fopen(m_outside.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("host data", f);
    std::fclose(f);
  }
  bool OutsideIntact() const { return ::access(m_outside.c_str(), F_OK) == 0; }

  CTempDir m_host;  // a host directory outside the machine
  std::string m_outside;
  CTestMachine m;
};

TEST_F(JailTest, NeverDeletesThroughALink) {
  EXPECT_FALSE(DeleteFileA("C:\\Capture\\Outside\\secret.txt"));
  EXPECT_TRUE(OutsideIntact());
  EXPECT_THROW(CFile::Remove("C:\\Capture\\Outside\\secret.txt"), CFileException);
  EXPECT_TRUE(OutsideIntact());
  RemoveDirectoryA("C:\\Capture\\Outside");
  EXPECT_TRUE(OutsideIntact());
  // The link itself may go; what it points to stays.
  EXPECT_TRUE(DeleteFileA("C:\\Capture\\link.dll"));
  EXPECT_FALSE(m.Exists("drive_c/Capture/link.dll"));
  EXPECT_TRUE(OutsideIntact());
}

TEST_F(JailTest, NeverOpensThroughALink) {
  for (const char* path : {"C:\\Capture\\link.dll", "C:\\Capture\\Outside\\secret.txt"}) {
    CFile file;
    EXPECT_FALSE(file.Open(path, CFile::modeRead | CFile::shareExclusive)) << path;
  }
}

TEST_F(JailTest, SearchesNeverListOutside) {
  EXPECT_TRUE(Names("C:\\Capture\\Outside\\*.*").empty());
  EXPECT_TRUE(Names("C:\\Capture\\Outside\\secret.txt").empty());
  EXPECT_EQ(Names("C:\\Capture\\*.*"), (std::vector<std::string>{".", "..", "app.exe", "link.dll", "Outside"}));
  // A link out of the machine shows as an empty file: not even the outside file's size leaks.
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("C:\\Capture\\link.dll", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 0u);
  FindClose(search);
  // `..` never climbs above the drive's root.
  EXPECT_EQ(Names("C:\\..\\..\\*.*"), Names("C:\\*.*"));
}

}  // namespace
