// The profile layer on files that cannot be read as profile files: a folder, a FIFO, a sparse
// file far larger than any profile file. Each reads as the default at once, with an error the
// caller can ask for; a missing file stays what it always was, an empty one.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "platform/LastError.h"
#include "platform/Profile.h"
#include "tests/support/TestMachine.h"

namespace {

struct FileCase {
  const char* name;
  std::function<void(const CTestMachine&, const std::string& host)> make;
  bool readable;
  DWORD error;  // GetLastError after ProfileFileReadable when not readable
};

TEST(BrokenProfileFile, ReadsAsTheDefaultWithAReason) {
  const FileCase cases[] = {
      {"missing", [](const CTestMachine&, const std::string&) {}, true, 0},
      {"a plain file", [](const CTestMachine& m, const std::string&) { m.Write("drive_c/x.ini", "[s]\r\nk=v\r\n"); },
       true, 0},
      {"a folder", [](const CTestMachine& m, const std::string&) { m.MakeDir("drive_c/x.ini"); }, false,
       ERROR_ACCESS_DENIED},
      {"a FIFO", [](const CTestMachine&, const std::string& host) { ASSERT_EQ(::mkfifo(host.c_str(), 0644), 0); },
       false, ERROR_ACCESS_DENIED},
      {"a sparse file of 300 MiB",
       [](const CTestMachine& m, const std::string& host) {
         m.Write("drive_c/x.ini", "[s]\r\nk=v\r\n");
         ASSERT_EQ(::truncate(host.c_str(), off_t{300} << 20), 0);
       },
       false, ERROR_NOT_ENOUGH_MEMORY},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.name);
    CTestMachine m;
    c.make(m, m.Host("drive_c/x.ini"));
    SetLastError(0);
    EXPECT_EQ(ProfileFileReadable("C:\\x.ini"), c.readable ? TRUE : FALSE);
    if (!c.readable) {
      EXPECT_EQ(GetLastError(), c.error);
    }
    char value[16] = "#";
    const DWORD expected = c.name == std::string("a plain file") ? 1 : 7;
    EXPECT_EQ(GetPrivateProfileStringA("s", "k", "default", value, sizeof value, "C:\\x.ini"), expected);
    EXPECT_STREQ(value, expected == 1 ? "v" : "default");
  }
}

}  // namespace
