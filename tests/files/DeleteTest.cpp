// DeleteFileA, RemoveDirectoryA and CFile::Remove: what they refuse, and the exception.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/File.h"
#include "platform/FileApi.h"
#include "platform/LastError.h"
#include "tests/support/TestMachine.h"

namespace {

class DeleteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m.Write("drive_c/Capture/app.exe", "MZ");
    m.Write("drive_c/Capture/locked.dll", "MZ");
    ASSERT_EQ(::chmod(m.Host("drive_c/Capture/locked.dll").c_str(), 0444), 0);
    m.Write("drive_c/Capture/Data/clip.avi", "RIFF");
    m.MakeDir("drive_c/Capture/Empty");
  }
  CTestMachine m;
};

TEST_F(DeleteTest, DeleteFileA) {
  struct Case {
    const char* path;
    DWORD error;  // ERROR_SUCCESS: deleted
    const char* stays;
  } cases[] = {
      {"C:\\Capture\\locked.dll", ERROR_ACCESS_DENIED, "drive_c/Capture/locked.dll"},  // read-only
      {"C:\\Capture\\Data", ERROR_ACCESS_DENIED, "drive_c/Capture/Data/clip.avi"},     // a directory
      {"C:\\Capture\\missing.exe", ERROR_FILE_NOT_FOUND, nullptr},
      {"C:\\Capture\\APP.EXE", ERROR_SUCCESS, nullptr},
  };
  for (const Case& c : cases) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(DeleteFileA(c.path), c.error == ERROR_SUCCESS ? TRUE : FALSE) << c.path;
    EXPECT_EQ(GetLastError(), c.error) << c.path;
    if (c.stays) {
      EXPECT_TRUE(m.Exists(c.stays)) << c.path;
    }
  }
  EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
  EXPECT_FALSE(DeleteFileA(nullptr));
}

TEST_F(DeleteTest, RemoveDirectoryA) {
  EXPECT_FALSE(RemoveDirectoryA("C:\\Capture\\Data"));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_TRUE(m.Exists("drive_c/Capture/Data/clip.avi"));
  EXPECT_TRUE(RemoveDirectoryA("C:\\Capture\\empty"));
  EXPECT_FALSE(m.Exists("drive_c/Capture/Empty"));
  EXPECT_FALSE(RemoveDirectoryA("C:\\Capture\\Empty"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(DeleteTest, RemoveRaisesTheFileExceptionOnFailure) {
  struct Case {
    const char* path;
    int cause;
    DWORD error;
  } cases[] = {
      {"C:\\Capture\\locked.dll", CFileException::accessDenied, ERROR_ACCESS_DENIED},
      {"C:\\Capture\\missing.exe", CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    try {
      CFile::Remove(c.path);
      ADD_FAILURE() << c.path << " was removed";
    } catch (const CFileException& e) {
      EXPECT_EQ(e.m_cause, c.cause) << c.path;
      EXPECT_EQ(e.m_lOsError, static_cast<LONG>(c.error)) << c.path;
      EXPECT_EQ(e.m_strFileName, c.path);
      EXPECT_NE(std::string(e.what()).find(c.path), std::string::npos) << e.what();
    }
  }
  EXPECT_TRUE(m.Exists("drive_c/Capture/locked.dll"));
  // The framework catches the library's exceptions through their base class.
  EXPECT_THROW(CFile::Remove("C:\\Capture\\locked.dll"), CException);
  EXPECT_NO_THROW(CFile::Remove("C:\\Capture\\app.exe"));
  EXPECT_FALSE(m.Exists("drive_c/Capture/app.exe"));
}

}  // namespace
