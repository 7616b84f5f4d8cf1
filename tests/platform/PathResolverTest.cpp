// Windows paths and the host paths they resolve to, the jail included.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/PathResolver.h"
#include "tests/support/TestMachine.h"

namespace {

struct PathCase {
  const char* path;
  DWORD error;           // ERROR_SUCCESS when it resolves
  const char* host;      // relative to the machine root
  const char* windows;   // the full path as on disk
  bool exists;
};

class PathResolution : public ::testing::Test {
 protected:
  void SetUp() override {
    m_machine.Write("drive_c/WINDOWS/win.ini", "");
    m_machine.Write("drive_c/WINDOWS/SYSTEM/drv.dll", "");
    m_machine.Write("drive_c/Program Files/app.exe", "");
    m_machine.Write("drive_c/Capture/Capture Board.lnk", "");
    m_machine.Write("drive_c/Capture/Capture Player.lnk", "");
    m_machine.Write("drive_c/Case/File.txt", "");
    m_machine.Write("drive_c/Case/FILE.TXT", "");
    m_machine.MakeDir("drive_d/SETUP");
  }
  CTestMachine m_machine;
};

TEST_F(PathResolution, TableOfPaths) {
  const std::string tooLong = "C:\\" + std::string(257, 'a');
  const PathCase cases[] = {
      {"C:\\WINDOWS\\win.ini", 0, "drive_c/WINDOWS/win.ini", "C:\\WINDOWS\\win.ini", true},
      {"c:/windows/WIN.INI", 0, "drive_c/WINDOWS/win.ini", "C:\\WINDOWS\\win.ini", true},
      {"C:\\WINDOWS\\\\SYSTEM\\.\\DRV.DLL", 0, "drive_c/WINDOWS/SYSTEM/drv.dll", "C:\\WINDOWS\\SYSTEM\\drv.dll", true},
      {"C:\\WINDOWS\\win.ini.", 0, "drive_c/WINDOWS/win.ini", "C:\\WINDOWS\\win.ini", true},
      {"C:\\WINDOWS\\new.ini", 0, "drive_c/WINDOWS/new.ini", "C:\\WINDOWS\\new.ini", false},
      {"C:\\", 0, "drive_c", "C:\\", true},
      {"D:\\setup", 0, "drive_d/SETUP", "D:\\SETUP", true},
      // `..` never climbs above the drive's root.
      {"C:\\WINDOWS\\..\\..\\..\\..\\etc\\passwd", ERROR_PATH_NOT_FOUND, nullptr, nullptr, false},
      {"C:\\..\\..\\WINDOWS\\win.ini", 0, "drive_c/WINDOWS/win.ini", "C:\\WINDOWS\\win.ini", true},
      {"C:\\Capture\\..\\..\\x.ini", 0, "drive_c/x.ini", "C:\\x.ini", false},
      // Short names.
      {"C:\\PROGRA~1\\app.exe", 0, "drive_c/Program Files/app.exe", "C:\\Program Files\\app.exe", true},
      {"C:\\Capture\\CAPTUR~1.LNK", 0, "drive_c/Capture/Capture Board.lnk", "C:\\Capture\\Capture Board.lnk", true},
      {"C:\\Capture\\captur~2.lnk", 0, "drive_c/Capture/Capture Player.lnk", "C:\\Capture\\Capture Player.lnk", true},
      // Names that differ only in case: the exact one, else the first in sorted order.
      {"C:\\Case\\File.txt", 0, "drive_c/Case/File.txt", "C:\\Case\\File.txt", true},
      {"C:\\Case\\file.txt", 0, "drive_c/Case/FILE.TXT", "C:\\Case\\FILE.TXT", true},
      // Failures.
      {"E:\\x", ERROR_PATH_NOT_FOUND, nullptr, nullptr, false},
      {"C:\\missing\\x.ini", ERROR_PATH_NOT_FOUND, nullptr, nullptr, false},
      {"C:\\WINDOWS\\win.ini\\x", ERROR_PATH_NOT_FOUND, nullptr, nullptr, false},
      {"\\\\server\\share\\x.ini", ERROR_BAD_NETPATH, nullptr, nullptr, false},
      {"//server/share/x.ini", ERROR_BAD_NETPATH, nullptr, nullptr, false},
      {"\\\\.\\PhysicalDrive0", ERROR_INVALID_NAME, nullptr, nullptr, false},
      {"\\\\?\\C:\\WINDOWS", ERROR_INVALID_NAME, nullptr, nullptr, false},
      {"C:\\WINDOWS\\CON", ERROR_INVALID_NAME, nullptr, nullptr, false},
      {"C:\\nul.txt", ERROR_INVALID_NAME, nullptr, nullptr, false},
      {"C:\\lpt1\\x", ERROR_INVALID_NAME, nullptr, nullptr, false},
      {"C:\\a|b", ERROR_INVALID_NAME, nullptr, nullptr, false},
      {"C:\\a\tb", ERROR_INVALID_NAME, nullptr, nullptr, false},
      {"", ERROR_PATH_NOT_FOUND, nullptr, nullptr, false},
      {tooLong.c_str(), ERROR_FILENAME_EXCED_RANGE, nullptr, nullptr, false},
  };
  CPathResolver& paths = m_machine.Machine().Paths();
  for (const PathCase& c : cases) {
    ResolvedPath resolved;
    Status status = paths.Resolve(c.path, &resolved);
    EXPECT_EQ(status.Code(), c.error) << c.path;
    if (c.error != ERROR_SUCCESS || !status.IsOk()) continue;
    EXPECT_EQ(resolved.hostPath, std::filesystem::canonical(m_machine.Root()).string() + "/" + c.host) << c.path;
    EXPECT_EQ(resolved.windowsPath, c.windows) << c.path;
    EXPECT_EQ(resolved.exists, c.exists) << c.path;
  }
}

TEST_F(PathResolution, NulByteAndLengthLimit) {
  ResolvedPath resolved;
  EXPECT_EQ(m_machine.Machine().Paths().Resolve(std::string("C:\\WINDOWS\0\\win.ini", 19), &resolved).Code(),
            ERROR_INVALID_NAME);
  std::string longest = "C:\\" + std::string(256, 'b');  // 259 characters: still a path
  EXPECT_TRUE(m_machine.Machine().Paths().Resolve(longest, &resolved).IsOk());
  EXPECT_EQ(m_machine.Machine().Paths().Resolve(longest + "c", &resolved).Code(), ERROR_FILENAME_EXCED_RANGE);
}

TEST_F(PathResolution, RelativePathsUseTheCurrentDirectory) {
  CPathResolver& paths = m_machine.Machine().Paths();
  ASSERT_TRUE(paths.SetCurrentDirectory("c:\\capture").IsOk());
  EXPECT_EQ(paths.CurrentDirectory(), "C:\\Capture");
  ResolvedPath resolved;
  ASSERT_TRUE(paths.Resolve("uninst.ini", &resolved).IsOk());
  EXPECT_EQ(resolved.windowsPath, "C:\\Capture\\uninst.ini");
  ASSERT_TRUE(paths.Resolve("..\\WINDOWS\\win.ini", &resolved).IsOk());
  EXPECT_EQ(resolved.windowsPath, "C:\\WINDOWS\\win.ini");
  ASSERT_TRUE(paths.Resolve("\\WINDOWS", &resolved).IsOk());
  EXPECT_EQ(resolved.windowsPath, "C:\\WINDOWS");
  ASSERT_TRUE(paths.Resolve("D:setup", &resolved).IsOk());
  EXPECT_EQ(resolved.windowsPath, "D:\\SETUP");
  EXPECT_EQ(paths.SetCurrentDirectory("C:\\WINDOWS\\win.ini").Code(), ERROR_DIRECTORY);
}

TEST_F(PathResolution, LinksThatLeaveTheMachineAreNotFollowed) {
  CTempDir outside;
  const std::string secret = outside.Path() + "/secret.txt";
  std::filesystem::create_directories(outside.Path() + "/dir");
  FILE* f = std::fopen(secret.c_str(), "w");
  std::fputs("host data", f);
  std::fclose(f);
  ASSERT_EQ(::symlink(secret.c_str(), m_machine.Host("drive_c/WINDOWS/out.ini").c_str()), 0);
  ASSERT_EQ(::symlink((outside.Path() + "/dir").c_str(), m_machine.Host("drive_c/outdir").c_str()), 0);
  ASSERT_EQ(::symlink("/", m_machine.Host("drive_e").c_str()), 0);
  ASSERT_EQ(::symlink(m_machine.Host("drive_c/WINDOWS").c_str(), m_machine.Host("drive_c/inside").c_str()), 0);

  CPathResolver& paths = m_machine.Machine().Paths();
  ResolvedPath resolved;
  ASSERT_TRUE(paths.Resolve("C:\\WINDOWS\\out.ini", &resolved).IsOk());
  EXPECT_TRUE(resolved.isLink);
  EXPECT_TRUE(resolved.leavesMachine);
  EXPECT_EQ(paths.Resolve("C:\\outdir\\x.txt", &resolved).Code(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(paths.Resolve("E:\\etc\\passwd", &resolved).Code(), ERROR_PATH_NOT_FOUND);
  // A link that stays inside is followed.
  ASSERT_TRUE(paths.Resolve("C:\\inside\\win.ini", &resolved).IsOk());
  EXPECT_EQ(resolved.hostPath, std::filesystem::canonical(m_machine.Host("drive_c/WINDOWS/win.ini")).string());

  // Through the machine: reads and writes refuse, a deletion removes only the link.
  IMachine& machine = m_machine.Machine();
  std::string bytes;
  EXPECT_EQ(machine.ReadFile("C:\\WINDOWS\\out.ini", &bytes, nullptr).Code(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(machine.WriteFileAtomic("C:\\WINDOWS\\out.ini", "x").Code(), ERROR_ACCESS_DENIED);
  std::vector<DirEntry> entries;
  EXPECT_EQ(machine.ListDirectory("C:\\outdir", &entries).Code(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(machine.DeleteFile("C:\\WINDOWS\\out.ini").IsOk());
  EXPECT_FALSE(m_machine.Exists("drive_c/WINDOWS/out.ini"));
  EXPECT_TRUE(std::filesystem::exists(secret));
}

TEST_F(PathResolution, RepeatedLookupsListADirectoryOnce) {
  CHostMachine& machine = m_machine.Machine();
  CDirectoryCache& cache = machine.Paths().Cache();
  ResolvedPath resolved;
  ASSERT_TRUE(machine.Paths().Resolve("C:\\WINDOWS\\win.ini", &resolved).IsOk());
  std::uint64_t listings = cache.ListingCount();
  for (int i = 0; i < 500; ++i)
    ASSERT_TRUE(machine.Paths().Resolve("C:\\windows\\f" + std::to_string(i) + ".ini", &resolved).IsOk());
  EXPECT_EQ(cache.ListingCount(), listings);

  // This process's own changes keep the listing true without reading it again.
  ASSERT_TRUE(machine.WriteFileAtomic("C:\\WINDOWS\\made.ini", "[a]\r\n").IsOk());
  ASSERT_TRUE(machine.Paths().Resolve("C:\\WINDOWS\\MADE.INI", &resolved).IsOk());
  EXPECT_TRUE(resolved.exists);
  ASSERT_TRUE(machine.DeleteFile("C:\\WINDOWS\\made.ini").IsOk());
  ASSERT_TRUE(machine.Paths().Resolve("C:\\WINDOWS\\made.ini", &resolved).IsOk());
  EXPECT_FALSE(resolved.exists);
  ASSERT_TRUE(machine.CreateDirectory("C:\\WINDOWS\\Sub").IsOk());
  ASSERT_TRUE(machine.Paths().Resolve("C:\\WINDOWS\\sub", &resolved).IsOk());
  EXPECT_TRUE(resolved.isDirectory);
  EXPECT_EQ(cache.ListingCount(), listings);
}

TEST_F(PathResolution, ChangesByOthersAreSeen) {
  CHostMachine& machine = m_machine.Machine();
  ResolvedPath resolved;
  ASSERT_TRUE(machine.Paths().Resolve("C:\\WINDOWS\\later.ini", &resolved).IsOk());
  EXPECT_FALSE(resolved.exists);
  ::usleep(20000);  // past the file system's timestamp granularity
  m_machine.Write("drive_c/WINDOWS/later.ini", "");
  ASSERT_TRUE(machine.Paths().Resolve("C:\\WINDOWS\\later.ini", &resolved).IsOk());
  EXPECT_TRUE(resolved.exists);
}

}  // namespace

namespace {

// As on FAT, an entry keeps its short name while the run deletes and makes others, so a
// name taken from a search still names the same file later.
TEST_F(PathResolution, ShortNamesStayWhileTheDirectoryChanges) {
  IMachine& machine = m_machine.Machine();
  std::vector<DirEntry> entries;
  ASSERT_TRUE(machine.ListDirectory("C:\\Capture", &entries).IsOk());
  ASSERT_EQ(entries[1].shortName, "CAPTUR~2.LNK");
  ASSERT_TRUE(machine.DeleteFile("C:\\Capture\\CAPTUR~1.LNK").IsOk());
  ResolvedPath resolved;
  ASSERT_TRUE(machine.FullPath("C:\\Capture\\CAPTUR~2.LNK", &resolved.windowsPath).IsOk());
  EXPECT_EQ(resolved.windowsPath, "C:\\Capture\\Capture Player.lnk");
  ASSERT_TRUE(machine.WriteFileAtomic("C:\\Capture\\Capture Clip.lnk", "").IsOk());
  ASSERT_TRUE(machine.ListDirectory("C:\\Capture", &entries).IsOk());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "Capture Clip.lnk");
  EXPECT_EQ(entries[0].shortName, "CAPTUR~1.LNK") << "a new entry takes a free short name";
  EXPECT_EQ(entries[1].shortName, "CAPTUR~2.LNK");
}

}  // namespace
