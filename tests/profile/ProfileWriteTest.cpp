// The profile write functions: what each leaves in the file, byte for byte.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/HostFile.h"
#include "platform/Profile.h"
#include "platform/ProfileCache.h"
#include "tests/support/TestMachine.h"

namespace {

using namespace std::string_literals;

constexpr const char* kFile = "test.ini";
constexpr const char* kHostFile = "drive_c/WINDOWS/test.ini";

enum class Write { String, Section };

struct WriteCase {
  const char* name;
  std::string before;  // "<missing>" for no file
  Write call;
  const char* section;
  const char* key;    // for Section: unused
  const char* value;  // for Section: the NUL-separated lines (nullptr deletes)
  BOOL ret;
  std::string after;
};

class ProfileWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, LeavesTheFileAsWindowsDoes) {
  const WriteCase& c = GetParam();
  CTestMachine machine;
  if (c.before != "<missing>") machine.Write(kHostFile, c.before);
  BOOL ret = c.call == Write::String ? WritePrivateProfileStringA(c.section, c.key, c.value, kFile)
                                     : WritePrivateProfileSectionA(c.section, c.value, kFile);
  EXPECT_EQ(ret, c.ret);
  EXPECT_EQ(machine.Read(kHostFile), c.after);
}

const WriteCase kWriteCases[] = {
    // Creating and appending.
    {"MissingFileIsCreated", "<missing>", Write::String, "App", "key", "val", TRUE, "[App]\r\nkey=val\r\n"},
    {"EmptyFileIsFilled", "", Write::String, "App", "key", "", TRUE, "[App]\r\nkey=\r\n"},
    {"NewSectionAtTheEnd", "[a]\r\nx=1\r\n", Write::String, "b", "k", "v", TRUE, "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
    {"LineEndGivenFirst", "[a]\r\nx=1", Write::String, "b", "k", "v", TRUE, "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
    {"NewKeyAfterLastEntry", "[a]\r\nx=1\r\n;c\r\n\r\n[b]\r\n", Write::String, "a", "y", "2", TRUE,
     "[a]\r\nx=1\r\ny=2\r\n;c\r\n\r\n[b]\r\n"},
    {"NewKeyAfterLineWithoutEquals", "[a]\r\nx=1\r\nname3\r\n;c\r\n", Write::String, "a", "y", "2", TRUE,
     "[a]\r\nx=1\r\nname3\r\ny=2\r\n;c\r\n"},
    {"NewKeyUnderBareHeader", "[a]\r\n;only a comment\r\n", Write::String, "a", "y", "2", TRUE,
     "[a]\r\ny=2\r\n;only a comment\r\n"},
    {"NewKeyUnderLastHeaderWithoutEnd", "[a]", Write::String, "a", "y", "2", TRUE, "[a]\r\ny=2\r\n"},
    {"NewLinesEndInCrLfInLfFile", "[a]\nx=1\n", Write::String, "a", "y", "2", TRUE, "[a]\nx=1\ny=2\r\n"},
    {"CommentKeysStackInReverse", "[a]\r\nx=1\r\n;c1=\r\n", Write::String, "a", ";c2", "", TRUE,
     "[a]\r\nx=1\r\n;c2=\r\n;c1=\r\n"},
    // Replacing.
    {"ReplaceKeepsFileSpelling", "[Sec]\r\nKey=old\r\n", Write::String, "SEC", "KEY", "new", TRUE,
     "[Sec]\r\nKey=new\r\n"},
    {"ReplaceLastLineGetsLineEnd", "[s]\r\nk=old", Write::String, "s", "k", "new", TRUE, "[s]\r\nk=new\r\n"},
    {"ReplaceRewritesBlanks", "[s]\r\n  key = old  \r\nz=1\r\n", Write::String, "s", "key", "new", TRUE,
     "[s]\r\nkey=new\r\nz=1\r\n"},
    {"ReplaceFirstDuplicate", "[a]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n", Write::String, "a", "k", "9", TRUE,
     "[a]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\n"},
    {"ReplaceKeepsLfLineEnd", "[a]\nk=1\nz=2\n", Write::String, "a", "k", "9", TRUE, "[a]\nk=9\nz=2\n"},
    {"NamesLoseSpacesValueVerbatim", "<missing>", Write::String, "   sec   ", "  key  ", " value ", TRUE,
     "[sec]\r\nkey= value \r\n"},
    {"NamesKeepTabs", "<missing>", Write::String, "\tsec", "key", "v", TRUE, "[\tsec]\r\nkey=v\r\n"},
    {"EverythingElseKept", "junk\0\0\r\n; top\r\n[a]\r\n  odd   spacing = 1 \r\n\r\n[b]\r\nk=1\r\n"s, Write::String,
     "b", "k", "2", TRUE, "junk\0\0\r\n; top\r\n[a]\r\n  odd   spacing = 1 \r\n\r\n[b]\r\nk=2\r\n"s},
    // Deleting.
    {"DeleteKeyKeepsHeader", "[a]\r\nk=1\r\n", Write::String, "a", "k", nullptr, TRUE, "[a]\r\n"},
    {"DeleteMissingKeyChangesNothing", "[a]\r\nk=1", Write::String, "a", "x", nullptr, TRUE, "[a]\r\nk=1"},
    {"DeleteCommentChangesNothing", "[a]\r\n;k=1\r\n", Write::String, "a", ";k", nullptr, TRUE, "[a]\r\n;k=1\r\n"},
    {"DeleteFirstDuplicateKey", "[a]\r\nk=1\r\nk=2\r\n", Write::String, "a", "K", nullptr, TRUE, "[a]\r\nk=2\r\n"},
    {"DeleteSectionKeepsComments", ";comment0\r\n[SectionName]\r\n;comment1\r\nk=v\r\nname3\r\n\r\n[Other]\r\nx=1\r\n",
     Write::String, "sectionname", nullptr, "ignored", TRUE, ";comment0\r\n;comment1\r\n\r\n[Other]\r\nx=1\r\n"},
    {"DeleteLastSection", "[a]\r\nx=1\r\n[b]\r\nk=v", Write::String, "b", nullptr, nullptr, TRUE, "[a]\r\nx=1\r\n"},
    {"DeleteKeyInMissingFileMakesEmptyFile", "<missing>", Write::String, "a", "k", nullptr, TRUE, ""},
    {"DeleteSectionInMissingFileMakesEmptyFile", "<missing>", Write::String, "a", nullptr, nullptr, TRUE, ""},
    {"NullSectionFailsAndMakesNothing", "<missing>", Write::String, nullptr, "k", "v", FALSE, "<missing>"},
    // Line breaks in a value become lines of the file.
    {"ValueWithLineBreak", "[a]\r\n", Write::String, "a", "k", "v\r\nz=9", TRUE, "[a]\r\nk=v\r\nz=9\r\n"},
    // Whole sections.
    {"SectionReplacedWhereFirstEntryStood", "[a]\r\n;c1\r\nx=1\r\n;c2\r\ny=2\r\nname3\r\n[b]\r\n", Write::Section, "a",
     nullptr, "p=1\0q=2\0", TRUE, "[a]\r\n;c1\r\np=1\r\nq=2\r\n;c2\r\n[b]\r\n"},
    {"SectionWithoutEntriesFilledUnderHeader", "[a]\r\n;c1\r\n[b]\r\n", Write::Section, "A", nullptr, "p=1\0", TRUE,
     "[a]\r\np=1\r\n;c1\r\n[b]\r\n"},
    {"SectionAppendedWhenMissing", "[a]\r\nx=1", Write::Section, "Rename", nullptr, "NUL=C:\\x\0NUL=C:\\y\0", TRUE,
     "[a]\r\nx=1\r\n[Rename]\r\nNUL=C:\\x\r\nNUL=C:\\y\r\n"},
    {"SectionInMissingFile", "<missing>", Write::Section, "s", nullptr, "k=v\0", TRUE, "[s]\r\nk=v\r\n"},
    {"EmptyListEmptiesSection", "[s]\r\nk=v\r\n[t]\r\n", Write::Section, "s", nullptr, "\0", TRUE, "[s]\r\n[t]\r\n"},
    {"NullListDeletesSection", "[s]\r\nk=v\r\n[t]\r\n", Write::Section, "s", nullptr, nullptr, TRUE, "[t]\r\n"},
    {"ListEndsAtFirstEmptyString", "<missing>", Write::Section, "s", nullptr, "a=1\0\0b=2\0", TRUE, "[s]\r\na=1\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileWriteFailures, MissingDirectoryFailsAndCreatesNothing) {
  CTestMachine machine;
  EXPECT_FALSE(WritePrivateProfileStringA("a", "k", "v", "C:\\nowhere\\x.ini"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(machine.Exists("drive_c/nowhere"));
  EXPECT_FALSE(WritePrivateProfileStringA("a", "k", "v", ""));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(ProfileWriteFailures, ReadOnlyFileIsRefusedAndKept) {
  CTestMachine machine;
  machine.Write(kHostFile, "[a]\r\nk=1\r\n");
  ::chmod(machine.Host(kHostFile).c_str(), 0444);
  EXPECT_FALSE(WritePrivateProfileStringA("a", "k", "2", kFile));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(machine.Read(kHostFile), "[a]\r\nk=1\r\n");
}

TEST(ProfileWriteRoundTrip, ReadsSeeWrites) {
  CTestMachine machine;
  char buffer[64];
  ASSERT_TRUE(WritePrivateProfileStringA("Packages", "PackageA", "1", kFile));
  ASSERT_TRUE(WritePrivateProfileStringA("Packages", "PackageB", "0", kFile));
  ASSERT_TRUE(WritePrivateProfileStringA("Packages", "PackageA", nullptr, kFile));
  EXPECT_EQ(GetPrivateProfileSectionA("Packages", buffer, sizeof buffer, kFile), 11u);
  EXPECT_EQ(std::string(buffer, 12), "PackageB=0\0\0"s);
}

// Writes whose text makes lines of another kind in the file (a key beginning with "[" is a
// header there; a line break in a section name splits its header): this process reads the
// file as any other process reading it afresh does.
TEST(ProfileWriteRoundTrip, WritesThatMakeNewLinesReadAsTheFileReads) {
  struct Case {
    const char* name;
    Write call;
    const char* section;
    const char* key;
    const char* value;  // for Section: the NUL-separated lines
    std::string after;
    std::string sections;  // the section list read back, as GetPrivateProfileStringA gives it
  };
  const Case cases[] = {
      {"KeyBeginningWithBracket", Write::String, "a", "[b", "v", "[a]\r\nx=1\r\n[b=v\r\n", "a\0b=v\0"s},
      {"KeyWithBlanksThenBracket", Write::String, "a", "\t[b", "v", "[a]\r\nx=1\r\n\t[b=v\r\n", "a\0b=v\0"s},
      {"NewSectionWithBracketKey", Write::String, "n", "[b]", "v", "[a]\r\nx=1\r\n[n]\r\n[b]=v\r\n", "a\0n\0b\0"s},
      {"SectionLineBeginningWithBracket", Write::Section, "a", nullptr, "[c]\0y=2\0", "[a]\r\n[c]\r\ny=2\r\n",
       "a\0c\0"s},
      {"SectionNameWithLineBreak", Write::Section, "s\r\nk", nullptr, "\0", "[a]\r\nx=1\r\n[s\r\nk]\r\n", "a\0s\0"s},
  };
  for (const Case& c : cases) {
    CTestMachine machine;
    machine.Write(kHostFile, "[a]\r\nx=1\r\n");
    BOOL ret = c.call == Write::String ? WritePrivateProfileStringA(c.section, c.key, c.value, kFile)
                                       : WritePrivateProfileSectionA(c.section, c.value, kFile);
    ASSERT_TRUE(ret) << c.name;
    EXPECT_EQ(machine.Read(kHostFile), c.after) << c.name;
    char buffer[64];
    DWORD count = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, kFile);
    EXPECT_EQ(std::string(buffer, count), c.sections) << c.name << ": the sections this process sees";
    TheProfileCache().Clear();  // the next read parses the file afresh
    count = GetPrivateProfileStringA(nullptr, nullptr, "", buffer, sizeof buffer, kFile);
    EXPECT_EQ(std::string(buffer, count), c.sections) << c.name << ": the sections of the file";
  }
}

TEST(ProfileWriteBatch, WritesGoOutTogetherAtTheEnd) {
  CTestMachine machine;
  machine.Write(kHostFile, "[a]\r\nk=1\r\n");
  char buffer[16];
  {
    CProfileWriteBatch batch;
    ASSERT_TRUE(WritePrivateProfileStringA("a", "k", "2", kFile));
    ASSERT_TRUE(WritePrivateProfileStringA("a", "j", "3", kFile));
    EXPECT_EQ(machine.Read(kHostFile), "[a]\r\nk=1\r\n") << "written before the batch ended";
    EXPECT_EQ(GetPrivateProfileStringA("a", "k", "", buffer, sizeof buffer, kFile), 1u);
    EXPECT_STREQ(buffer, "2") << "a read in the batch must see its writes";
  }
  EXPECT_EQ(machine.Read(kHostFile), "[a]\r\nk=2\r\nj=3\r\n");
}

TEST(ProfileWriteBatch, PendingWritesApplyToWhatAnotherWriterLeft) {
  CTestMachine machine;
  machine.Write(kHostFile, "[a]\r\nk=1\r\n");
  {
    CProfileWriteBatch batch;
    ASSERT_TRUE(WritePrivateProfileStringA("a", "mine", "1", kFile));
    machine.Write(kHostFile, "[a]\r\nk=1\r\ntheirs=22\r\n");  // another process, meanwhile
  }
  EXPECT_EQ(machine.Read(kHostFile), "[a]\r\nk=1\r\ntheirs=22\r\nmine=1\r\n");
}

// Two processes each write their own keys into one file at once: neither loses the other's.
TEST(ProfileConcurrency, TwoProcessesKeepEachOthersUpdates) {
  CTestMachine machine;
  machine.Write(kHostFile, "[s]\r\n");
  constexpr int kKeys = 60;
  pid_t children[2];
  for (int child = 0; child < 2; ++child) {
    children[child] = ::fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      CHostMachine own(machine.Root());
      InstallMachine(&own);
      bool ok = true;
      for (int i = 0; i < kKeys; ++i) {
        std::string key = "p" + std::to_string(child) + "k" + std::to_string(i);
        ok = WritePrivateProfileStringA("s", key.c_str(), "1", kFile) && ok;
      }
      InstallMachine(nullptr);
      ::_exit(ok ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  char buffer[8];
  for (int child = 0; child < 2; ++child)
    for (int i = 0; i < kKeys; ++i) {
      std::string key = "p" + std::to_string(child) + "k" + std::to_string(i);
      EXPECT_EQ(GetPrivateProfileStringA("s", key.c_str(), "", buffer, sizeof buffer, kFile), 1u) << key;
    }
}

// A writer killed at the worst moment (new text complete, not yet renamed) leaves the old
// file whole.
TEST(ProfileCrash, WriteKilledBeforeRenameLeavesOldFile) {
  CTestMachine machine;
  const std::string old = "[a]\r\nk=old\r\n; rest of the file\r\n";
  machine.Write(kHostFile, old);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    CHostMachine own(machine.Root());
    InstallMachine(&own);
    SetBeforeReplaceHookForTesting([] { ::raise(SIGKILL); });
    WritePrivateProfileStringA("a", "k", "new", kFile);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(machine.Read(kHostFile), old);
  char buffer[8];
  EXPECT_EQ(GetPrivateProfileStringA("a", "k", "", buffer, sizeof buffer, kFile), 3u);
  EXPECT_STREQ(buffer, "old");
}

}  // namespace

namespace {

// Removing keys one after another, duplicates among them: every later lookup still finds the
// right line, and a duplicate key comes to light when the first of its name goes.
TEST(ProfileWriteRemovals, LookupsStayRightAsKeysGo) {
  CTestMachine machine;
  machine.Write(kHostFile, "[a]\r\nk1=1\r\nDup=first\r\nk2=2\r\ndup=second\r\nk3=3\r\n");
  auto read = [](const char* key) {
    char value[16] = {};
    GetPrivateProfileStringA("a", key, "-", value, sizeof value, kFile);
    return std::string(value);
  };
  ASSERT_TRUE(WritePrivateProfileStringA("a", "k1", nullptr, kFile));
  EXPECT_EQ(read("k2"), "2");
  EXPECT_EQ(read("k3"), "3");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "DUP", nullptr, kFile));
  EXPECT_EQ(read("dup"), "second");
  EXPECT_EQ(read("k3"), "3");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "dup", nullptr, kFile));
  EXPECT_EQ(read("dup"), "-");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "k3", "three", kFile));
  EXPECT_EQ(machine.Read(kHostFile), "[a]\r\nk2=2\r\nk3=three\r\n");
}

}  // namespace
