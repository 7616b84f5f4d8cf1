// The pieces of start-up that read the command line, the texts and the [Packages] lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/Packages.h"
#include "app/Texts.h"
#include "tests/support/TestMachine.h"

namespace {

using namespace std::string_literals;

TEST(CommandLine, PathAndDirectory) {
  struct Case {
    const char* commandLine;
    const char* exePath;
    const char* exeDir;
  };
  const Case cases[] = {
      {"C:\\Capture\\uninst.exe", "C:\\Capture\\uninst.exe", "C:\\Capture"},
      {"\"C:\\Capture\\uninst.exe\"", "C:\\Capture\\uninst.exe", "C:\\Capture"},
      {"\"C:\\Program Files\\Capture\\uninst.exe\" /x", "C:\\Program Files\\Capture\\uninst.exe",
       "C:\\Program Files\\Capture"},
      {"C:\\Capture\\uninst.exe /x", "C:\\Capture\\uninst.exe /x", "C:\\Capture"},
      // A quoted argument: the text ends at the argument's closing quote.
      {"\"C:\\Capture\\uninst.exe\" \"D:\\log\\x\"", "C:\\Capture\\uninst.exe\" \"D:\\log\\x", "C:\\Capture\\uninst.exe\" \"D:\\log"},
      {"uninst.exe", "uninst.exe", ""},
  };
  for (const Case& c : cases) {
    ExeLocation location = ParseCommandLine(c.commandLine);
    EXPECT_EQ(location.exePath, c.exePath) << c.commandLine;
    EXPECT_EQ(location.exeDir, c.exeDir) << c.commandLine;
  }
}

TEST(Packages, LinesFlagsAndLimits) {
  struct Case {
    const char* name;
    std::string buffer;
    std::vector<std::string> names;
    std::vector<bool> checked;
  };
  std::string nine;
  for (int i = 1; i <= 9; ++i) nine += "P" + std::to_string(i) + "=1" + '\0';
  nine += '\0';
  const Case cases[] = {
      {"Flags", "PackageA=1\0PackageB=0\0PackageC=\0\0"s, {"PackageA", "PackageB", "PackageC"}, {true, false, false}},
      {"FirstCharacterCounts", "D1=10\0D2=1x\0D3=2\0D4=yes\0\0"s, {"D1", "D2", "D3", "D4"}, {true, true, false, false}},
      {"LineWithoutEqualsEnds", "A=1\0broken\0B=1\0\0"s, {"A"}, {true}},
      {"SevenAtMost", nine, {"P1", "P2", "P3", "P4", "P5", "P6", "P7"}, std::vector<bool>(7, true)},
      {"Empty", "\0\0"s, {}, {}},
      {"NameEndsAtFirstEquals", "A=B=1\0\0"s, {"A"}, {false}},
  };
  for (const Case& c : cases) {
    std::vector<PackageLine> packages = ParsePackages(c.buffer.data(), c.buffer.size());
    ASSERT_EQ(packages.size(), c.names.size()) << c.name;
    for (size_t i = 0; i < packages.size(); ++i) {
      EXPECT_EQ(packages[i].name, c.names[i]) << c.name;
      EXPECT_EQ(packages[i].checked, c.checked[i]) << c.name << " " << i;
    }
  }
}

TEST(Texts, LookupInTheLanguageSection) {
  CTestMachine machine;
  const std::string longTitle(100, 'T');
  machine.Write("drive_c/Capture/uninst.ini", "[german]\r\nNo selection=Keine Auswahl\r\nOK=\r\nUninstallation title=" +
                                                  longTitle + "\r\n");
  const char* script = "C:\\Capture\\uninst.ini";
  EXPECT_EQ(LoadText("German", script, texts::kNoSelection), "Keine Auswahl");
  EXPECT_EQ(LoadText("German", script, texts::kOk), "") << "present but empty is not the default";
  EXPECT_EQ(LoadText("German", script, texts::kCompleted), "The uninstallation has been completed.");
  EXPECT_EQ(LoadText("Spanish", script, texts::kNoSelection), texts::kNoSelection.defaultText);
  EXPECT_EQ(LoadText("German", script, texts::kTitle, kTitleBufferSize), longTitle.substr(0, 79));
  EXPECT_EQ(LoadText("German", script, texts::kTitle), longTitle);
  EXPECT_EQ(LoadText("German", script, texts::kShutdownLong), "");
}

TEST(Texts, LongTextsAreCutTo255) {
  CTestMachine machine;
  machine.Write("drive_c/Capture/uninst.ini", "[English]\r\nUninstallation description=" + std::string(300, 'd') + "\r\n");
  EXPECT_EQ(LoadText("English", "C:\\Capture\\uninst.ini", texts::kDescription).size(), 255u);
}

}  // namespace
