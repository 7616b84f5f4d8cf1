// Reading strace lines and judging them against the machine's bounds: the judge must flag every
// change it cannot place inside the machine, and only those.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/hostile/FileTrace.h"

namespace {

struct TraceCase {
  const char* name;
  const char* trace;
  bool outside;  // some change is flagged
};

const JailBounds kBounds{{"/m"}, {"/m/drive_c/link"}, {"/run/transcript.jsonl"}};

TEST(FileTrace, FlagsWhatItCannotPlaceInside) {
  const TraceCase cases[] = {
      {"write inside",
       R"(7 openat(AT_FDCWD</run>, "/m/drive_c/a.ini", O_RDWR|O_CREAT|O_EXCL, 0600) = 3</m/drive_c/a.ini>)",
       false},
      {"write outside",
       R"(7 openat(AT_FDCWD</run>, "/etc/a.ini", O_WRONLY|O_CREAT|O_TRUNC, 0644) = 3</etc/a.ini>)",
       true},
      {"failed write outside",
       R"(7 openat(AT_FDCWD</run>, "/etc/a.ini", O_WRONLY, 0644) = -1 EACCES (Permission denied))",
       true},
      {"read outside", R"(7 openat(AT_FDCWD</run>, "/etc/passwd", O_RDONLY|O_CLOEXEC) = 3</etc/passwd>)", false},
      {"the transcript, relative to the cwd",
       R"(7 openat(AT_FDCWD</run>, "transcript.jsonl", O_WRONLY|O_CREAT|O_TRUNC, 0666) = 4</run/transcript.jsonl>)",
       false},
      {"another file of the cwd",
       R"(7 openat(AT_FDCWD</run>, "other.txt", O_WRONLY|O_CREAT, 0666) = 4</run/other.txt>)",
       true},
      {"relative without a directory descriptor", R"(7 unlink("x.txt") = 0)", true},
      {"relative after a chdir", "7 chdir(\"/m/drive_c\") = 0\n7 unlink(\"x.txt\") = 0", true},
      {"unlinkat in a directory inside", R"(7 unlinkat(3</m/drive_c/dir>, "x.dll", 0) = 0)", false},
      {"rmdir inside", R"(7 rmdir("/m/drive_c/dir") = 0)", false},
      {"rename out of the machine", R"(7 rename("/m/drive_c/a", "/tmp/a") = 0)", true},
      {"rename into the machine from outside", R"(7 rename("/tmp/a", "/m/drive_c/a") = 0)", true},
      {"rename inside",
       R"(7 renameat2(AT_FDCWD</run>, "/m/drive_c/a", AT_FDCWD</run>, "/m/drive_c/b", RENAME_NOREPLACE) = 0)",
       false},
      {"a path through a link", R"(7 unlink("/m/drive_c/link/x") = 0)", true},
      {"the link itself", R"(7 unlink("/m/drive_c/link") = 0)", false},
      {"opening the link for writing follows it",
       R"(7 openat(AT_FDCWD</run>, "/m/drive_c/link", O_WRONLY|O_APPEND) = 3</tmp/x>)",
       true},
      {"opening the link without following it",
       R"(7 openat(AT_FDCWD</run>, "/m/drive_c/link", O_WRONLY|O_NOFOLLOW) = -1 ELOOP (Too many levels of links))",
       false},
      {"a renamed link still leads out",
       "7 rename(\"/m/drive_c/link\", \"/m/drive_c/moved\") = 0\n7 unlink(\"/m/drive_c/moved/x\") = 0",
       true},
      {"a dot-dot component", R"(7 unlink("/m/drive_c/../../etc/x") = 0)", true},
      {"a doubled slash", R"(7 unlink("/m//x") = 0)", true},
      {"the machine's folder itself", R"(7 rmdir("/m") = 0)", true},
      {"a sibling that shares the prefix", R"(7 unlink("/m2/x") = 0)", true},
      {"a path cut by strace", R"(7 unlink("/m/drive_c/aaaa"...) = 0)", true},
      {"hex-escaped path", R"(7 unlink("\x2f\x74\x6d\x70\x2f\x78") = 0)", true},
      {"hex-escaped path inside", R"(7 unlink("\x2f\x6d\x2f\x78") = 0)", false},
      {"a descriptor outside", R"(7 ftruncate(6</tmp/x.db>, 0) = 0)", true},
      {"a descriptor inside", R"(7 ftruncate(6</m/registry.db-shm>, 3) = 0)", false},
      {"utimensat on a descriptor", R"(7 utimensat(0</tmp/x>, NULL, NULL, 0) = 0)", true},
      {"an interrupted call",
       "7 openat(AT_FDCWD</run>, \"/tmp/x\", O_WRONLY|O_CREAT <unfinished ...>\n8 rmdir(\"/m/d\") = 0\n"
       "7 <... openat resumed>, 0644) = 3</tmp/x>",
       true},
      {"/dev/null and /dev/tty",
       "7 openat(AT_FDCWD</run>, \"/dev/null\", O_WRONLY) = 3</dev/null>\n"
       "7 openat(AT_FDCWD</run>, \"/dev/tty\", O_RDWR) = 3</dev/tty>",
       false},
      {"a symbolic link made outside", R"(7 symlinkat("/m/x", AT_FDCWD</run>, "/tmp/l") = 0)", true},
      {"a hard link to an outside file", R"(7 link("/tmp/x", "/m/drive_c/x") = 0)", true},
      {"chmod outside", R"(7 fchmodat(AT_FDCWD</run>, "/tmp/x", 0644) = 0)", true},
      {"signals and exits", "7 --- SIGCHLD {si_signo=SIGCHLD} ---\n7 +++ exited with 0 +++", false},
  };
  for (const TraceCase& c : cases) {
    std::vector<std::string> flagged = ChangesOutside(ReadFileTrace(c.trace, "/run"), kBounds);
    EXPECT_EQ(!flagged.empty(), c.outside) << c.name << "\n" << testing::PrintToString(flagged);
  }
}

TEST(FileTrace, OpensBelowAFolderAreTheFilesTheKernelOpened) {
  std::vector<TracedCall> calls = ReadFileTrace(
      "7 openat(AT_FDCWD</run>, \"/m/drive_c/link/oem1.inf\", O_RDONLY) = 3</tmp/out/oem1.inf>\n"
      "7 openat(AT_FDCWD</run>, \"/tmp/out/missing\", O_RDONLY) = -1 ENOENT (No such file or directory)\n"
      "7 openat(AT_FDCWD</run>, \"/tmp/outer/x\", O_RDONLY) = 3</tmp/outer/x>\n",
      "/run");
  std::vector<std::string> opens = OpensBelow(calls, "/tmp/out");
  ASSERT_EQ(opens.size(), 1u) << testing::PrintToString(opens);
  EXPECT_EQ(opens[0], "openat /tmp/out/oem1.inf");
}

}  // namespace
