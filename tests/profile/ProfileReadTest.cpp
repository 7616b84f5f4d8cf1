// The profile read functions against files of known bytes, case by case as Windows answers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "tests/support/TestMachine.h"

namespace {

using namespace std::string_literals;

constexpr const char* kFile = "test.ini";  // a bare name: C:\WINDOWS\test.ini
constexpr const char* kHostFile = "drive_c/WINDOWS/test.ini";

enum class Call { String, Section };

struct ReadCase {
  const char* name;
  std::string file;  // "<missing>" for no file
  Call call;
  const char* section;
  const char* key;
  const char* fallback;
  DWORD size;
  DWORD ret;
  std::string buffer;  // the bytes the call must have written, NULs included
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, ReturnsWhatWindowsReturns) {
  const ReadCase& c = GetParam();
  CTestMachine machine;
  if (c.file != "<missing>") machine.Write(kHostFile, c.file);
  // A buffer marked so that bytes the call must not touch can be seen.
  std::vector<char> buffer(c.size + 8, '#');
  DWORD ret = c.call == Call::String
                  ? GetPrivateProfileStringA(c.section, c.key, c.fallback, buffer.data(), c.size, kFile)
                  : GetPrivateProfileSectionA(c.section, buffer.data(), c.size, kFile);
  EXPECT_EQ(ret, c.ret);
  EXPECT_EQ(std::string(buffer.data(), c.buffer.size()), c.buffer);
  EXPECT_EQ(buffer[c.size], '#') << "wrote past the buffer";
}

const std::string kWineContent = "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n"
                                 "[section2]\r\n";

const ReadCase kReadCases[] = {
    // Blanks around names and values, and inside values.
    {"SpacesAroundKeyAndValue", "[s]\r\n  key  =  value  \r\n", Call::String, "s", "key", "", 256, 5, "value\0"s},
    {"TabsAndVerticalTabsTrimmed", "[s]\r\n\tkey\v=\tvalue\t\r\n", Call::String, "s", "key", "", 256, 5, "value\0"s},
    {"BlanksInsideValueKept", "[s]\r\nk=  a  b  \r\n", Call::String, "s", "k", "", 256, 4, "a  b\0"s},
    {"CallNamesLoseSpaces", "[sec]\r\nkey=v\r\n", Call::String, "  sec  ", "  key ", "d", 256, 1, "v\0"s},
    {"CallNamesKeepTabs", "[sec]\r\nkey=v\r\n", Call::String, "\tsec", "key", "d", 256, 1, "d\0"s},
    {"NamesIgnoreCase", "[SeCtIoN]\r\nKeY=v\r\n", Call::String, "section", "KEY", "", 256, 1, "v\0"s},
    // Quotes.
    {"DoubleQuotesStripped", "[s]\r\nk=\"val2\"\r\n", Call::String, "s", "k", "", 256, 4, "val2\0"s},
    {"SingleQuotesStripped", "[s]\r\nk=' x '\r\n", Call::String, "s", "k", "", 256, 3, " x \0"s},
    {"MixedQuotesKept", "[s]\r\nk=\"x'\r\n", Call::String, "s", "k", "", 256, 3, "\"x'\0"s},
    {"CrossedQuotesKept", "[s]\r\nk='\"x'\"\r\n", Call::String, "s", "k", "", 256, 5, "'\"x'\"\0"s},
    {"LoneQuoteKept", "[s]\r\nk=\"\r\n", Call::String, "s", "k", "", 256, 1, "\"\0"s},
    {"EmptyQuotesEmpty", "[s]\r\nk=\"\"\r\n", Call::String, "s", "k", "d", 256, 0, "\0"s},
    {"QuotesStrippedBeforeCut", "[s]\r\nk=\"abcdef\"\r\n", Call::String, "s", "k", "", 4, 3, "abc\0"s},
    // Truncation.
    {"CutToSizeMinusOne", "[s]\r\nk=val1\r\n", Call::String, "s", "k", "", 4, 3, "val\0"s},
    {"ExactFitValue", "[s]\r\nk=val1\r\n", Call::String, "s", "k", "", 5, 4, "val1\0"s},
    {"SizeOneGivesEmpty", "[s]\r\nk=val1\r\n", Call::String, "s", "k", "", 1, 0, "\0"s},
    {"SizeZeroWritesNothing", "[s]\r\nk=val1\r\n", Call::String, "s", "k", "", 0, 0, "#"},
    // Defaults.
    {"MissingKeyGivesDefault", "[s]\r\nk=v\r\n", Call::String, "s", "other", "dflt", 256, 4, "dflt\0"s},
    {"DefaultLosesTrailingSpaces", "", Call::String, "s", "k", "default  ", 256, 7, "default\0"s},
    {"DefaultKeepsLeadingSpaces", "", Call::String, "s", "k", "   default   ", 256, 10, "   default\0"s},
    {"DefaultKeepsTabs", "", Call::String, "s", "k", "\tdefault\t", 256, 9, "\tdefault\t\0"s},
    {"NullDefaultIsEmpty", "", Call::String, "s", "k", nullptr, 256, 0, "\0"s},
    {"DefaultIsCutToo", "", Call::String, "s", "k", "English", 4, 3, "Eng\0"s},
    {"MissingFileGivesDefault", "<missing>", Call::String, "s", "k", "dflt", 256, 4, "dflt\0"s},
    {"EmptyValueIsNotDefault", "[s]\r\nk=\r\n", Call::String, "s", "k", "dflt", 256, 0, "\0"s},
    // Duplicates: the first section and the first key win.
    {"FirstOfDuplicateSections", "[s]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n", Call::String, "s", "k", "", 256, 1, "1\0"s},
    {"KeyOnlyInLaterDuplicate", "[s]\r\nk=1\r\n[s]\r\nj=3\r\n", Call::String, "s", "j", "d", 256, 1, "d\0"s},
    {"FirstOfDuplicateKeys", "[s]\r\nk=1\r\nk=2\r\n", Call::String, "s", "k", "", 256, 1, "1\0"s},
    {"SplitAtFirstEquals", "[s]\r\nk=a=b\r\n", Call::String, "s", "k", "", 256, 3, "a=b\0"s},
    // Comments, lines without `=`, odd headers.
    {"CommentIsNotAKey", "[s]\r\n;k=1\r\n", Call::String, "s", ";k", "d", 256, 1, "d\0"s},
    {"IndentedComment", "[s]\r\n \t;k=1\r\n", Call::String, "s", ";k", "d", 256, 1, "d\0"s},
    {"SemicolonInValueIsData", "[s]\r\nk=a;b\r\n", Call::String, "s", "k", "", 256, 3, "a;b\0"s},
    {"HashIsNotAComment", "[s]\r\n#k=1\r\n", Call::String, "s", "#k", "", 256, 1, "1\0"s},
    {"LineWithoutEqualsNotFound", "[s]\r\nname3\r\n", Call::String, "s", "name3", "d", 256, 1, "d\0"s},
    {"HeaderEndsAtFirstBracket", "[sec]whoops]\r\nk=1\r\n", Call::String, "sec", "k", "", 256, 1, "1\0"s},
    {"TextAfterHeaderIgnored", "[s]k=1\r\n", Call::String, "s", "k", "d", 256, 1, "d\0"s},
    {"BlanksInsideBrackets", "[ \tx\t ]\r\nk=1\r\n", Call::String, "x", "k", "", 256, 1, "1\0"s},
    {"MissingClosingBracket", "[sec   \r\nk=1\r\n", Call::String, "sec", "k", "", 256, 1, "1\0"s},
    {"MissingOpeningBracket", "[a]\r\nsec]\r\nk=1\r\n", Call::String, "sec", "k", "d", 256, 1, "d\0"s},
    {"BracketInsideName", "[[sec]\r\nk=1\r\n", Call::String, "[sec", "k", "", 256, 1, "1\0"s},
    {"EmptySectionName", "[]\r\nk=1\r\n", Call::String, "", "k", "", 256, 1, "1\0"s},
    {"LinesBeforeFirstHeaderUnreachable", "k=1\r\n[s]\r\n", Call::String, "", "k", "d", 256, 1, "d\0"s},
    {"IndentedHeader", "  [s]\r\nk=1\r\n", Call::String, "s", "k", "", 256, 1, "1\0"s},
    // Line ends.
    {"LfOnly", "[s]\nk=1\nj=2\n", Call::String, "s", "j", "", 256, 1, "2\0"s},
    {"CrOnly", "[s]\rk=1\rj=2\r", Call::String, "s", "j", "", 256, 1, "2\0"s},
    {"LastLineWithoutEnd", "[s]\r\nk=last", Call::String, "s", "k", "", 256, 4, "last\0"s},
    {"NulAfterLastLine", "[s]\r\nk=1\r\n\0"s, Call::String, "s", "k", "", 256, 1, "1\0"s},
    {"BlankLinesIgnored", "\r\n\r\n[s]\r\n\r\nk=1\r\n", Call::String, "s", "k", "", 256, 1, "1\0"s},
    // The list forms.
    {"KeyList", kWineContent, Call::String, "section1", nullptr, "", 256, 18, "name1\0name2\0name4\0\0"s},
    {"KeyListCut", "[s]\r\nname1=1\r\nname2=2\r\nname4=4\r\n", Call::String, "s", nullptr, "", 16, 14,
     "name1\0name2\0na\0\0"s},
    {"KeyListExactFitCountsAsCut", "[s]\r\nab=1\r\ncd=2\r\n", Call::String, "s", nullptr, "", 7, 5, "ab\0cd\0\0"s},
    {"KeyListOfMissingSection", kWineContent, Call::String, "none", nullptr, "dflt", 256, 0, "\0\0"s},
    {"KeyListSizeTwo", kWineContent, Call::String, "section1", nullptr, "", 2, 0, "\0\0"s},
    {"KeyListSizeOne", kWineContent, Call::String, "section1", nullptr, "", 1, 0, "\0"s},
    {"KeyListWithDuplicates", "[s]\r\nk=1\r\n;c=2\r\nk=3\r\n", Call::String, "s", nullptr, "", 256, 4, "k\0k\0\0"s},
    {"SectionList", kWineContent, Call::String, nullptr, "name1", "", 256, 18, "section1\0section2\0\0"s},
    {"SectionListCut", kWineContent, Call::String, nullptr, nullptr, "", 16, 14, "section1\0secti\0\0"s},
    {"SectionListOfMissingFile", "<missing>", Call::String, nullptr, nullptr, "", 256, 0, "\0\0"s},
    {"SectionListWithDuplicates", "[a]\r\n[b]\r\n[a]\r\n", Call::String, nullptr, nullptr, "", 256, 6,
     "a\0b\0a\0\0"s},
    // Whole sections.
    {"SectionLines", "[s]\r\nname1=val1\r\n;comment\r\nname2=\r\n  name3  \r\n\r\nname4 = \"v4\" \r\n=val5\r\n",
     Call::Section, "s", nullptr, nullptr, 256, 41, "name1=val1\0name2=\0name3\0name4=\"v4\"\0=val5\0\0"s},
    {"SectionCut", "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n", Call::Section, "s", nullptr, nullptr,
     24, 22, "name1=val1\0name2=\0name\0\0"s},
    {"SectionCutInsideAKey", "[s]\r\nname1=val1\r\n", Call::Section, "s", nullptr, nullptr, 5, 3, "nam\0\0"s},
    {"SectionCutAfterTheEqualsSign", "[s]\r\nname1=val1\r\n", Call::Section, "s", nullptr, nullptr, 8, 6,
     "name1=\0\0"s},
    {"SectionExactFitCountsAsCut", "[s]\r\nab=1\r\n", Call::Section, "s", nullptr, nullptr, 6, 4, "ab=1\0\0"s},
    {"SectionOneByteMoreFits", "[s]\r\nab=1\r\n", Call::Section, "s", nullptr, nullptr, 7, 5, "ab=1\0\0"s},
    {"SectionInABufferOfTwo", "[s]\r\nab=1\r\n", Call::Section, "s", nullptr, nullptr, 2, 0, "\0\0"s},
    {"SectionInABufferOfOne", "[s]\r\nab=1\r\n", Call::Section, "s", nullptr, nullptr, 1, 0, "\0"s},
    {"EmptySection", "[s]\r\n[t]\r\nk=1\r\n", Call::Section, "s", nullptr, nullptr, 256, 0, "\0\0"s},
    {"MissingSection", "[t]\r\nk=1\r\n", Call::Section, "s", nullptr, nullptr, 256, 0, "\0\0"s},
    {"SectionOfFirstDuplicate", "[s]\r\nk=1\r\n[S]\r\nk=2\r\n", Call::Section, " S ", nullptr, nullptr, 256, 4,
     "k=1\0\0"s},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct IntCase {
  const char* value;  // nullptr: the key is missing
  INT fallback;
  UINT expected;
};

TEST(ProfileInt, ParsesAsWindowsDoes) {
  const IntCase cases[] = {
      {nullptr, -1, 4294967295u}, {"-1", 5, 4294967295u}, {"1", 5, 1},          {"+1", 5, 1},
      {"4294967296", 5, 0},       {"4294967297", 5, 1},   {"-4294967297", 5, 4294967295u},
      {"42A94967297", 5, 42},     {"B4294967297", 5, 0},  {"", 7, 7},           {"0x10", 5, 0},
      {"\"5\"", 0, 5},            {"  12  ", 0, 12},      {"102abc", 0, 102},
  };
  CTestMachine machine;
  for (const IntCase& c : cases) {
    machine.Write(kHostFile, c.value ? "[s]\r\nk=" + std::string(c.value) + "\r\n" : "[s]\r\n");
    EXPECT_EQ(GetPrivateProfileIntA("s", "k", c.fallback, kFile), c.expected) << (c.value ? c.value : "(missing)");
  }
  EXPECT_EQ(GetPrivateProfileIntA(nullptr, "k", 9, kFile), 9u);
  EXPECT_EQ(GetPrivateProfileIntA("s", nullptr, 9, kFile), 9u);
}

TEST(ProfileFiles, BareNameIsInWindowsDirectoryNotCurrentDirectory) {
  CTestMachine machine;
  machine.Write("drive_c/Capture/uninst.ini", "[s]\r\nk=here\r\n");
  ASSERT_TRUE(machine.Machine().SetCurrentDirectory("C:\\Capture").IsOk());
  char buffer[32];
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "none", buffer, sizeof buffer, "uninst.ini"), 4u);
  EXPECT_STREQ(buffer, "none");
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "none", buffer, sizeof buffer, ".\\uninst.ini"), 4u);
  EXPECT_STREQ(buffer, "here");
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "none", buffer, sizeof buffer, "C:\\CAPTURE\\UNINST.INI"), 4u);
  EXPECT_STREQ(buffer, "here");
}

TEST(ProfileFiles, EmptyAndNullFileNamesGiveDefault) {
  CTestMachine machine;
  char buffer[32];
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "dflt", buffer, sizeof buffer, ""), 4u);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetPrivateProfileSectionA("s", buffer, sizeof buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(ProfileFiles, ChangedFileIsReadAgain) {
  CTestMachine machine;
  char buffer[32];
  machine.Write(kHostFile, "[s]\r\nk=one\r\n");
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buffer, sizeof buffer, kFile), 3u);
  machine.Write(kHostFile, "[s]\r\nk=three\r\n");  // another size, so the change shows even within a tick
  EXPECT_EQ(GetPrivateProfileStringA("s", "k", "", buffer, sizeof buffer, kFile), 5u);
  EXPECT_STREQ(buffer, "three");
}

}  // namespace
