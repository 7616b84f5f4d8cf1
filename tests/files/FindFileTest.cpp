// FindFirstFileA/FindNextFileA on a machine: patterns, order, dot entries, short names, errors.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/FileApi.h"
#include "platform/LastError.h"
#include "tests/support/TestMachine.h"

namespace {

struct Found {
  std::string name;
  std::string shortName;
  DWORD attributes = 0;
  DWORD sizeLow = 0;
  DWORD sizeHigh = 0;
};

// Every result of a search, in order; empty with *error set when the search failed.
std::vector<Found> SearchAll(const char* pattern, DWORD* error = nullptr) {
  std::vector<Found> found;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) {
    if (error) *error = GetLastError();
    return found;
  }
  do {
    found.push_back({data.cFileName, data.cAlternateFileName, data.dwFileAttributes, data.nFileSizeLow,
                     data.nFileSizeHigh});
  } while (FindNextFileA(search, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(FindClose(search));
  if (error) *error = ERROR_SUCCESS;
  return found;
}

std::vector<std::string> Names(const char* pattern) {
  std::vector<std::string> names;
  for (const Found& f : SearchAll(pattern)) names.push_back(f.name);
  return names;
}

using Names_ = std::vector<std::string>;

class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"Capture.lnk", "Capture Tool.lnk", "captu.lnk", "Capt.lnk", "x.lnkx", "Readme.txt"})
      m.Write(std::string("drive_c/Group/") + name, "12345");
    m.MakeDir("drive_c/Group/Sub.lnk");
  }
  CTestMachine m;
};

TEST_F(FindFileTest, StarDotStarListsDotsThenEntriesSorted) {
  EXPECT_EQ(Names("C:\\Group\\*.*"), (Names_{".", "..", "Capt.lnk", "captu.lnk", "Capture Tool.lnk", "Capture.lnk",
                                             "Readme.txt", "Sub.lnk", "x.lnkx"}));
  // Forward slashes and any case reach the same directory.
  EXPECT_EQ(Names("c:/group/*"), Names("C:\\Group\\*.*"));
}

TEST_F(FindFileTest, PatternsOfTheUninstaller) {
  EXPECT_EQ(Names("C:\\Group\\*.lnk"), (Names_{"Capt.lnk", "captu.lnk", "Capture Tool.lnk", "Capture.lnk", "Sub.lnk"}));
  EXPECT_EQ(Names("C:\\Group\\Captu*.lnk"), (Names_{"captu.lnk", "Capture Tool.lnk", "Capture.lnk"}));
  EXPECT_EQ(Names("C:\\Group\\?????.lnk"), (Names_{"captu.lnk"}));
  EXPECT_EQ(Names("C:\\Group\\README.TXT"), (Names_{"Readme.txt"}));
}

TEST_F(FindFileTest, EntriesCarryAttributesSizeAndShortNames) {
  std::vector<Found> found = SearchAll("C:\\Group\\Capture*");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].name, "Capture Tool.lnk");
  EXPECT_EQ(found[0].shortName, "CAPTUR~1.LNK");
  EXPECT_EQ(found[0].sizeLow, 5u);
  EXPECT_EQ(found[0].attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(found[1].shortName, "CAPTURE.LNK");  // mixed case: its upper-case alias
  std::vector<Found> dirs = SearchAll("C:\\Group\\*.*");
  EXPECT_NE(dirs[0].attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);  // "."
  EXPECT_NE(dirs[7].attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);  // "Sub.lnk"
}

TEST_F(FindFileTest, ShortNamesResolveBack) {
  for (const Found& f : SearchAll("C:\\Group\\*.*")) {
    if (f.shortName.empty()) continue;
    std::vector<Found> again = SearchAll(("C:\\Group\\" + f.shortName).c_str());
    ASSERT_EQ(again.size(), 1u) << f.shortName;
    EXPECT_EQ(again[0].name, f.name);
  }
  // A valid upper-case 8.3 name has no separate short name.
  m.Write("drive_c/Group/PLAIN.TXT", "");
  EXPECT_EQ(SearchAll("C:\\Group\\plain.txt").at(0).shortName, "");
}

TEST_F(FindFileTest, NamesThatDifferOnlyInCase) {
  m.Write("drive_c/Case/readme.txt", "lower");
  m.Write("drive_c/Case/README.TXT", "upper!");
  std::vector<Found> all = SearchAll("C:\\Case\\*.txt");
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].name, "README.TXT");
  EXPECT_EQ(all[0].shortName, "");
  EXPECT_EQ(all[1].name, "readme.txt");
  // Without wildcards one file is named: the exact spelling, else the first in sorted order.
  EXPECT_EQ(Names("C:\\Case\\readme.txt"), (Names_{"readme.txt"}));
  EXPECT_EQ(Names("C:\\Case\\Readme.Txt"), (Names_{"README.TXT"}));
  EXPECT_EQ(Names(("C:\\Case\\" + all[1].shortName).c_str()), (Names_{"readme.txt"}));
}

TEST_F(FindFileTest, DriveRootHasNoDotEntries) {
  std::vector<std::string> root = Names("C:\\*.*");
  EXPECT_EQ(root, (Names_{"Group", "WINDOWS"}));
}

TEST_F(FindFileTest, LowThirtyTwoBitsOfTheSize) {
  std::string host = m.Host("drive_c/Group/big.bin");
  m.Write("drive_c/Group/big.bin", "");
  ASSERT_EQ(::truncate(host.c_str(), (5LL << 30) + 7), 0);  // sparse: no 5 GiB written
  std::vector<Found> found = SearchAll("C:\\Group\\big.bin");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].sizeLow, (1u << 30) + 7);
  EXPECT_EQ(found[0].sizeHigh, 1u);
}

TEST_F(FindFileTest, Errors) {
  struct Case {
    const char* pattern;
    DWORD error;
  } cases[] = {
      {"C:\\Group\\*.doc", ERROR_FILE_NOT_FOUND},     // nothing matches
      {"C:\\Group\\missing.txt", ERROR_FILE_NOT_FOUND},
      {"C:\\", ERROR_FILE_NOT_FOUND},                 // a root alone names no file
      {"C:\\Group\\", ERROR_FILE_NOT_FOUND},
      {"C:\\Missing\\*.*", ERROR_PATH_NOT_FOUND},
      {"C:\\Missing\\Deeper\\*.*", ERROR_PATH_NOT_FOUND},
      {"Q:\\*.*", ERROR_PATH_NOT_FOUND},             // no such drive
  };
  for (const Case& c : cases) {
    DWORD error = 0;
    EXPECT_TRUE(SearchAll(c.pattern, &error).empty()) << c.pattern;
    EXPECT_EQ(error, c.error) << c.pattern;
  }
  WIN32_FIND_DATAA data;
  EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &data));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
}

TEST_F(FindFileTest, ResultsAreTakenWhenTheSearchStarts) {
  // The deletion of a match during the walk, as the engine does, neither ends the walk nor
  // skips the next match.
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA("C:\\Group\\*.lnk", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  std::vector<std::string> seen;
  do {
    seen.push_back(data.cFileName);
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      EXPECT_TRUE(DeleteFileA(("C:\\Group\\" + std::string(data.cFileName)).c_str()));
    }
  } while (FindNextFileA(search, &data));
  FindClose(search);
  EXPECT_EQ(seen.size(), 5u);
  EXPECT_EQ(Names("C:\\Group\\*.lnk"), (Names_{"Sub.lnk"}));
}

TEST(Directories, WindowsAndSystem) {
  char buffer[256] = "untouched";
  EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof buffer), 10u);
  EXPECT_STREQ(buffer, "C:\\WINDOWS");
  EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 17u);
  EXPECT_STREQ(buffer, "C:\\WINDOWS\\SYSTEM");
  char small[10] = "untouched";
  EXPECT_EQ(GetWindowsDirectoryA(small, sizeof small), 11u);  // the size needed, with its NUL
  EXPECT_STREQ(small, "untouched");
}

}  // namespace
