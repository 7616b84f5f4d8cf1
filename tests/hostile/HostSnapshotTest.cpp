// The canary check itself: every kind of touch to a host tree shows as a change, a mere read
// does not.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>

#include "tests/hostile/HostSnapshot.h"
#include "tests/support/TestMachine.h"

namespace {

struct Touch {
  const char* name;
  std::function<void(const std::string& dir)> touch;
  bool shows;
};

void Fill(const std::string& dir) {
  std::ofstream(dir + "/file.txt") << "canary";
  ::mkdir((dir + "/sub").c_str(), 0755);
  std::ofstream(dir + "/sub/deep.txt") << "deep";
  ASSERT_EQ(::symlink("file.txt", (dir + "/link").c_str()), 0);
}

TEST(HostSnapshot, EveryTouchShows) {
  const Touch touches[] = {
      {"new contents", [](const std::string& d) { std::ofstream(d + "/file.txt") << "canarz"; }, true},
      {"appended", [](const std::string& d) { std::ofstream(d + "/file.txt", std::ios::app) << "!"; }, true},
      {"times set",
       [](const std::string& d) {
         const timespec past[2] = {{1000, 0}, {1000, 0}};
         ::utimensat(AT_FDCWD, (d + "/file.txt").c_str(), past, 0);
       },
       true},
      {"mode changed", [](const std::string& d) { ::chmod((d + "/file.txt").c_str(), 0600); }, true},
      {"removed", [](const std::string& d) { ::unlink((d + "/sub/deep.txt").c_str()); }, true},
      {"a file added deep down", [](const std::string& d) { std::ofstream(d + "/sub/new.txt") << "x"; }, true},
      {"renamed", [](const std::string& d) { ::rename((d + "/sub/deep.txt").c_str(), (d + "/sub/d.txt").c_str()); },
       true},
      {"hard-linked", [](const std::string& d) { ::link((d + "/file.txt").c_str(), (d + "/sub/hard").c_str()); }, true},
      {"link retargeted",
       [](const std::string& d) {
         ::unlink((d + "/link").c_str());
         ::symlink("sub", (d + "/link").c_str());
       },
       true},
      {"replaced by a file of the same bytes",
       [](const std::string& d) {
         std::ofstream(d + "/copy") << "canary";
         ::rename((d + "/copy").c_str(), (d + "/file.txt").c_str());
       },
       true},
      {"read", [](const std::string& d) { std::ifstream(d + "/file.txt").get(); }, false},
  };
  for (const Touch& t : touches) {
    CTempDir dir;
    Fill(dir.Path());
    CHostSnapshot before = CHostSnapshot::Take(dir.Path());
    t.touch(dir.Path());
    EXPECT_EQ(CHostSnapshot::Take(dir.Path()).ChangesSince(before).empty(), !t.shows) << t.name;
  }
}

}  // namespace
